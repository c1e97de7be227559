// fuzz_players_file.cpp: any bytes as players.dat. The checksum is public, so the target signs
// most inputs as a forger would and the checks behind it are what is fuzzed; a file that passes
// them is loaded for real and the players are cycled through it.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "frontend/players_file.h"
#include "frontend/profile_store.h"

namespace {

void signBytes(PlayersFileBytes& bytes) {
    GameOptions options;
    PlayerProfile profiles[kProfileSlots];
    std::memcpy(&options, bytes + kPlayersOptionsOffset, sizeof options);
    std::memcpy(profiles, bytes + kPlayersRecordsOffset, sizeof profiles);
    const double checksum = profileChecksum(options, profiles);
    std::memcpy(bytes + kPlayersChecksumOffset, &checksum, sizeof checksum);
}

std::string playersPath() {
    static const std::string path =
        "/dev/shm/drovana-fuzz-players-" + std::to_string(getpid()) + ".dat";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlayersFileBytes bytes = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    // Inputs of the file's own length keep their checksum, so its check is fuzzed too.
    if (size != kPlayersFileSize)
        signBytes(bytes);
    GameOptions options;
    PlayerProfile profiles[kProfileSlots];
    if (!decodePlayersFile(bytes, options, profiles) || !profilesValid(options, profiles))
        return 0;
    ProfileStore store;
    store.path = playersPath();
    FILE* file = std::fopen(store.path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (loadProfiles(store) != ProfilesLoad::Loaded)
        __builtin_trap(); // the checks passed: the game must take the file as it is
    for (int step = 0; step < 12; ++step)
        cycleProfile(store, 1 + step % 2, step % 3 == 0 ? -1 : 1);
    unlink(store.path.c_str());
    return 0;
}
