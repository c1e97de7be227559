// The screen tables: counts, shared kinds and the layout facts other parts of the game rely on.
#include "frontend/screen_assets.h"
#include "frontend/screen_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const ButtonLayout& button(ScreenId id, int slot) {
    return findScreenLayout(id)->buttons[static_cast<size_t>(slot)];
}

// The first button hit at (x, y), skipping static ones, as the stylus handler walks them.
int hitSlot(ScreenId id, int x, int y) {
    const ScreenLayout* screen = findScreenLayout(id);
    for (size_t i = 0; i < screen->buttons.size(); ++i) {
        const ButtonLayout& b = screen->buttons[i];
        if (b.startFace == 2)
            continue;
        const ScreenRect& r = b.rect;
        if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(ScreenTables, EveryScreenHasItsButtonCount) {
    const std::map<ScreenId, size_t> counts = {{Logo, 0},
                                               {MainMenu, 7},
                                               {Credits, 0},
                                               {ExhibitionPlayer1, 11},
                                               {ExhibitionPlayer2, 11},
                                               {ExhibitionStadium, 6},
                                               {ExhibitionMatch, 8},
                                               {TournamentPlayer, 10},
                                               {TournamentStadium, 6},
                                               {TournamentMatch, 8},
                                               {Trophies, 6},
                                               {ExhibitionWon, 1},
                                               {TournamentRoundWon, 2},
                                               {ExhibitionLost, 1},
                                               {TournamentLost, 2},
                                               {TournamentChampion, 2},
                                               {PracticePlayer, 10},
                                               {Practice, 7},
                                               {NewPlayer, 25},
                                               {Rankings, 14},
                                               {Options, 9}};
    ASSERT_EQ(allScreenLayouts().size(), 21u);
    for (const auto& [id, count] : counts) {
        ASSERT_NE(findScreenLayout(id), nullptr);
        EXPECT_EQ(findScreenLayout(id)->id, id);
        EXPECT_EQ(findScreenLayout(id)->buttons.size(), count) << "screen " << id;
        EXPECT_LE(count, static_cast<size_t>(kMaxScreenButtons));
    }
    EXPECT_EQ(findScreenLayout(0), nullptr);
    EXPECT_EQ(findScreenLayout(22), nullptr);
}

TEST(ScreenTables, TapsLandWhereTheMenusSay) {
    EXPECT_EQ(hitSlot(MainMenu, 200, 300), 6); // the hidden credits area
    EXPECT_EQ(hitSlot(MainMenu, 100, 300), 5); // inside Quit (26, 273, 105 x 33)
    EXPECT_EQ(hitSlot(MainMenu, 10, 10), -1);
    EXPECT_EQ(hitSlot(Rankings, 150, 20), 0);
    EXPECT_EQ(hitSlot(ExhibitionMatch, 235, 5), 7); // the close button over the scoreboard row
    EXPECT_EQ(hitSlot(ExhibitionMatch, 10, 10),
              -1); // the scoreboard is static: the tap goes to the court
    // On the editor the bars split into a left (take) and a right (give) half.
    EXPECT_EQ(hitSlot(NewPlayer, 151, 191), 9);
    EXPECT_EQ(hitSlot(NewPlayer, 191, 191), 10);
    EXPECT_EQ(hitSlot(NewPlayer, 230, 191 + 12 * 7 + 6), 24);
}

TEST(ScreenTables, RowsAndMenusSitAtTheirPlaces) {
    EXPECT_EQ(button(Rankings, 13).rect.left, 92);
    EXPECT_EQ(button(Rankings, 13).rect.top, 250);
    EXPECT_EQ(button(Rankings, 12).rect.top, 239);
    EXPECT_EQ(button(Options, 1).choice->images.size(), 3u);
    EXPECT_EQ(button(ExhibitionStadium, 0).choice->images.size(), 5u);
    EXPECT_EQ(button(Trophies, 5).choice->threshold, 0);
    EXPECT_EQ(button(Trophies, 1).choice->threshold, 4);
    EXPECT_EQ(button(ExhibitionPlayer1, 1).startRule, StartRule::HiddenWhenBuiltIn);
    EXPECT_EQ(button(TournamentPlayer, 1).startFace, 2);
    EXPECT_EQ(button(NewPlayer, 4).startFace, 2);
    EXPECT_EQ(std::u16string(button(ExhibitionMatch, 2).text), u" 0");
    EXPECT_EQ(std::u16string(findScreenLayout(Practice)->backdrop), u"Green_Court.jpg");
    EXPECT_EQ(std::u16string(findScreenLayout(TournamentMatch)->backdropByStadium[1]),
              u"RedClay_Court.jpg");
    EXPECT_EQ(std::u16string(kLevelNames[4]), u"Champion");
}

TEST(ScreenTables, SharedMasksServeFacesOfOneSize) {
    std::map<std::u16string, std::pair<int, int>> maskSizes;
    for (const ScreenLayout& screen : allScreenLayouts())
        for (const ButtonLayout& b : screen.buttons)
            forEachFaceImage(b, [&](const FaceImage& face) {
                if (!face.mask)
                    return;
                const auto size = std::pair{b.rect.width, b.rect.height};
                const auto [it, fresh] = maskSizes.emplace(face.mask, size);
                EXPECT_EQ(it->second, size) << "mask used at two sizes";
            });
    EXPECT_EQ(maskSizes.count(u"Button0_m.jpg"), 1u);
    EXPECT_EQ(maskSizes.count(u"P_Btn_m.jpg"), 1u);
}

TEST(ScreenTables, AssetListNamesEachPictureOnceWithItsFolder) {
    const std::vector<ScreenAsset> assets = screenAssets();
    std::map<std::u16string, int> seen;
    for (const ScreenAsset& a : assets)
        ++seen[a.name];
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << std::string(name.begin(), name.end());
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Blue_Court.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\Exhibition_m.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\Stadium5.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\O_Off_m.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\R_Champion.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\P_Net.jpg"), 1u);
    EXPECT_EQ(seen.count(u"D:\\VELDAR\\Data\\Btns\\Laurel.jpg"), 1u);
}

} // namespace
