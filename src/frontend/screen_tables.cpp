// screen_tables.cpp: the layout of all 21 screens, shared by the game, the data builder and tests.
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

constexpr ButtonLayout kBack = {
    .role = "Back", .rect = {4, 292, 44, 28}, .faces = {kBack0, kBack1, kNoFace}, .startFace = 0};
constexpr ButtonLayout kMain = {
    .role = "Main", .rect = {98, 292, 44, 28}, .faces = {kMain0, kMain1, kNoFace}, .startFace = 0};
constexpr ButtonLayout kNext = {
    .role = "Next", .rect = {192, 292, 44, 28}, .faces = {kNext0, kNext1, kNoFace}, .startFace = 0};
constexpr ButtonLayout kCloseButton = {
    .role = "close", .rect = {229, 0, 11, 11}, .faces = {kClose, kClose, kNoFace}, .startFace = 0};

constexpr ButtonLayout leftArrow(int32_t left, int32_t top) {
    return {.role = "left arrow",
            .rect = {left, top, 17, 25},
            .faces = {kLeft0, kLeft1, kNoFace},
            .startFace = 0};
}
constexpr ButtonLayout rightArrow(int32_t left, int32_t top) {
    return {.role = "right arrow",
            .rect = {left, top, 17, 25},
            .faces = {kRight0, kRight1, kNoFace},
            .startFace = 0};
}
constexpr ButtonLayout label(const char* role, ScreenRect rect, LabelSource source) {
    return {.role = role, .rect = rect, .label = source, .startFace = 2};
}

// Main menu: the words are in the backdrop, each button shows only while pressed.
constexpr ButtonLayout menuButton(const char* role, int32_t left, int32_t top,
                                  const char16_t* image, const char16_t* mask) {
    return {.role = role,
            .rect = {left, top, 105, 33},
            .faces = {kNoFace, {image, mask}, kNoFace},
            .startFace = 0};
}
constexpr ButtonLayout kMainMenuButtons[] = {
    menuButton("Exhibition", 128, 131, u"Exhibition.jpg", u"Exhibition_m.jpg"),
    menuButton("Tournament", 132, 161, u"Tournament.jpg", u"Tournament_m.jpg"),
    menuButton("Practice", 108, 189, u"Practice.jpg", u"Practice_m.jpg"),
    menuButton("Rankings", 90, 217, u"Rankings.jpg", u"Rankings_m.jpg"),
    menuButton("Options", 62, 245, u"Options.jpg", u"Options_m.jpg"),
    menuButton("Quit", 26, 273, u"Quit.jpg", u"Quit_m.jpg"),
    {.role = "credits area", .rect = {170, 292, 68, 23}, .startFace = 0},
};

// Player selection.
constexpr ButtonLayout kNewButton = {
    .role = "New",
    .rect = {180, 130, 41, 17},
    .faces = {{u"New0.jpg", u"New0_m.jpg"}, {u"New1.jpg", u"New1_m.jpg"}, kNoFace},
    .startFace = 0};
constexpr ButtonLayout kDeleteButton = {
    .role = "Delete",
    .rect = {181, 154, 51, 17},
    .faces = {{u"Delete0.jpg", u"Delete0_m.jpg"}, {u"Delete1.jpg", u"Delete1_m.jpg"}, kNoFace},
    .startFace = 0,
    .startRule = StartRule::HiddenWhenBuiltIn};
constexpr ButtonLayout caption(const char16_t* image, const char16_t* mask) {
    return {.role = "caption",
            .rect = {171, 12, 62, 16},
            .faces = {kNoFace, {image, mask}, kNoFace},
            .startFace = 1};
}
constexpr ButtonLayout kFirstNameLabel =
    label("first name", {166, 190, 66, 12}, LabelSource::FirstName);
constexpr ButtonLayout kLastNameLabel =
    label("last name", {166, 202, 66, 12}, LabelSource::LastName);
constexpr ButtonLayout kLevelLabel = label("level", {166, 226, 66, 12}, LabelSource::LevelName);

