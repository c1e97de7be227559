// platform.h: the window, display memory, input events and clock the game runs on.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "core/display.h"
#include "core/screen_rows.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

enum class PlatformEventType {
    StylusDown, // x, y in screen pixels
    StylusUp,   // x, y in screen pixels
    KeyDown,    // key
    FocusLost,
    FocusGained,
    Paint, // the window needs the last frame again
    Close, // the window is being closed
};

enum PlatformKey : int {
    KeyOther = 0,
    KeyA = 1, // the quit key (A or Escape)
};

// A window's place on the display, in the window system's coordinates.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// How full screen is carried out: by the window system, or, where nobody would carry out that
// request (an X server with no window manager), by moving and sizing the window over the display.
enum class FullscreenWay { WindowSystem, CoveringTheDisplay };

// What holds the stylus down in the window: the mouse, or a finger.
enum class StylusSource { None, Mouse, Finger };

struct PlatformEvent {
    PlatformEventType type = PlatformEventType::Paint;
    int x = 0;
    int y = 0;
    int key = KeyOther;
};

// Two kinds, chosen when opened: a window (SDL on the desktop, the page's canvas in the
// browser build), or headless for tests and tools. Headless display memory honours any pitch
// pair; its clock and events are set by the caller.
struct Platform {
    bool headless = true;
    DisplayPitches pitches;
    std::vector<uint8_t> displayBytes; // headless: memory with room for any pitch pair
    uint8_t* displayMemory = nullptr;  // pixel (0, 0) of the display
    bool foreground = true;
    std::deque<PlatformEvent> events; // headless: injected; SDL: translated
    uint64_t clockNow = 0;            // headless clock value
    uint64_t clockFrequency = 1000000;
    // SDL
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool fullscreen = false;
    FullscreenWay fullscreenWay = FullscreenWay::WindowSystem;
    WindowPlace windowedPlace; // where the window stood before it covered the display
    uint64_t lastPresent = 0;
    StylusSource stylusSource = StylusSource::None;
    int64_t stylusFinger = 0;
    int stylusDownX = 0;
    int stylusDownY = 0;
    // Browser: the display widened to RGBA for the canvas, and whether the canvas has had all
    // of it once (after that only changed rows are put).
    std::vector<uint8_t> canvasPixels;
    bool canvasFilled = false;
};

Platform* platformOpenHeadless(DisplayPitches pitches = {});
// Null when no window can be made (no display server).
Platform* platformOpenSdl(int scale);
// The browser build's window: the page's canvas, its pointer, touch, key and visibility events.
Platform* platformOpenWeb();
void platformClose(Platform* platform);

// Takes the next pending event, translating window-system events on the way.
bool platformPollEvent(Platform* platform, PlatformEvent& event);
uint64_t platformReadClock(Platform* platform);
uint64_t platformClockFrequency(const Platform* platform);
bool platformIsForeground(const Platform* platform);
void platformRaiseWindow(Platform* platform);
// Full screen on or off (F11, --fullscreen); nothing when there is no window.
void platformSetFullscreen(Platform* platform, bool on);

// Display memory for one frame; the SDL kind shows it at the end. `changed` holds at least the
// rows written since the last end (a window may show more).
uint8_t* platformBeginDraw(Platform* platform);
void platformEndDraw(Platform* platform, const ScreenRows& changed);
// Instead of platformEndDraw when the frame changed nothing: nothing is uploaded or shown, and
// the loop is paced by the clock since no display's vsync paces it (frame_pacing.cpp).
void platformSkipDraw(Platform* platform);

// Headless helpers for tests.
void platformInjectEvent(Platform* platform, const PlatformEvent& event);
uint16_t platformDisplayPixel(const Platform* platform, int x, int y);
