// wide_string.h: the game's UTF-16 text and its conversions at the edges of the system.
#pragma once

#include <string>

// Text is UTF-16 throughout: archive names, labels, profile names and HUD strings.
using WideString = std::u16string;

std::string toUtf8(const WideString& text);
WideString fromUtf8(const std::string& text);

// Upper case for ASCII and Latin-1 letters, the only letters archive names and profiles use.
char16_t toUpperWide(char16_t c);