constexpr ButtonLayout kExhibitionPlayer1Buttons[] = {
    kNewButton,
    kDeleteButton,
    kBack,
    kMain,
    kNext,
    leftArrow(40, 252),
    rightArrow(140, 252),
    caption(u"Player_1.jpg", u"Player_1_m.jpg"),
    kFirstNameLabel,
    kLastNameLabel,
    kLevelLabel,
};
constexpr ButtonLayout kExhibitionPlayer2Buttons[] = {
    kNewButton,
    kDeleteButton,
    kBack,
    kMain,
    kNext,
    leftArrow(40, 252),
    rightArrow(140, 252),
    caption(u"Player_2.jpg", u"Player_2_m.jpg"),
    kFirstNameLabel,
    kLastNameLabel,
    kLevelLabel,
};
constexpr ButtonLayout kTournamentPlayerButtons[] = {
    {.role = "inert", .rect = {180, 130, 41, 17}, .startFace = 2},
    {.role = "inert", .rect = {181, 154, 51, 17}, .startFace = 2},
    kBack,
    kMain,
    kNext,
    leftArrow(40, 252),
    rightArrow(140, 252),
    kFirstNameLabel,
    kLastNameLabel,
    kLevelLabel,
};
constexpr ButtonLayout kPracticePlayerButtons[] = {
    kNewButton,         kDeleteButton,        kBack,           kMain,          kNext,
    leftArrow(40, 252), rightArrow(140, 252), kFirstNameLabel, kLastNameLabel, kLevelLabel,
};

// Stadium choice.
constexpr FaceImage kStadiumPictures[] = {{u"Stadium1.jpg", nullptr},
                                          {u"Stadium2.jpg", nullptr},
                                          {u"Stadium3.jpg", nullptr},
                                          {u"Stadium4.jpg", nullptr},
                                          {u"Stadium5.jpg", nullptr}};
constexpr FaceChoice kStadiumChoice = {2, FaceSelector::Stadium, 0, kStadiumPictures};
constexpr ButtonLayout kStadiumButtons[] = {
    {.role = "stadium picture",
     .rect = {18, 102, 205, 162},
     .choice = &kStadiumChoice,
     .startFace = 2},
    kBack,
    kMain,
    kNext,
    leftArrow(86, 271),
    rightArrow(138, 271),
};

// Match display.
constexpr ButtonLayout kPowerMeterFrame = {
    .role = "power meter frame",
    .rect = {90, 2, 61, 12},
    .faces = {kNoFace, kNoFace, {u"powermeter.jpg", u"powermeter_m.jpg"}},
    .startFace = 2};
constexpr ButtonLayout kPowerMeterBar = {.role = "power meter bar",
                                         .rect = {97, 5, 47, 6},
                                         .fill = FillSource::PowerMeter,
                                         .startFace = 2};
constexpr ButtonLayout kBallSpeed = label("ball speed", {176, 2, 36, 12}, LabelSource::Hud);
constexpr ButtonLayout kMatchButtons[] = {
    {.role = "scoreboard",
     .rect = {2, 2, 60, 31},
     .faces = {kNoFace, kNoFace, {u"marcador.jpg", u"marcador_m.jpg"}},
     .startFace = 2},
    {.role = "server's ball",
     .rect = {47, 6, 9, 9},
     .faces = {kNoFace, kNoFace, {u"pelota_marcador.jpg", nullptr}},
     .startFace = 2},
    {.role = "player 1 points",
     .rect = {7, 4, 12, 12},
     .label = LabelSource::Text,
     .text = u" 0",
     .startFace = 2},
    {.role = "player 2 points",
     .rect = {7, 19, 12, 12},
     .label = LabelSource::Text,
     .text = u" 0",
     .startFace = 2},
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
    return {.role = "laurel",
            .rect = {left, top, 43, 28},
            .choice = &kLaurelChoices[index],
            .startFace = 2};
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
    {.role = "previous drill",
     .rect = {2, 2, 10, 12},
     .faces = {kPracticeLeft, kPracticeLeft, kNoFace},
     .startFace = 0},
    {.role = "drill caption", .rect = {16, 1, 60, 15}, .choice = &kDrillChoice, .startFace = 2},
    {.role = "next drill",
     .rect = {78, 2, 10, 12},
     .faces = {kPracticeRight, kPracticeRight, kNoFace},
     .startFace = 0},
    kCloseButton,
    kPowerMeterFrame,
    kPowerMeterBar,
    kBallSpeed,
};

