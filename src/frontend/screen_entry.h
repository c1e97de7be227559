// screen_entry.h: entering a screen from its table: the backdrop, the buttons with their faces,
// labels and fill colours; and dressing a player model in a profile's colours.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/screen_id.h"

struct ImageButton;
struct JpegDecoder;
struct JpegDecoder;
struct MatchPlayer;
struct Model;
struct PakArchive;
struct PlayerProfile;

// What a screen's entry needs to know about the game: the values that pick pictures (court,
// stadium, option values, ladder title, drill caption, laurels), and the shown player and its
// profile, which fill names, level and colour swatches.
struct ScreenEntryContext {
    int32_t stadium = 0;
    int32_t setsToWin = 1;
    int32_t level = 0;
    int32_t soundOff = 0;
    int32_t rankingsPage = 0;
    int32_t practiceDrill = 0;
    int32_t tournamentRound = 0;
    const MatchPlayer* shownPlayer = nullptr;
    const PlayerProfile* shownProfile = nullptr;
};

// Frees the buttons of the screen left behind.
void freeScreenButtons(std::vector<ImageButton*>& buttons);

// Frees the old buttons, decodes the screen's backdrop into `backdrop` (a frame-sized picture)
// and makes its buttons in slot order. Raises FileError for a missing or damaged picture; the
// buttons made until then stay in the list, so the caller's teardown frees them.
void enterScreenFromTable(JpegDecoder* jpeg, uint32_t* backdrop, PakArchive* archive,
                          ScreenId screen, const ScreenEntryContext& context,
                          std::vector<ImageButton*>& buttons);

// Reloads the face of the screen's button in `slot` whose picture depends on a game value (the
// stadium, an option, the ladder, the drill) from the values in context. Raises FileError.
void reloadChosenFace(JpegDecoder* jpeg, PakArchive* archive, ScreenId screen, int slot,
                      ImageButton* button, const ScreenEntryContext& context);

// A profile's colours live on the first object's materials 0..3 of a player model.
constexpr int kSkinMaterial = 0;
constexpr int kColour4Material = 1;
constexpr int kColour3Material = 2;
constexpr int kHairMaterial = 3;

// One material's colour, given as a pixel word (R in the low byte); a material the model lacks is
// left alone.
void setMaterialColour(Model& model, int material, uint32_t colour);
// The profile's skin, clothing and hair colours on materials 0..3.
void setProfileColours(Model& model, const PlayerProfile& profile);

// The start-up look of a figure (the racket light grey, the held ball hidden), then the
// profile's skin, clothing and hair colours on materials 0..3.
void dressPlayerModel(Model& model, const PlayerProfile& profile);
