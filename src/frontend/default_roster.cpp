// default_roster.cpp: the five built-in profiles, one computer player per level.
#include "frontend/player_profile.h"

namespace {

constexpr uint32_t skin(int i) {
    return kProfilePalette[kSkinPalette + i];
}
constexpr uint32_t hair(int i) {
    return kProfilePalette[kHairPalette + i];
}
constexpr uint32_t clothing(int i) {
    return kProfilePalette[kClothingPalette + i];
}

// Ground strokes, volley, smash and lob share one value; the serves have their own.
constexpr PlayerProfile builtIn(const char16_t* first, const char16_t* last, int level, int rank,
                                Fixed runSpeed, Fixed strokes, Fixed firstServe, Fixed secondServe,
                                uint32_t skinColour, uint32_t hairColour, uint32_t colour3,
                                uint32_t colour4) {
    PlayerProfile p{};
    for (int i = 0; i < kProfileNameLength - 1 && first[i]; ++i)
        p.firstName[i] = first[i];
    for (int i = 0; i < kProfileNameLength - 1 && last[i]; ++i)
        p.lastName[i] = last[i];
    p.level = level;
    for (int& r : p.rank)
        r = rank;
    p.builtIn = 1;
    p.skills = {.runSpeed = runSpeed,
                .forehand = strokes,
                .backhand = strokes,
                .firstServe = firstServe,
                .secondServe = secondServe,
                .volley = strokes,
                .smash = strokes,
                .lob = strokes};
    p.skinColour = skinColour;
    p.hairColour = hairColour;
    p.colour3 = colour3;
    p.colour4 = colour4;
    return p;
}

} // namespace

const PlayerProfile kDefaultRoster[kDefaultRosterSize] = {
    builtIn(u"Bramwel", u"Ostrand", 0, 4, 0x40000, 0x9999, 0xA8F5, 0xAB85, skin(0), hair(0),
            clothing(0), clothing(1)),
    builtIn(u"Teodric", u"Valmosca", 1, 3, 0x44CCC, 0xAE14, 0xBAE1, 0xBD70, skin(1), hair(1),
            clothing(1), clothing(2)),
    builtIn(u"Corin", u"Lefaur", 2, 2, 0x49999, 0xC000, 0xCCCC, 0xD1EB, skin(0), hair(2),
            clothing(2), clothing(3)),
    builtIn(u"Ivor", u"Quintaner", 3, 1, 0x4E666, 0xD999, 0xDEB8, 0xE3D7, skin(0), hair(1),
            clothing(3), clothing(0)),
    builtIn(u"Osmund", u"Vex", 4, 0, 0x58000, 0xF333, 0xF333, 0xF851, skin(2), hair(1), clothing(2),
            clothing(1)),
};
