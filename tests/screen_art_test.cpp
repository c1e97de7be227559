// The backdrops and faces against the layout: words where the taps are, dark ground under the
// game's own text and bars, so everything the game adds stays readable.
#include "assets/asset_names.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"
#include "built_data.h"
#include "frontend/screen_tables.h"
#include "owned.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using OwnedButton = Owned<ImageButton, freeImageButton>;

int luma(uint32_t p) {
    return (299 * static_cast<int>(p & 0xFF) + 587 * static_cast<int>((p >> 8) & 0xFF) +
            114 * static_cast<int>((p >> 16) & 0xFF)) /
           1000;
}

struct ScreenArt : ::testing::Test {
    Owned<PakArchive, pakClose> pak{openBuiltData()};
    Owned<JpegDecoder, destroyJpegDecoder> decoder{makeJpegDecoder()};
    std::vector<uint32_t> backdrop = std::vector<uint32_t>(kScreenPixels);
    void loadBackdrop(const char16_t* name) {
        loadBackground(decoder.get(), pak.get(), dataEntryName(name), backdrop.data());
    }
    // The button of a layout row with one face loaded.
    OwnedButton withFace(const ButtonLayout& layout, int face) {
        const ScreenRect& r = layout.rect;
        OwnedButton b{makeImageButton(r.left, r.top, r.width, r.height)};
        const FaceImage& image = layout.faces[face];
        loadFace(decoder.get(), b.get(), pak.get(), face, buttonEntryName(image.image),
                 image.mask ? buttonEntryName(image.mask).c_str() : nullptr);
        return b;
    }
    int backdropLuma(int x, int y) const { return luma(backdrop[frameBufferIndex(x, y)]); }
    double meanLuma(const ScreenRect& r) const {
        double sum = 0;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x)
                sum += backdropLuma(x, y);
        return sum / (r.width * r.height);
    }
    // Pixels of a rectangle brighter than the threshold.
    int brightPixels(const ScreenRect& r, int threshold) const {
        int count = 0;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x)
                count += backdropLuma(x, y) > threshold;
        return count;
    }
};

// The game writes labels as light grey over a darkened box: the picture under them must be dark
// enough for the words to stand out.
TEST_F(ScreenArt, LabelsSitOnDarkGround) {
    for (const ScreenLayout& screen : allScreenLayouts()) {
        const char16_t* name = screen.backdrop ? screen.backdrop : screen.backdropByStadium[0];
        loadBackdrop(name);
        for (size_t slot = 0; slot < screen.buttons.size(); ++slot) {
            if (screen.buttons[slot].label == LabelSource::None)
                continue;
            EXPECT_LT(meanLuma(screen.buttons[slot].rect), 150.0)
                << toUtf8(name) << ": the label in slot " << slot << " over a light picture";
        }
    }
}

TEST_F(ScreenArt, MenuWordsLieInTheirTapAreas) {
    loadBackdrop(findScreenLayout(MainMenu)->backdrop);
    for (int slot = 0; slot < 6; ++slot) {
        const ButtonLayout& button = findScreenLayout(MainMenu)->buttons[static_cast<size_t>(slot)];
        const ScreenRect& r = button.rect;
        // White letters inside the rectangle, and their pressed face has dark ink on yellow.
        EXPECT_GT(brightPixels(r, 200), 60) << slot;
        const OwnedButton face = withFace(button, 1);
        int ink = 0, yellow = 0;
        for (int i = 0; i < r.width * r.height; ++i) {
            const uint32_t p = face->face[1][i];
            if (p >> 24 < 250)
                continue;
            ink += luma(p) < 60;
            yellow += (p & 0xFF) > 150 && ((p >> 16) & 0xFF) < 110;
        }
        EXPECT_GT(ink, 60) << slot;
        EXPECT_GT(yellow, 800) << slot;
    }
}

TEST_F(ScreenArt, SkillPointsHaveEmptySlotsToFill) {
    loadBackdrop(findScreenLayout(NewPlayer)->backdrop);
    for (int row = 0; row < kSkillRows; ++row) {
        for (int point = 0; point < kSkillMaxPoints; ++point) {
            const ScreenRect slot = {kSkillBarLeft + kSkillPointStep * point,
                                     kSkillRowTop + kSkillRowStep * row, kSkillPointSize,
                                     kSkillPointSize};
            EXPECT_LT(meanLuma(slot), 45.0) << "row " << row << " point " << point;
        }
        // The skill's name lies left of the bar, on the same row.
        EXPECT_GT(brightPixels({80, kSkillRowTop + kSkillRowStep * row - 2, 66, 10}, 170), 8)
            << "row " << row;
    }
}

TEST_F(ScreenArt, HudFramesLeaveDarkRoomForTheGamesValues) {
    const ScreenLayout* match = findScreenLayout(ExhibitionMatch);
    // The points are written at (7, 4) and (7, 19), 12 x 12, on the scoreboard at (2, 2).
    const OwnedButton board = withFace(match->buttons[0], 2);
    for (int y : {2, 17})
        for (int dy = 0; dy < 12; ++dy)
            for (int dx = 0; dx < 12; ++dx) {
                const uint32_t p = board->face[2][(y + dy) * 60 + 5 + dx];
                EXPECT_EQ(p >> 24 > 240, true);
                EXPECT_LT(luma(p), 80);
            }
    // The power bar runs from (97, 5), 47 x 6, inside the frame at (90, 2).
    const OwnedButton meter = withFace(match->buttons[4], 2);
    for (int dy = 0; dy < 6; ++dy)
        for (int dx = 0; dx < 47; ++dx)
            EXPECT_LT(luma(meter->face[2][(3 + dy) * 61 + 7 + dx]), 40);
}

// The tenth row of a ladder starts on the ninth's last pixel row (the layout's own overlap). The
// badges left of those rows must still read as two: the shared row dark between them, and each
// number on its own rows.
TEST_F(ScreenArt, RankBadgesNineAndTenStayApartOnTheSharedRow) {
    const ScreenLayout* rankings = findScreenLayout(Rankings);
    std::vector<ScreenRect> rows;
    for (const ButtonLayout& button : rankings->buttons)
        if (button.label == LabelSource::RankRow)
            rows.push_back(button.rect);
    ASSERT_EQ(rows.size(), 10u);
    const ScreenRect &ninth = rows[8], &tenth = rows[9];
    const int shared = tenth.top;
    ASSERT_EQ(ninth.top + ninth.height - 1, shared);
    loadBackdrop(rankings->backdrop);
    // The badges stand in the pixels left of their rows.
    const int badgeArea = 22;
    const ScreenRect sharedRow = {ninth.left - badgeArea, shared, badgeArea, 1};
    EXPECT_LT(meanLuma(sharedRow), 45.0) << "a badge runs over the shared row";
    EXPECT_EQ(brightPixels(sharedRow, 170), 0) << "a digit on the shared row";
    const ScreenRect nine = {ninth.left - badgeArea, ninth.top, badgeArea, shared - ninth.top};
    const ScreenRect ten = {tenth.left - badgeArea, shared + 1, badgeArea, tenth.height - 1};
    EXPECT_GT(brightPixels(nine, 170), 8);
    EXPECT_GT(brightPixels(ten, 170), 16);
}

} // namespace
