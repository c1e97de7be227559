// The screen tables: what every button does, where buttons may overlap, and the layout facts
// other parts of the game rely on.
#include "frontend/screen_assets.h"
#include "frontend/screen_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

bool overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool inside(const ScreenRect& inner, const ScreenRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

// The overlaps the layout means; in each, the earlier slot takes a tap on the shared pixels.
bool meantOverlap(const ButtonLayout& a, const ButtonLayout& b) {
    using enum ButtonAction;
    // Each menu word's tap area laps five pixels over the next; Main, the stadium arrows' corners.
    static const std::set<std::pair<ButtonAction, ButtonAction>> lapping = {
        {Exhibition, Tournament}, {Tournament, Practice}, {Practice, Rankings},
        {Rankings, Options},      {Options, Quit},        {Main, PreviousStadium},
        {Main, NextStadium}};
    if (lapping.count({a.action, b.action}))
        return true;
    // The keyboard shows only while everything under it is static.
    if (a.action == TypeKey || b.action == TypeKey)
        return true;
    // The match display draws the server's ball, the points and the meter's bar on their frames.
    if (a.action == None && b.action == None && a.startFace == ButtonFace::Static &&
        inside(b.rect, a.rect))
        return true;
    // The ladder's last two rows share pixel row 250.
    return a.label == LabelSource::RankRow && b.label == LabelSource::RankRow &&
           b.index == a.index + 1 && a.rect.top + a.rect.height - b.rect.top == 1;
}

// A button that can be tapped does something, and an action sits only where a tap can reach it
// (the keyboard opens from the name fields). The selection caption only blinks.
TEST(ScreenTables, EveryButtonThatTakesTapsHasAnActionAndOnlyThose) {
    for (const ScreenLayout& screen : allScreenLayouts())
        for (size_t slot = 0; slot < screen.buttons.size(); ++slot) {
            const ButtonLayout& b = screen.buttons[slot];
            const bool takesTaps = b.startFace != ButtonFace::Static ||
                                   b.startRule == StartRule::HiddenWhenBuiltIn ||
                                   b.action == ButtonAction::TypeKey;
            if (b.startRule == StartRule::Blinks)
                continue;
            EXPECT_EQ(b.action != ButtonAction::None, takesTaps)
                << "screen " << screen.id << " slot " << slot;
        }
}

TEST(ScreenTables, NoTwoButtonsOverlapButWhereTheLayoutMeansIt) {
    for (const ScreenLayout& screen : allScreenLayouts())
        for (size_t i = 0; i < screen.buttons.size(); ++i)
            for (size_t j = i + 1; j < screen.buttons.size(); ++j) {
                const ButtonLayout& a = screen.buttons[i];
                const ButtonLayout& b = screen.buttons[j];
                EXPECT_TRUE(!overlap(a.rect, b.rect) || meantOverlap(a, b))
                    << "screen " << screen.id << " slots " << i << " and " << j;
            }
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
