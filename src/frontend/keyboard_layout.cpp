// keyboard_layout.cpp: which key lies in which cell of the on-screen keyboard.
#include "frontend/keyboard_layout.h"

KeyboardKey keyboardKeyAtCell(int32_t column, int32_t row) {
    if (column < 0 || column >= kKeyboardColumns)
        return {KeyKind::None, 0};
    if (row >= 0 && row < kKeyboardCharacterRows) {
        const int32_t code = kKeyboardFirstCode + column + kKeyboardColumns * row;
        return {KeyKind::Character,
                static_cast<char16_t>(code > kKeyboardLastPrintable ? u' ' : code)};
    }
    if (row == kKeyboardCommandRow && column <= 2)
        return {KeyKind::Done, 0};
    if (row == kKeyboardCommandRow && column >= 13)
        return {KeyKind::Delete, 0};
    return {KeyKind::None, 0};
}

KeyboardKey keyboardKeyAt(int32_t pressX, int32_t pressY, int32_t left, int32_t top) {
    return keyboardKeyAtCell(keyboardColumn(pressX, left), keyboardRow(pressY, top));
}
