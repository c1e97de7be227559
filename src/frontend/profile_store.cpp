// profile_store.cpp: the default profiles, and loading and saving players.dat without ever
// losing the last good file.
#include "frontend/profile_store.h"

#include "platform/file_replace.h"
#include "platform/folder_sync.h"
#include "platform/user_data_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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

enum class DamagedCopy { Kept, EarlierKept, NotKept };

// A second name for the damaged file survives the rename of the defaults over it; an earlier
// damaged copy is never replaced.
DamagedCopy keepDamagedFile(const std::string& path) {
    switch (keepUnderSecondName(path, path + kDamagedSuffix)) {
    case SecondName::Kept:
        return DamagedCopy::Kept;
    case SecondName::AlreadyTaken:
        return DamagedCopy::EarlierKept;
    case SecondName::Failed:
        break;
    }
    return DamagedCopy::NotKept;
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
    if (!replaceFileWith(store.path, bytes, kPlayersFileSize))
        return false;
    syncFolderOf(store.path);
    return true;
}

std::string defaultPlayersPath() {
    return userDataFolder() + kPlayersFileName;
}
