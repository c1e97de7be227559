// profile_store.cpp: the default profiles, and loading and saving players.dat without ever
// losing the last good file.
#include "frontend/profile_store.h"

#include "platform/folder_sync.h"
#include "platform/user_data_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char kPlayersFileName[] = "players.dat";
constexpr char kDamagedSuffix[] = ".damaged";

enum class ReadResult { Read, Missing, Unusable };

ReadResult readPlayersFile(const std::string& path, PlayersFileBytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unusable;
    const size_t read = std::fread(bytes, 1, kPlayersFileSize, file);
    std::fclose(file);
    return read == kPlayersFileSize ? ReadResult::Read : ReadResult::Unusable;
}

bool copyFileExclusive(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    FILE* out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0)
            close(fd);
        std::fclose(in);
        return false;
    }
    char buffer[4096];
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = std::fwrite(buffer, 1, n, out) == n;
    ok = !std::ferror(in) && ok;
    ok = std::fclose(out) == 0 && ok;
    std::fclose(in);
    if (!ok)
        unlink(to.c_str());
    return ok;
}

enum class DamagedCopy { Kept, EarlierKept, NotKept };

// A second name for the damaged file survives the rename of the defaults over it; an earlier
// damaged copy is never replaced.
DamagedCopy keepDamagedFile(const std::string& path) {
    const std::string kept = path + kDamagedSuffix;
    if (link(path.c_str(), kept.c_str()) == 0)
        return DamagedCopy::Kept;
    if (errno == EEXIST)
        return DamagedCopy::EarlierKept;
    // Without hard links (the browser's file system has none) only a copy keeps it, and a copy
    // that finds the name taken has met an earlier damaged file.
    if (copyFileExclusive(path, kept))
        return DamagedCopy::Kept;
    return access(kept.c_str(), F_OK) == 0 ? DamagedCopy::EarlierKept : DamagedCopy::NotKept;
}

// Told to a player who may never see stderr, so it says what was lost and where the copy is in
// full. Short lines: a desktop's message box does not wrap them.
std::string damagedFileNotice(const std::string& path, DamagedCopy copy) {
    const std::string kept = path + kDamagedSuffix;
    std::string text = "Your players file was damaged:\n" + path +
                       "\n\nThe game starts from the built-in players: your own\n"
                       "profiles, the ladders and the options are back to\n"
                       "their defaults.\n\n";
    switch (copy) {
    case DamagedCopy::Kept:
        text += "The damaged file is kept as\n" + kept;
        break;
    case DamagedCopy::EarlierKept:
        text += "This damaged file is not kept: an earlier one is\nalready kept as\n" + kept +
                "\nand is left as it is.";
        break;
    case DamagedCopy::NotKept:
        text += "The damaged file could not be copied to\n" + kept +
                "\nIt stays as it is until the game next saves.";
        break;
    }
    return text;
}

// The first used slot after `from` in steps of +1, other than `excluded`; `from` when none.
int32_t nextUsedSlot(const PlayerProfile (&profiles)[kProfileSlots], int32_t from,
                     int32_t excluded) {
    int32_t slot = from;
    for (int step = 0; step < kProfileSlots; ++step) {
        slot = (slot + 1) % kProfileSlots;
        if (profileUsed(profiles[slot]) && slot != excluded)
            return slot;
    }
    return from;
}

// The game saves right after deleting a player's profile and only then moves the player on,
// so a file may name an unused slot: move such a player on as the game would have.
void settlePlayerSlots(ProfileStore& store) {
    GameOptions& o = store.options;
    if (!profileUsed(store.profiles[o.player1Profile]))
        o.player1Profile = nextUsedSlot(store.profiles, o.player1Profile, -1);
    if (!profileUsed(store.profiles[o.player2Profile]) || o.player2Profile == o.player1Profile)
        o.player2Profile = nextUsedSlot(store.profiles, o.player2Profile, o.player1Profile);
}

} // namespace

void makeDefaultProfiles(ProfileStore& store) {
    store.options = GameOptions{};
    std::memset(store.profiles, 0, sizeof store.profiles);
    for (int i = 0; i < kDefaultRosterSize; ++i)
        store.profiles[i] = kDefaultRoster[i];
    for (int i = kDefaultRosterSize; i < kProfileSlots; ++i)
        store.profiles[i].level = -1;
}

ProfilesLoad loadProfiles(ProfileStore& store, WideString* notice) {
    PlayersFileBytes bytes;
    const ReadResult read = readPlayersFile(store.path, bytes);
    if (read == ReadResult::Read) {
        GameOptions options;
        PlayerProfile profiles[kProfileSlots];
        if (decodePlayersFile(bytes, options, profiles) && profilesValid(options, profiles)) {
            store.options = options;
            std::memcpy(store.profiles, profiles, sizeof profiles);
            settlePlayerSlots(store);
            return ProfilesLoad::Loaded;
        }
    }
    makeDefaultProfiles(store);
    if (read == ReadResult::Missing) {
        saveProfiles(store);
        return ProfilesLoad::Missing;
    }
    const DamagedCopy copy = keepDamagedFile(store.path);
    if (copy != DamagedCopy::NotKept)
        saveProfiles(store);
    const std::string text = damagedFileNotice(store.path, copy);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (notice)
        *notice = fromUtf8(text);
    return ProfilesLoad::Damaged;
}

bool saveProfiles(const ProfileStore& store) {
    PlayersFileBytes bytes;
    encodePlayersFile(store.options, store.profiles, bytes);
    std::string tempPath = store.path + ".XXXXXX";
    const int fd = mkstemp(tempPath.data());
    if (fd < 0)
        return false;
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(tempPath.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes, 1, kPlayersFileSize, file) == kPlayersFileSize &&
              std::fflush(file) == 0 && fsync(fd) == 0;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(tempPath.c_str(), store.path.c_str()) == 0;
    if (!ok) {
        unlink(tempPath.c_str());
        return false;
    }
    syncFolderOf(store.path);
    return true;
}

std::string defaultPlayersPath() {
    return userDataFolder() + kPlayersFileName;
}
