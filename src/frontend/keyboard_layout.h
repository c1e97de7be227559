// keyboard_layout.h: the profile editor's on-screen keyboard, from a press point to a key.
#pragma once

#include <cstdint>

// Cells are 14.5 pixels square, so positions are kept in half pixels (29 per cell).
constexpr int32_t kKeyboardWidth = 238;
constexpr int32_t kKeyboardHeight = 116;
constexpr int32_t kKeyboardGridLeft = 7;
constexpr int32_t kKeyboardGridTop = 5;
constexpr int32_t kKeyboardCellHalfPixels = 29;
constexpr int32_t kKeyboardColumns = 16;
constexpr int32_t kKeyboardCharacterRows = 6;
constexpr int32_t kKeyboardCommandRow = 6;
constexpr int32_t kKeyboardFirstCode = 33;
constexpr int32_t kKeyboardLastPrintable = 126;

enum class KeyKind : uint8_t { None, Character, Done, Delete };

struct KeyboardKey {
    KeyKind kind;
    char16_t character; // Character keys only; codes above 126 type a space
};

// Both truncate toward zero, so presses up to 14 half-pixels above or left of the grid still
// count as column or row 0.
constexpr int32_t keyboardColumn(int32_t pressX, int32_t keyboardLeft) {
    return (pressX - kKeyboardGridLeft - keyboardLeft) * 2 / kKeyboardCellHalfPixels;
}
constexpr int32_t keyboardRow(int32_t pressY, int32_t keyboardTop) {
    return (pressY - kKeyboardGridTop - keyboardTop) * 2 / kKeyboardCellHalfPixels;
}

// What a key at grid column and row does.
KeyboardKey keyboardKeyAtCell(int32_t column, int32_t row);
// What a press at screen (pressX, pressY) types on a keyboard whose corner is (left, top).
KeyboardKey keyboardKeyAt(int32_t pressX, int32_t pressY, int32_t left, int32_t top);
