// screen_tables.h: every screen's backdrop and buttons (rectangles, faces, labels) as plain data.
#pragma once

#include <cstdint>
#include <span>

#include "assets/image_button.h"
#include "frontend/game_options.h"
#include "frontend/screen_id.h"
#include "match/match_player.h" // kSkillCount

// Left, top, width, height in screen pixels; hit tests are half-open.
struct ScreenRect {
    int32_t left, top, width, height;
};

// A picture below the button folder and its grey-scale mask; a null mask leaves the face opaque.
struct FaceImage {
    const char16_t* image;
    const char16_t* mask;
};

// The game value that picks one of a button's alternative pictures.
enum class FaceSelector : uint8_t {
    Stadium,              // option 0..4
    SetsToWin,            // option 1..3, picture setsToWin - 1
    Level,                // option 0..4
    SoundOff,             // option 0 (on) or 1 (off)
    RankingsPage,         // ladder 0..4 shown on the rankings screen
    PracticeDrill,        // drill 0..3
    TournamentRoundAbove, // the one picture, loaded only while tournamentRound > threshold
};

// A face whose picture depends on a game value; the other faces of the button stay as listed.
struct FaceChoice {
    int32_t face; // 0..2
    FaceSelector selector;
    int32_t threshold; // TournamentRoundAbove only
    std::span<const FaceImage> images;
};

// Text a button shows instead of its faces.
enum class LabelSource : uint8_t {
    None,
    Text,      // the fixed text of the table
    FirstName, // of the player the screen shows (or the profile being edited)
    LastName,
    LevelName, // of the shown player's level
    RankRow,   // written by the rankings page
    Hud,       // written by the match display every frame
};

// Where a plain-rectangle colour comes from (face 0 for swatches, face 2 for the power bar).
enum class FillSource : uint8_t {
    None,
    SkinColour,
    HairColour,
    Colour3,
    Colour4,
    PowerMeter,
};

// How the start face is chosen, and whether the game changes it while the screen shows.
enum class StartRule : uint8_t {
    StartFace,         // startFace
    HiddenWhenBuiltIn, // Static when the shown profile is built in, else startFace
    Blinks,            // startFace, then shown and hidden in turn a quarter second each
};

// What releasing a button does. Pictures, labels and the match display take no taps: None.
// A new button is one row in its screen's table; a new action also needs its case in the
// stylus dispatch (app/stylus_handling.cpp).
enum class ButtonAction : uint8_t {
    None,
    Back, // to the screen before, which depends on the screen
    Main, // to the main menu
    Next, // on to the screen after, which depends on the screen
    // The main menu.
    Exhibition,
    Tournament,
    Practice,
    Rankings,
    Options,
    Quit,
    Credits,
    // Player selection.
    New,
    Delete,
    PreviousProfile,
    NextProfile,
    // The stadium choice.
    PreviousStadium,
    NextStadium,
    // The play screens.
    Close,
    PreviousDrill,
    NextDrill,
    // Rankings.
    PreviousLadder,
    NextLadder,
    // Options.
    FewerSets,
    MoreSets,
    LowerLevel,
    HigherLevel,
    SoundToggle,
    // The profile editor.
    EditFirstName,
    EditLastName,
    Cancel,
    Ok,
    TypeKey,
    NextSkinColour,
    NextHairColour,
    NextColour3,
    NextColour4,
    TakePoint, // from the skill of the row's index
    GivePoint,
    // The statistics page.
    WatchAgain, // the match just played, from its start
};

struct ButtonLayout {
    ButtonAction action = ButtonAction::None;
    int32_t index = 0; // which of several alike rows: a point button's skill, a ladder row's rank
    ScreenRect rect = {};
    FaceImage faces[3] = {}; // null image: nothing loaded into that face
    const FaceChoice* choice = nullptr;
    LabelSource label = LabelSource::None;
    const char16_t* text = nullptr; // LabelSource::Text only
    FillSource fill = FillSource::None;
    ButtonFace startFace = ButtonFace::Normal;
    StartRule startRule = StartRule::StartFace;
};

struct ScreenLayout {
    ScreenId id;
    const char16_t* backdrop; // below the data folder; null when picked by stadium
    std::span<const char16_t* const> backdropByStadium;
    std::span<const ButtonLayout> buttons;
};

constexpr int32_t kMaxScreenButtons = 25;
extern const char16_t* const kLevelNames[kLevelCount];

// Skill rows of the profile editor: the game draws up to ten 7 x 7 points per row.
constexpr int32_t kSkillRows = kSkillCount;
constexpr int32_t kSkillMaxPoints = 10;
constexpr int32_t kSkillBarLeft = 151;
constexpr int32_t kSkillPointStep = 8;
constexpr int32_t kSkillPointSize = 7;
constexpr int32_t kSkillRowTop = 191;
constexpr int32_t kSkillRowStep = 12;

// Ladder rows of the rankings screen, rank 0 first.
constexpr int32_t kRankingRows = 10;

// The screen with id kFirstScreen..kLastScreen; every other id has no entry.
const ScreenLayout* findScreenLayout(int32_t id);
std::span<const ScreenLayout> allScreenLayouts();

// The slot of the screen's first row that does `action` (of that index), or -1.
int32_t slotDoing(ScreenId screen, ButtonAction action, int32_t index = 0);
// The slot of the screen's first row that shows `label` (of that index), or -1.
int32_t slotShowing(ScreenId screen, LabelSource label, int32_t index = 0);

// The pictures a screen may need at its entry or later (every alternative), as visited by f.
template <typename F> void forEachFaceImage(const ButtonLayout& button, F&& f) {
    for (const FaceImage& face : button.faces)
        if (face.image)
            f(face);
    if (button.choice)
        for (const FaceImage& face : button.choice->images)
            f(face);
}
