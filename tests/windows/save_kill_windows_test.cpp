// players.dat survives the process being ended at any moment of a save on Windows: a second copy
// of this program saves over and over and is ended with TerminateProcess, and the next load must
// find the old or a new file, never the defaults.
#include "core/game_random.h"
#include "frontend/profile_store.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr char kSaverVariable[] = "DROVANA_SAVE_FOREVER";
// Set by the saver once its first save is complete: the kill then lands among later saves,
// however slowly the process started.
constexpr wchar_t kFirstSaveEvent[] = L"Local\\drovana-save-kill-first-save";

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

// This program again, running only the saver below with the file and first generation in the
// environment.
HANDLE startSaver(const std::string& path, uint32_t first) {
    const std::string value = path + "|" + std::to_string(first);
    SetEnvironmentVariableA(kSaverVariable, value.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=SaveKill.Saver";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kSaverVariable, nullptr);
    if (!started)
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

TEST(SaveKill, Saver) {
    const char* value = std::getenv(kSaverVariable);
    if (!value)
        GTEST_SKIP() << "runs only when started by the test below";
    const std::string setting = value;
    const size_t bar = setting.rfind('|');
    const std::string path = setting.substr(0, bar);
    HANDLE firstSave = OpenEventW(EVENT_MODIFY_STATE, FALSE, kFirstSaveEvent);
    for (uint32_t generation = std::stoul(setting.substr(bar + 1));; ++generation) {
        if (!saveProfiles(storeAt(path, generation)))
            ExitProcess(3);
        if (firstSave) {
            SetEvent(firstSave);
            CloseHandle(firstSave);
            firstSave = nullptr;
        }
    }
}

TEST(SaveKill, EndingTheProcessAtAnyPointLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string path = dir.file("players.dat");
    ASSERT_TRUE(saveProfiles(storeAt(path, 1)));
    seedGameRandom(14);
    uint32_t lastSeen = 1;
    const HANDLE firstSave = CreateEventW(nullptr, TRUE, FALSE, kFirstSaveEvent);
    ASSERT_NE(firstSave, nullptr);
    for (int round = 0; round < 20; ++round) {
        ResetEvent(firstSave);
        const HANDLE saver = startSaver(path, lastSeen + 1);
        ASSERT_NE(saver, nullptr);
        ASSERT_EQ(WaitForSingleObject(firstSave, 60000), WAIT_OBJECT_0) << "round " << round;
        // A save takes about a millisecond: a few of them, and then the kill inside one.
        Sleep(gameRandom() % 20);
        ASSERT_TRUE(TerminateProcess(saver, 9));
        WaitForSingleObject(saver, INFINITE);
        DWORD status = 0;
        GetExitCodeProcess(saver, &status);
        CloseHandle(saver);
        ASSERT_EQ(status, 9u) << "the saver stopped by itself in round " << round;

        ProfileStore loaded;
        loaded.path = path;
        ASSERT_EQ(loadProfiles(loaded), ProfilesLoad::Loaded) << "round " << round;
        // The first save was complete before the kill: its file or a later one is there.
        ASSERT_GT(generationOf(loaded), lastSeen) << "an older file came back in round " << round;
        lastSeen = generationOf(loaded);
    }
    CloseHandle(firstSave);
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
}

} // namespace
