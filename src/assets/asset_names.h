// asset_names.h: how the game names its assets inside data.pak.
#pragma once

#include "platform/wide_string.h"

// The folders are part of every entry name; they are keys, never paths on this machine.
inline constexpr char16_t kDataFolder[] = u"D:\\VELDAR\\Data\\";
inline constexpr char16_t kButtonFolder[] = u"D:\\VELDAR\\Data\\Btns\\";

inline constexpr char16_t kFont8x16Name[] = u"D:\\VELDAR\\Data\\FONT8x16.pgm";
inline constexpr char16_t kFont6x12Name[] = u"D:\\VELDAR\\Data\\FONT6x12.pgm";

// "Main.jpg" -> "D:\VELDAR\Data\Main.jpg".
inline WideString dataEntryName(const char16_t* relative) {
    return WideString(kDataFolder) + relative;
}
// "Exhibition.jpg" -> "D:\VELDAR\Data\Btns\Exhibition.jpg".
inline WideString buttonEntryName(const char16_t* relative) {
    return WideString(kButtonFolder) + relative;
}
