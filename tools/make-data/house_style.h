// house_style.h: the palette and the shared shapes (chips, arrows, plates) of every picture.
#pragma once

#include <string>

#include "canvas.h"
#include "typeset.h"

// Night-blue stadium under floodlights, optic-yellow ball as the one accent colour.
namespace palette {
constexpr Colour kNight = hexColour(0x08111F);
constexpr Colour kDeep = hexColour(0x0E1E36);
constexpr Colour kNavy = hexColour(0x16305A);
constexpr Colour kBlue = hexColour(0x2452A0);
constexpr Colour kSteel = hexColour(0x8DA3C4);
constexpr Colour kMist = hexColour(0xC9D6EA);
constexpr Colour kWhite = hexColour(0xF5F8FC);
constexpr Colour kBall = hexColour(0xDCEB3A);
constexpr Colour kBallShade = hexColour(0xA6B51C);
constexpr Colour kGold = hexColour(0xF0BF45);
constexpr Colour kGoldShade = hexColour(0xB07F1A);
constexpr Colour kRed = hexColour(0xD9483B);
constexpr Colour kInk = hexColour(0x0A1628); // words on yellow
} // namespace palette

// Type sizes used throughout (pixels).
constexpr TextStyle kTitleStyle = {Typeface::BoldOblique, 22};
constexpr TextStyle kHeadingStyle = {Typeface::SansBold, 12};
constexpr TextStyle kLabelStyle = {Typeface::SansBold, 10};
constexpr TextStyle kSmallStyle = {Typeface::Sans, 9};
constexpr TextStyle kChipStyle = {Typeface::CondensedBold, 11};
constexpr TextStyle kMenuStyle = {Typeface::CondensedBoldOblique, 14};

enum class Look { Normal, Pressed };

// A rounded button with a word: blue when normal, yellow when pressed.
void drawChip(Canvas& canvas, const TypeSet& types, float x, float y, float w, float h,
              const std::string& word, Look look, TextStyle style = kChipStyle);
Path chipPath(float x, float y, float w, float h);

// Arrow heads pointing left or right, filling a w x h box.
Path arrowPath(float x, float y, float w, float h, bool pointsRight);
void drawArrow(Canvas& canvas, float x, float y, float w, float h, bool pointsRight, Look look,
               bool accent);

// The slanted plates of the main menu.
Path menuPlatePath(float x, float y);
void drawMenuPlate(Canvas& canvas, const TypeSet& types, float x, float y, const std::string& word,
                   Look look);

// A yellow tennis ball with its white seam.
void drawTennisBall(Canvas& canvas, float cx, float cy, float radius);

// Dark rounded panel with a thin light rim, for groups of controls on menu screens.
void drawPanel(Canvas& canvas, float x, float y, float w, float h, float radius = 6.0f);

// The stadium-at-night background shared by the menu screens.
Canvas menuBackground();
// The big word-mark "DROVANA" with its ball, centred on (cx, baseline).
void drawWordMark(Canvas& canvas, const TypeSet& types, float cx, int baseline, int size);
// A screen title with an accent underline, left-aligned at x.
void drawScreenTitle(Canvas& canvas, const TypeSet& types, const std::string& title, float x,
                     int baseline);
// The dark strip behind the Back / Main / Next row at the bottom.
void drawButtonBar(Canvas& canvas);