// Profile editor: slots 9 + 2k and 10 + 2k are the halves of skill row k.
constexpr FaceImage kKeyboard = {u"Teclado.jpg", u"Teclado_m.jpg"};
constexpr ButtonLayout swatch(const char* role, int32_t left, int32_t top, FillSource fill) {
    return {.role = role, .rect = {left, top, 10, 10}, .fill = fill, .startFace = 0};
}
constexpr ButtonLayout skillHalf(int32_t row, bool give) {
    return {.role = give ? "give a point" : "take a point",
            .rect = {kSkillBarLeft + (give ? 40 : 0), kSkillRowTop + kSkillRowStep * row, 40, 7},
            .startFace = 0};
}
constexpr ButtonLayout kNewPlayerButtons[] = {
    {.role = "first-name field",
     .rect = {4, 84, 66, 12},
     .label = LabelSource::FirstName,
     .startFace = 0},
    {.role = "last-name field",
     .rect = {4, 98, 66, 12},
     .label = LabelSource::LastName,
     .startFace = 0},
    {.role = "Cancel",
     .rect = {4, 292, 44, 28},
     .faces = {{u"Cancel0.jpg", u"Button0_m.jpg"}, {u"Cancel1.jpg", u"Button1_m.jpg"}, kNoFace},
     .startFace = 0},
    {.role = "Ok",
     .rect = {192, 292, 44, 28},
     .faces = {{u"Ok0.jpg", u"Button0_m.jpg"}, {u"Ok1.jpg", u"Button1_m.jpg"}, kNoFace},
     .startFace = 0},
    {.role = "keyboard",
     .rect = {2, 98, 238, 116},
     .faces = {kKeyboard, kKeyboard, kNoFace},
     .startFace = 2},
    swatch("skin swatch", 177, 90, FillSource::SkinColour),
    swatch("hair swatch", 188, 110, FillSource::HairColour),
    swatch("colour 3 swatch", 188, 130, FillSource::Colour3),
    swatch("colour 4 swatch", 177, 150, FillSource::Colour4),
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
constexpr ButtonLayout rankRow(int32_t left, int32_t top) {
    return label("ladder row", {left, top, 138, 12}, LabelSource::RankRow);
}
constexpr ButtonLayout kRankingsButtons[] = {
    {.role = "previous level",
     .rect = {141, 12, 12, 14},
     .faces = {kRankingsLeft, kRankingsLeft, kNoFace},
     .startFace = 0},
    {.role = "level title",
     .rect = {156, 13, 68, 14},
     .choice = &kLadderTitleChoice,
     .startFace = 2},
    {.role = "next level",
     .rect = {228, 12, 12, 14},
     .faces = {kRankingsRight, kRankingsRight, kNoFace},
     .startFace = 0},
    kMain,
    rankRow(26, 79),
    rankRow(33, 99),
    rankRow(40, 119),
    rankRow(48, 139),
    rankRow(55, 159),
    rankRow(62, 179),
    rankRow(70, 199),
    rankRow(77, 219),
    rankRow(84, 239),
    rankRow(92, 250),
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
constexpr ButtonLayout optionLeft(const char* role, int32_t left, int32_t top) {
    return {.role = role,
            .rect = {left, top, 17, 25},
            .faces = {{u"O_Left0.jpg", u"Left0_m.jpg"}, {u"O_Left1.jpg", u"Left1_m.jpg"}, kNoFace},
            .startFace = 0};
}
constexpr ButtonLayout optionRight(const char* role, int32_t left, int32_t top) {
    return {
        .role = role,
        .rect = {left, top, 17, 25},
        .faces = {{u"O_Right0.jpg", u"Right0_m.jpg"}, {u"O_Right1.jpg", u"Right1_m.jpg"}, kNoFace},
        .startFace = 0};
}
constexpr ButtonLayout kOptionsButtons[] = {
    optionLeft("fewer sets", 77, 116),
    {.role = "sets value", .rect = {97, 121, 38, 15}, .choice = &kSetsChoice, .startFace = 2},
    optionRight("more sets", 138, 116),
    optionLeft("lower level", 91, 177),
    {.role = "level value", .rect = {110, 183, 61, 15}, .choice = &kLevelChoice, .startFace = 2},
    optionRight("higher level", 173, 177),
    {.role = "sound value", .rect = {149, 246, 21, 13}, .choice = &kSoundChoice, .startFace = 2},
    optionRight("sound toggle", 173, 238),
    kMain,
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
};
static_assert(std::size(kScreens) == kLastScreen, "one entry per screen, in id order");

constexpr bool screensInIdOrder() {
    for (int32_t i = 0; i < kLastScreen; ++i)
        if (kScreens[i].id != i + 1)
            return false;
    return true;
}
static_assert(screensInIdOrder());

} // namespace

const ScreenLayout* findScreenLayout(int32_t id) {
    if (id < kFirstScreen || id > kLastScreen)
        return nullptr;
    return &kScreens[id - 1];
}

std::span<const ScreenLayout> allScreenLayouts() {
    return kScreens;
}
