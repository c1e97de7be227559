// players.dat survives the process being killed at any moment of a save: a child saves over and
// over and is killed with SIGKILL, and the next load must find the old or a new file, never the
// defaults.
#include "core/game_random.h"
#include "frontend/profile_store.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The save's generation rides in a value nothing checks: player 1's hair colour.
uint32_t generationOf(const ProfileStore& store) {
    return store.profiles[0].hairColour;
}

ProfileStore storeAt(const std::string& path, uint32_t generation) {
    ProfileStore store;
    makeDefaultProfiles(store);
    store.path = path;
    store.profiles[0].hairColour = generation;
    return store;
}

// Saves generations from `first` on until killed.
[[noreturn]] void saveForever(const std::string& path, uint32_t first) {
    for (uint32_t generation = first;; ++generation)
        if (!saveProfiles(storeAt(path, generation)))
            _exit(3);
}

TEST(SaveCrash, AKillAtAnyPointLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string path = dir.file("players.dat");
    ASSERT_TRUE(saveProfiles(storeAt(path, 1)));
    seedGameRandom(14);
    uint32_t lastSeen = 1;
    int advanced = 0;
    for (int round = 0; round < 100; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(path, lastSeen + 1);
        usleep(static_cast<useconds_t>(gameRandom() % 30000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself in round " << round;

        ProfileStore loaded;
        loaded.path = path;
        ASSERT_EQ(loadProfiles(loaded), ProfilesLoad::Loaded) << "round " << round;
        ASSERT_GE(generationOf(loaded), lastSeen) << "an older file came back in round " << round;
        advanced += generationOf(loaded) > lastSeen ? 1 : 0;
        lastSeen = generationOf(loaded);
    }
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    // Most kills land after some saves finished; a killed save may leave its temporary file.
    EXPECT_GT(advanced, 20);
    const std::vector<std::string> names = dir.names();
    const int interrupted =
        static_cast<int>(std::count_if(names.begin(), names.end(), [](const std::string& n) {
            return n.rfind("players.dat.", 0) == 0;
        }));
    RecordProperty("interrupted_saves", interrupted);
    std::printf("%d of 100 rounds found a newer file; %d kills landed inside a save\n", advanced,
                interrupted);
}

} // namespace
