// screenshot.h: F12 writes what the display shows as a PNG into the user's pictures folder.
#pragma once

#include <ctime>
#include <string>

struct Platform;

// The display (240 x 320, RGB565) as 8-bit RGB, each pixel repeated scale x scale times.
// Channel values are widened by repeating their top bits, so white stays 255.
std::string displayRgb(const Platform* platform, int scale);
bool writeDisplayPng(const Platform* platform, int scale, const std::string& path);

// The whole multiple of 240 x 320 that fits the window's drawable area; 1 without a window.
int screenshotScale(const Platform* platform);

// The pictures folder of the freedesktop user-dirs convention: XDG_PICTURES_DIR from
// user-dirs.dirs in configHome, else home/Pictures. No trailing '/'; empty without a home.
std::string picturesFolder(const std::string& home, const std::string& configHome);
// "drovana-YYYY-MM-DD_HH-MM-SS.png", with "-N" before ".png" from the second one in a second.
std::string screenshotFileName(const std::tm& localTime, int repeat);

// Saves the screenshot, tells stderr where, and returns the path (empty when it failed).
std::string saveScreenshot(const Platform* platform);
