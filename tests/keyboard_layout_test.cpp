// The on-screen keyboard: from a press point to the key, as the profile editor reads it.
#include "frontend/keyboard_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 2, kTop = 98;

TEST(KeyboardLayout, CharacterKeysFollowTheHalfPixelGrid) {
    // 3 right of and 2 below the corner is still column 0, row 0: truncation toward zero.
    KeyboardKey key = keyboardKeyAt(kLeft + 3, kTop + 2, kLeft, kTop);
    EXPECT_EQ(key.kind, KeyKind::Character);
    EXPECT_EQ(key.character, u'!');
    // Cell (1, 0) starts 14.5 pixels into the grid: pixel 21 is column 0, pixel 22 column 1.
    EXPECT_EQ(keyboardKeyAt(kLeft + 7 + 14, kTop + 10, kLeft, kTop).character, u'!');
    EXPECT_EQ(keyboardKeyAt(kLeft + 7 + 15, kTop + 10, kLeft, kTop).character, u'"');
    EXPECT_EQ(keyboardKeyAtCell(15, 0).character, u'0');
    EXPECT_EQ(keyboardKeyAtCell(0, 2).character, u'A');
    EXPECT_EQ(keyboardKeyAtCell(13, 5).character, u'~');
    // Codes 127 and 128 type a space.
    EXPECT_EQ(keyboardKeyAtCell(14, 5).character, u' ');
    EXPECT_EQ(keyboardKeyAtCell(15, 5).character, u' ');
}

TEST(KeyboardLayout, CommandRowAndOutsideCells) {
    EXPECT_EQ(keyboardKeyAtCell(0, 6).kind, KeyKind::Done);
    EXPECT_EQ(keyboardKeyAtCell(2, 6).kind, KeyKind::Done);
    EXPECT_EQ(keyboardKeyAtCell(3, 6).kind, KeyKind::None);
    EXPECT_EQ(keyboardKeyAtCell(13, 6).kind, KeyKind::Delete);
    EXPECT_EQ(keyboardKeyAtCell(15, 6).kind, KeyKind::Delete);
    EXPECT_EQ(keyboardKeyAtCell(16, 0).kind, KeyKind::None);
    EXPECT_EQ(keyboardKeyAtCell(-1, 0).kind, KeyKind::None);
    EXPECT_EQ(keyboardKeyAtCell(0, 7).kind, KeyKind::None);
    // The last pixel column of the picture is column 15.
    EXPECT_EQ(keyboardColumn(kLeft + kKeyboardWidth - 1, kLeft), 15);
}

} // namespace
