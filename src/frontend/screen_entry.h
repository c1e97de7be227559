// screen_entry.h: entering a screen from its table: the backdrop, the buttons with their faces,
// labels and fill colours; finding those buttons again by what they do; and dressing a player
// model in a profile's colours.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/screen_id.h"
#include "frontend/screen_tables.h"

struct ImageButton;
struct JpegDecoder;
struct Model;
struct PakArchive;
struct PlayerProfile;

// What a screen's entry needs to know about the game: the values that pick pictures (court,
// stadium, option values, ladder title, drill caption, laurels), and the shown player's profile,
// which fills names, level and colour swatches.
struct ScreenEntryContext {
    int32_t stadium = 0;
    int32_t setsToWin = 1;
    int32_t level = 0;
    int32_t soundOff = 0;
    int32_t rankingsPage = 0;
    int32_t practiceDrill = 0;
    int32_t tournamentRound = 0;
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

// Reloads every face of the screen whose picture depends on a game value (the stadium, an
// option, the ladder, the drill) from the values in context. Raises FileError.
void reloadChosenFaces(JpegDecoder* jpeg, PakArchive* archive, ScreenId screen,
                       const std::vector<ImageButton*>& buttons, const ScreenEntryContext& context);

// The shown player's names and level on the labels that show them, and the buttons hidden for a
// built-in profile hidden or shown again.
void showShownPlayer(ScreenId screen, const ScreenEntryContext& context,
                     const std::vector<ImageButton*>& buttons);

// The button made from the screen's row that does `action` (of that index); null when none.
ImageButton* buttonDoing(ScreenId screen, const std::vector<ImageButton*>& buttons,
                         ButtonAction action, int32_t index = 0);
// The button made from the screen's row that shows `label` (of that index); null when none.
ImageButton* buttonShowing(ScreenId screen, const std::vector<ImageButton*>& buttons,
                           LabelSource label, int32_t index = 0);

// The first button still pressed (face 1) among those with an action goes back to its normal face;
// row is null when none is pressed.
struct ReleasedButton {
    const ButtonLayout* row = nullptr;
    ImageButton* button = nullptr;
};
ReleasedButton releasePressedButton(ScreenId screen, const std::vector<ImageButton*>& buttons);

// Calls f(row, button) for each of the screen's buttons with the table row it was made from.
template <typename F>
void forEachScreenButton(ScreenId screen, const std::vector<ImageButton*>& buttons, F&& f) {
    const ScreenLayout* layout = findScreenLayout(screen);
    for (size_t slot = 0; layout && slot < layout->buttons.size() && slot < buttons.size(); ++slot)
        if (buttons[slot])
            f(layout->buttons[slot], buttons[slot]);
}

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
