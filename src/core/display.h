// display.h: the screen's size and the layout of display memory, shared by the window and the
// renderer that fills it.
#pragma once

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kScreenPixels = kScreenWidth * kScreenHeight;

// Byte steps in display memory for one pixel right and one pixel down.
struct DisplayPitches {
    int cbxPitch = 2;
    int cbyPitch = 480;
};
