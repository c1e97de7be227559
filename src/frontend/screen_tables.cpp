// screen_tables.cpp: the layout of every screen, shared by the game, the data builder and tests.
#include "frontend/screen_tables.h"

#include <array>

const char16_t* const kLevelNames[kLevelCount] = {u"Beginner", u"Amateur", u"Rookie", u"Pro",
                                                  u"Champion"};

namespace {

constexpr FaceImage kNoFace = {nullptr, nullptr};

// Shared button kinds: the same rectangle and faces wherever they appear.
constexpr FaceImage kBack0 = {u"Back0.jpg", u"Button0_m.jpg"};
constexpr FaceImage kBack1 = {u"Back1.jpg", u"Button1_m.jpg"};
constexpr FaceImage kMain0 = {u"Main0.jpg", u"Button0_m.jpg"};
constexpr FaceImage kMain1 = {u"Main1.jpg", u"Button1_m.jpg"};
constexpr FaceImage kNext0 = {u"Next0.jpg", u"Button0_m.jpg"};
constexpr FaceImage kNext1 = {u"Next1.jpg", u"Button1_m.jpg"};
constexpr FaceImage kLeft0 = {u"Left0.jpg", u"Left0_m.jpg"};
constexpr FaceImage kLeft1 = {u"Left1.jpg", u"Left1_m.jpg"};
constexpr FaceImage kRight0 = {u"Right0.jpg", u"Right0_m.jpg"};
constexpr FaceImage kRight1 = {u"Right1.jpg", u"Right1_m.jpg"};
constexpr FaceImage kClose = {u"close.jpg", nullptr};

constexpr ButtonLayout kBack = {.action = ButtonAction::Back,
                                .rect = {4, 292, 44, 28},
                                .faces = {kBack0, kBack1, kNoFace},
                                .startFace = ButtonFace::Normal};
constexpr ButtonLayout kMain = {.action = ButtonAction::Main,
                                .rect = {98, 292, 44, 28},
                                .faces = {kMain0, kMain1, kNoFace},
                                .startFace = ButtonFace::Normal};
constexpr ButtonLayout kNext = {.action = ButtonAction::Next,
                                .rect = {192, 292, 44, 28},
                                .faces = {kNext0, kNext1, kNoFace},
                                .startFace = ButtonFace::Normal};
constexpr ButtonLayout kCloseButton = {.action = ButtonAction::Close,
                                       .rect = {229, 0, 11, 11},
                                       .faces = {kClose, kClose, kNoFace},
                                       .startFace = ButtonFace::Normal};

constexpr ButtonLayout leftArrow(ButtonAction action, int32_t left, int32_t top) {
    return {.action = action,
            .rect = {left, top, 17, 25},
            .faces = {kLeft0, kLeft1, kNoFace},
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout rightArrow(ButtonAction action, int32_t left, int32_t top) {
    return {.action = action,
            .rect = {left, top, 17, 25},
            .faces = {kRight0, kRight1, kNoFace},
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout label(ScreenRect rect, LabelSource source, int32_t index = 0) {
    return {.index = index, .rect = rect, .label = source, .startFace = ButtonFace::Static};
}

// Main menu: the words are in the backdrop, each button shows only while pressed.
constexpr ButtonLayout menuButton(ButtonAction action, int32_t left, int32_t top,
                                  const char16_t* image, const char16_t* mask) {
    return {.action = action,
            .rect = {left, top, 105, 33},
            .faces = {kNoFace, {image, mask}, kNoFace},
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout kMainMenuButtons[] = {
    menuButton(ButtonAction::Exhibition, 128, 131, u"Exhibition.jpg", u"Exhibition_m.jpg"),
    menuButton(ButtonAction::Tournament, 132, 161, u"Tournament.jpg", u"Tournament_m.jpg"),
    menuButton(ButtonAction::Practice, 108, 189, u"Practice.jpg", u"Practice_m.jpg"),
    menuButton(ButtonAction::Rankings, 90, 217, u"Rankings.jpg", u"Rankings_m.jpg"),
    menuButton(ButtonAction::Options, 62, 245, u"Options.jpg", u"Options_m.jpg"),
    menuButton(ButtonAction::Quit, 26, 273, u"Quit.jpg", u"Quit_m.jpg"),
    {.action = ButtonAction::Credits,
     .rect = {170, 292, 68, 23},
     .startFace = ButtonFace::Normal}, // invisible
};

// Player selection.
constexpr ButtonLayout kNewButton = {
    .action = ButtonAction::New,
    .rect = {180, 130, 41, 17},
    .faces = {{u"New0.jpg", u"New0_m.jpg"}, {u"New1.jpg", u"New1_m.jpg"}, kNoFace},
    .startFace = ButtonFace::Normal};
constexpr ButtonLayout kDeleteButton = {
    .action = ButtonAction::Delete,
    .rect = {181, 154, 51, 17},
    .faces = {{u"Delete0.jpg", u"Delete0_m.jpg"}, {u"Delete1.jpg", u"Delete1_m.jpg"}, kNoFace},
    .startFace = ButtonFace::Normal,
    .startRule = StartRule::HiddenWhenBuiltIn};
constexpr ButtonLayout caption(const char16_t* image, const char16_t* mask) {
    return {.rect = {171, 12, 62, 16},
            .faces = {kNoFace, {image, mask}, kNoFace},
            .startFace = ButtonFace::Pressed,
            .startRule = StartRule::Blinks};
}
constexpr ButtonLayout kFirstNameLabel = label({166, 190, 66, 12}, LabelSource::FirstName);
constexpr ButtonLayout kLastNameLabel = label({166, 202, 66, 12}, LabelSource::LastName);
constexpr ButtonLayout kLevelLabel = label({166, 226, 66, 12}, LabelSource::LevelName);
constexpr ButtonLayout kPreviousProfile = leftArrow(ButtonAction::PreviousProfile, 40, 252);
constexpr ButtonLayout kNextProfile = rightArrow(ButtonAction::NextProfile, 140, 252);

constexpr ButtonLayout kExhibitionPlayer1Buttons[] = {
    kNewButton,      kDeleteButton,    kBack,        kMain,
    kNext,           kPreviousProfile, kNextProfile, caption(u"Player_1.jpg", u"Player_1_m.jpg"),
    kFirstNameLabel, kLastNameLabel,   kLevelLabel,
};
constexpr ButtonLayout kExhibitionPlayer2Buttons[] = {
    kNewButton,      kDeleteButton,    kBack,        kMain,
    kNext,           kPreviousProfile, kNextProfile, caption(u"Player_2.jpg", u"Player_2_m.jpg"),
    kFirstNameLabel, kLastNameLabel,   kLevelLabel,
};
constexpr ButtonLayout kTournamentPlayerButtons[] = {
    {.rect = {180, 130, 41, 17},
     .startFace = ButtonFace::Static}, // inert: New and Delete lie here elsewhere
    {.rect = {181, 154, 51, 17}, .startFace = ButtonFace::Static},
    kBack,
    kMain,
    kNext,
    kPreviousProfile,
    kNextProfile,
    kFirstNameLabel,
    kLastNameLabel,
    kLevelLabel,
};
constexpr ButtonLayout kPracticePlayerButtons[] = {
    kNewButton,       kDeleteButton, kBack,           kMain,          kNext,
    kPreviousProfile, kNextProfile,  kFirstNameLabel, kLastNameLabel, kLevelLabel,
};

// Stadium choice.
constexpr FaceImage kStadiumPictures[] = {{u"Stadium1.jpg", nullptr},
                                          {u"Stadium2.jpg", nullptr},
                                          {u"Stadium3.jpg", nullptr},
                                          {u"Stadium4.jpg", nullptr},
                                          {u"Stadium5.jpg", nullptr}};
constexpr FaceChoice kStadiumChoice = {2, FaceSelector::Stadium, 0, kStadiumPictures};
constexpr ButtonLayout kStadiumButtons[] = {
    {.rect = {18, 102, 205, 162}, .choice = &kStadiumChoice, .startFace = ButtonFace::Static},
    kBack,
    kMain,
    kNext,
    leftArrow(ButtonAction::PreviousStadium, 86, 271),
    rightArrow(ButtonAction::NextStadium, 138, 271),
};

// Match display.
constexpr ButtonLayout kPowerMeterFrame = {
    .rect = {90, 2, 61, 12},
    .faces = {kNoFace, kNoFace, {u"powermeter.jpg", u"powermeter_m.jpg"}},
    .startFace = ButtonFace::Static};
constexpr ButtonLayout kPowerMeterBar = {
    .rect = {97, 5, 47, 6}, .fill = FillSource::PowerMeter, .startFace = ButtonFace::Static};
constexpr ButtonLayout kBallSpeed = label({176, 2, 36, 12}, LabelSource::Hud);
constexpr ButtonLayout kMatchButtons[] = {
    {.rect = {2, 2, 60, 31}, // the scoreboard, with the server's ball and the points on it
     .faces = {kNoFace, kNoFace, {u"marcador.jpg", u"marcador_m.jpg"}},
     .startFace = ButtonFace::Static},
    {.rect = {47, 6, 9, 9},
     .faces = {kNoFace, kNoFace, {u"pelota_marcador.jpg", nullptr}},
     .startFace = ButtonFace::Static},
    {.rect = {7, 4, 12, 12},
     .label = LabelSource::Text,
     .text = u" 0",
     .startFace = ButtonFace::Static},
    {.rect = {7, 19, 12, 12},
     .label = LabelSource::Text,
     .text = u" 0",
     .startFace = ButtonFace::Static},
    kPowerMeterFrame,
    kPowerMeterBar,
    kBallSpeed,
    kCloseButton,
};
constexpr const char16_t* kCourtBackdrops[] = {u"Green_Court.jpg", u"RedClay_Court.jpg",
                                               u"Grass_Court.jpg", u"Red_Court.jpg",
                                               u"Blue_Court.jpg"};

// Trophies: laurel k shows once more than its threshold matches were won.
constexpr FaceImage kLaurel[] = {{u"Laurel.jpg", u"Laurel_m.jpg"}};
constexpr FaceChoice laurelAbove(int32_t threshold) {
    return {2, FaceSelector::TournamentRoundAbove, threshold, kLaurel};
}
constexpr FaceChoice kLaurelChoices[] = {laurelAbove(4), laurelAbove(3), laurelAbove(2),
                                         laurelAbove(1), laurelAbove(0)};
constexpr ButtonLayout laurel(int32_t left, int32_t top, int32_t index) {
    return {.rect = {left, top, 43, 28},
            .choice = &kLaurelChoices[index],
            .startFace = ButtonFace::Static};
}
constexpr ButtonLayout kTrophiesButtons[] = {
    kMain,
    laurel(25, 83, 0),
    laurel(39, 119, 1),
    laurel(53, 155, 2),
    laurel(68, 191, 3),
    laurel(88, 228, 4),
};

constexpr ButtonLayout kMainOnly[] = {kMain};
constexpr ButtonLayout kMainAndNext[] = {kMain, kNext};

// Practice.
constexpr FaceImage kDrillCaptions[] = {{u"P_Serve.jpg", u"P_Btn_m.jpg"},
                                        {u"P_Receive.jpg", u"P_Btn_m.jpg"},
                                        {u"P_Base.jpg", u"P_Btn_m.jpg"},
                                        {u"P_Net.jpg", u"P_Btn_m.jpg"}};
constexpr FaceChoice kDrillChoice = {2, FaceSelector::PracticeDrill, 0, kDrillCaptions};
constexpr FaceImage kPracticeLeft = {u"P_Left.jpg", u"P_Left_m.jpg"};
constexpr FaceImage kPracticeRight = {u"P_Right.jpg", u"P_Right_m.jpg"};
constexpr ButtonLayout kPracticeButtons[] = {
    {.action = ButtonAction::PreviousDrill,
     .rect = {2, 2, 10, 12},
     .faces = {kPracticeLeft, kPracticeLeft, kNoFace},
     .startFace = ButtonFace::Normal},
    {.rect = {16, 1, 60, 15}, .choice = &kDrillChoice, .startFace = ButtonFace::Static},
    {.action = ButtonAction::NextDrill,
     .rect = {78, 2, 10, 12},
     .faces = {kPracticeRight, kPracticeRight, kNoFace},
     .startFace = ButtonFace::Normal},
    kCloseButton,
    kPowerMeterFrame,
    kPowerMeterBar,
    kBallSpeed,
};

// Profile editor: each skill row is two tap areas, the left half takes a point, the right gives.
constexpr FaceImage kKeyboard = {u"Teclado.jpg", u"Teclado_m.jpg"};
constexpr ButtonLayout swatch(ButtonAction action, int32_t left, int32_t top, FillSource fill) {
    return {.action = action,
            .rect = {left, top, 10, 10},
            .fill = fill,
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout skillHalf(int32_t row, bool give) {
    return {.action = give ? ButtonAction::GivePoint : ButtonAction::TakePoint,
            .index = row,
            .rect = {kSkillBarLeft + (give ? 40 : 0), kSkillRowTop + kSkillRowStep * row, 40, 7},
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout kNewPlayerButtons[] = {
    {.action = ButtonAction::EditFirstName,
     .rect = {4, 84, 66, 12},
     .label = LabelSource::FirstName,
     .startFace = ButtonFace::Normal},
    {.action = ButtonAction::EditLastName,
     .rect = {4, 98, 66, 12},
     .label = LabelSource::LastName,
     .startFace = ButtonFace::Normal},
    {.action = ButtonAction::Cancel,
     .rect = {4, 292, 44, 28},
     .faces = {{u"Cancel0.jpg", u"Button0_m.jpg"}, {u"Cancel1.jpg", u"Button1_m.jpg"}, kNoFace},
     .startFace = ButtonFace::Normal},
    {.action = ButtonAction::Ok,
     .rect = {192, 292, 44, 28},
     .faces = {{u"Ok0.jpg", u"Button0_m.jpg"}, {u"Ok1.jpg", u"Button1_m.jpg"}, kNoFace},
     .startFace = ButtonFace::Normal},
    {.action = ButtonAction::TypeKey,
     .rect = {2, 98, 238, 116},
     .faces = {kKeyboard, kKeyboard, kNoFace},
     .startFace = ButtonFace::Static},
    swatch(ButtonAction::NextSkinColour, 177, 90, FillSource::SkinColour),
    swatch(ButtonAction::NextHairColour, 188, 110, FillSource::HairColour),
    swatch(ButtonAction::NextColour3, 188, 130, FillSource::Colour3),
    swatch(ButtonAction::NextColour4, 177, 150, FillSource::Colour4),
    skillHalf(0, false),
    skillHalf(0, true),
    skillHalf(1, false),
    skillHalf(1, true),
    skillHalf(2, false),
    skillHalf(2, true),
    skillHalf(3, false),
    skillHalf(3, true),
    skillHalf(4, false),
    skillHalf(4, true),
    skillHalf(5, false),
    skillHalf(5, true),
    skillHalf(6, false),
    skillHalf(6, true),
    skillHalf(7, false),
    skillHalf(7, true),
};

// Rankings: the ladder slants; the tenth row lies only 11 pixels under the ninth.
constexpr FaceImage kLadderTitles[] = {{u"R_Beginner.jpg", u"R_Beginner_m.jpg"},
                                       {u"R_Amateur.jpg", u"R_Amateur_m.jpg"},
                                       {u"R_Rookie.jpg", u"R_Rookie_m.jpg"},
                                       {u"R_Pro.jpg", u"R_Pro_m.jpg"},
                                       {u"R_Champion.jpg", u"R_Champion_m.jpg"}};
constexpr FaceChoice kLadderTitleChoice = {2, FaceSelector::RankingsPage, 0, kLadderTitles};
constexpr FaceImage kRankingsLeft = {u"R_Left.jpg", u"R_Left_m.jpg"};
constexpr FaceImage kRankingsRight = {u"R_Right.jpg", u"R_Right_m.jpg"};
constexpr ButtonLayout rankRow(int32_t rank, int32_t left, int32_t top) {
    return label({left, top, 138, 12}, LabelSource::RankRow, rank);
}
constexpr ButtonLayout kRankingsButtons[] = {
    {.action = ButtonAction::PreviousLadder,
     .rect = {141, 12, 12, 14},
     .faces = {kRankingsLeft, kRankingsLeft, kNoFace},
     .startFace = ButtonFace::Normal},
    {.rect = {156, 13, 68, 14}, .choice = &kLadderTitleChoice, .startFace = ButtonFace::Static},
    {.action = ButtonAction::NextLadder,
     .rect = {228, 12, 12, 14},
     .faces = {kRankingsRight, kRankingsRight, kNoFace},
     .startFace = ButtonFace::Normal},
    kMain,
    rankRow(0, 26, 79),
    rankRow(1, 33, 99),
    rankRow(2, 40, 119),
    rankRow(3, 48, 139),
    rankRow(4, 55, 159),
    rankRow(5, 62, 179),
    rankRow(6, 70, 199),
    rankRow(7, 77, 219),
    rankRow(8, 84, 239),
    rankRow(9, 92, 250),
};

// Options: the arrows have faces of their own over the shared arrow masks.
constexpr FaceImage kSetsValues[] = {{u"O_1set.jpg", u"O_1set_m.jpg"},
                                     {u"O_2sets.jpg", u"O_2sets_m.jpg"},
                                     {u"O_3sets.jpg", u"O_3sets_m.jpg"}};
constexpr FaceImage kLevelValues[] = {{u"O_Beginner.jpg", u"O_Beginner_m.jpg"},
                                      {u"O_Amateur.jpg", u"O_Amateur_m.jpg"},
                                      {u"O_Rookie.jpg", u"O_Rookie_m.jpg"},
                                      {u"O_Pro.jpg", u"O_Pro_m.jpg"},
                                      {u"O_Champion.jpg", u"O_Champion_m.jpg"}};
constexpr FaceImage kSoundValues[] = {{u"O_On.jpg", u"O_On_m.jpg"}, {u"O_Off.jpg", u"O_Off_m.jpg"}};
constexpr FaceChoice kSetsChoice = {2, FaceSelector::SetsToWin, 0, kSetsValues};
constexpr FaceChoice kLevelChoice = {2, FaceSelector::Level, 0, kLevelValues};
constexpr FaceChoice kSoundChoice = {2, FaceSelector::SoundOff, 0, kSoundValues};
constexpr ButtonLayout optionLeft(ButtonAction action, int32_t left, int32_t top) {
    return {.action = action,
            .rect = {left, top, 17, 25},
            .faces = {{u"O_Left0.jpg", u"Left0_m.jpg"}, {u"O_Left1.jpg", u"Left1_m.jpg"}, kNoFace},
            .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout optionRight(ButtonAction action, int32_t left, int32_t top) {
    return {
        .action = action,
        .rect = {left, top, 17, 25},
        .faces = {{u"O_Right0.jpg", u"Right0_m.jpg"}, {u"O_Right1.jpg", u"Right1_m.jpg"}, kNoFace},
        .startFace = ButtonFace::Normal};
}
constexpr ButtonLayout kOptionsButtons[] = {
    optionLeft(ButtonAction::FewerSets, 77, 116),
    {.rect = {97, 121, 38, 15}, .choice = &kSetsChoice, .startFace = ButtonFace::Static},
    optionRight(ButtonAction::MoreSets, 138, 116),
    optionLeft(ButtonAction::LowerLevel, 91, 177),
    {.rect = {110, 183, 61, 15}, .choice = &kLevelChoice, .startFace = ButtonFace::Static},
    optionRight(ButtonAction::HigherLevel, 173, 177),
    {.rect = {149, 246, 21, 13}, .choice = &kSoundChoice, .startFace = ButtonFace::Static},
    optionRight(ButtonAction::SoundToggle, 173, 238),
    kMain,
};

// The statistics page: Back returns to the result picture, Main and Next go on as its buttons
// do (the game hides Next after an exhibition, whose result has none).
constexpr ButtonLayout kStatisticsButtons[] = {
    kBack,
    kMain,
    kNext,
    {.action = ButtonAction::WatchAgain,
     .rect = {150, 9, 86, 22},
     .faces = {{u"Watch0.jpg", u"Watch0_m.jpg"}, {u"Watch1.jpg", u"Watch1_m.jpg"}, kNoFace},
     .startFace = ButtonFace::Normal},
};

constexpr std::span<const char16_t* const> kNoBackdrops{};

constexpr ScreenLayout screen(ScreenId id, const char16_t* backdrop,
                              std::span<const ButtonLayout> buttons) {
    return {id, backdrop, kNoBackdrops, buttons};
}

constexpr ScreenLayout kScreens[] = {
    screen(Logo, u"Logo.jpg", {}),
    screen(MainMenu, u"Main.jpg", kMainMenuButtons),
    screen(Credits, u"Credits.jpg", {}),
    screen(ExhibitionPlayer1, u"Sel_Player.jpg", kExhibitionPlayer1Buttons),
    screen(ExhibitionPlayer2, u"Sel_Player.jpg", kExhibitionPlayer2Buttons),
    screen(ExhibitionStadium, u"Stadium.jpg", kStadiumButtons),
    {ExhibitionMatch, nullptr, kCourtBackdrops, kMatchButtons},
    screen(TournamentPlayer, u"Sel_Player.jpg", kTournamentPlayerButtons),
    screen(TournamentStadium, u"Stadium.jpg", kStadiumButtons),
    {TournamentMatch, nullptr, kCourtBackdrops, kMatchButtons},
    screen(Trophies, u"Trophies.jpg", kTrophiesButtons),
    screen(ExhibitionWon, u"Win.jpg", kMainOnly),
    screen(TournamentRoundWon, u"Win.jpg", kMainAndNext),
    screen(ExhibitionLost, u"Lose.jpg", kMainOnly),
    screen(TournamentLost, u"Lose.jpg", kMainAndNext),
    screen(TournamentChampion, u"Champion.jpg", kMainAndNext),
    screen(PracticePlayer, u"Sel_Player.jpg", kPracticePlayerButtons),
    // Practice is always played on the green court, whatever the stadium option says.
    screen(Practice, u"Green_Court.jpg", kPracticeButtons),
    screen(NewPlayer, u"NewPlayer.jpg", kNewPlayerButtons),
    screen(Rankings, u"Rankings.jpg", kRankingsButtons),
    screen(Options, u"Options.jpg", kOptionsButtons),
    screen(Statistics, u"Statistics.jpg", kStatisticsButtons),
};
static_assert(std::size(kScreens) == kLastScreen, "one entry per screen, in id order");

constexpr bool screensInIdOrderWithinTheButtonLimit() {
    for (int32_t i = 0; i < kLastScreen; ++i)
        if (kScreens[i].id != i + 1 || kScreens[i].buttons.size() > kMaxScreenButtons)
            return false;
    return true;
}
static_assert(screensInIdOrderWithinTheButtonLimit());

template <typename Match> int32_t firstSlot(ScreenId screen, Match&& match) {
    const ScreenLayout* layout = findScreenLayout(screen);
    for (size_t slot = 0; layout && slot < layout->buttons.size(); ++slot)
        if (match(layout->buttons[slot]))
            return static_cast<int32_t>(slot);
    return -1;
}

} // namespace

const ScreenLayout* findScreenLayout(int32_t id) {
    if (id < kFirstScreen || id > kLastScreen)
        return nullptr;
    return &kScreens[id - 1];
}

std::span<const ScreenLayout> allScreenLayouts() {
    return kScreens;
}

int32_t slotDoing(ScreenId screen, ButtonAction action, int32_t index) {
    return firstSlot(screen,
                     [&](const ButtonLayout& b) { return b.action == action && b.index == index; });
}

int32_t slotShowing(ScreenId screen, LabelSource label, int32_t index) {
    return firstSlot(screen,
                     [&](const ButtonLayout& b) { return b.label == label && b.index == index; });
}
