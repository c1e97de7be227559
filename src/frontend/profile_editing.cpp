// profile_editing.cpp: making, deleting and stepping through profiles.
#include "frontend/profile_store.h"

#include "frontend/screen_tables.h" // kLevelCount, kStadiumCount

#include <algorithm>

namespace {

void setName(char16_t (&field)[kProfileNameLength], const char16_t* text) {
    std::fill(std::begin(field), std::end(field), u'\0');
    for (int i = 0; i < kProfileNameLength - 1 && text[i] != 0; ++i)
        field[i] = text[i];
}

int32_t firstUnusedSlot(const ProfileStore& store) {
    for (int32_t slot = 0; slot < kProfileSlots; ++slot)
        if (!profileUsed(store.profiles[slot]))
            return slot;
    return -1;
}

// One below the lowest used place, so a new profile starts at the bottom of the ladder.
int32_t bottomRank(const ProfileStore& store, int ladder) {
    int32_t lowest = -1;
    for (const PlayerProfile& p : store.profiles)
        if (profileUsed(p))
            lowest = std::max(lowest, p.rank[ladder]);
    return lowest + 1;
}

int32_t wrapSlot(int32_t slot) {
    if (slot < 0)
        return kProfileSlots - 1;
    if (slot >= kProfileSlots)
        return 0;
    return slot;
}

// Ten steps visit every slot once, so the search ends even in a store with no fitting slot;
// then `from` is returned.
int32_t stepToUsedSlot(const ProfileStore& store, int32_t from, int delta, int32_t excluded) {
    int32_t slot = from;
    for (int step = 0; step < kProfileSlots; ++step) {
        slot = wrapSlot(slot + delta);
        if (profileUsed(store.profiles[slot]) && slot != excluded)
            return slot;
    }
    return from;
}

} // namespace

int32_t createProfile(ProfileStore& store) {
    const int32_t slot = firstUnusedSlot(store);
    if (slot < 0)
        return -1;
    PlayerProfile& p = store.profiles[slot];
    int32_t ranks[kLevelCount];
    for (int ladder = 0; ladder < kLevelCount; ++ladder)
        ranks[ladder] = bottomRank(store, ladder);

    p = PlayerProfile{};
    setName(p.firstName, u"New");
    setName(p.lastName, u"Player");
    p.level = -1; // used only once the editor confirms it
    p.builtIn = 0;
    SkillPoints points;
    std::fill(std::begin(points), std::end(points), kStartingSkillPoints);
    p.skills = skillsFromPoints(points);
    p.skinColour = kProfilePalette[kSkinPalette + 0];
    p.hairColour = kProfilePalette[kHairPalette + 0];
    p.colour3 = kProfilePalette[kClothingPalette + 0];
    p.colour4 = kProfilePalette[kClothingPalette + 1];
    std::copy(std::begin(ranks), std::end(ranks), p.rank);
    return slot;
}

bool deleteProfile(ProfileStore& store, int32_t index) {
    if (index < 0 || index >= kProfileSlots)
        return false;
    PlayerProfile& gone = store.profiles[index];
    // An unused slot holds no place on the ladders: closing its stale places would put two
    // profiles on one place.
    if (gone.builtIn || !profileUsed(gone))
        return false;
    gone.level = -1;
    for (int ladder = 0; ladder < kLevelCount; ++ladder)
        for (PlayerProfile& p : store.profiles)
            if (profileUsed(p) && p.rank[ladder] > gone.rank[ladder])
                p.rank[ladder] -= 1;
    saveProfiles(store);
    return true;
}

int cycleProfile(ProfileStore& store, int which, int delta) {
    GameOptions& o = store.options;
    int changed = 0;
    if (which == 1) {
        const int32_t slot = stepToUsedSlot(store, o.player1Profile, delta, -1);
        if (slot != o.player1Profile) {
            o.player1Profile = slot;
            changed |= kPlayer1Changed;
        }
        if (o.player2Profile == o.player1Profile) {
            o.player2Profile = stepToUsedSlot(store, o.player2Profile, +1, o.player1Profile);
            if (o.player2Profile != o.player1Profile)
                changed |= kPlayer2Changed;
        }
    } else if (which == 2) {
        const int32_t slot = stepToUsedSlot(store, o.player2Profile, delta, o.player1Profile);
        if (slot != o.player2Profile) {
            o.player2Profile = slot;
            changed |= kPlayer2Changed;
        }
    }
    return changed;
}
