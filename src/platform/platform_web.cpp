// platform_web.cpp: the browser's window: the page's canvas, stylus from mouse, pen and touch,
// the quit key, page visibility, the clock, and the display drawn into the canvas.
#include "platform/platform.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/display_colours.h"
#include "platform/sound_device_web.h"
#include "platform/stylus_pointer.h"

namespace {

// The page's canvas covers the whole viewport from its top-left corner (web/shell.html), so a
// pointer's client coordinates are canvas coordinates; the picture sits in it scaled to fit
// between bars (CSS object-fit: contain).
constexpr char kCanvas[] = "#canvas";
constexpr uint64_t kMicroseconds = 1000000;

int clampToScreen(int value, int size) {
    return value < 0 ? 0 : (value >= size ? size - 1 : value);
}

// A press on a bar is taken to the nearest edge pixel, as in the desktop window.
void pageToScreen(long clientX, long clientY, int& x, int& y) {
    double width = 0, height = 0;
    emscripten_get_element_css_size(kCanvas, &width, &height);
    const double scale = std::min(width / kScreenWidth, height / kScreenHeight);
    if (!(scale > 0)) {
        x = y = 0;
        return;
    }
    const double left = (width - kScreenWidth * scale) / 2;
    const double top = (height - kScreenHeight * scale) / 2;
    x = clampToScreen(static_cast<int>(std::floor((clientX - left) / scale)), kScreenWidth);
    y = clampToScreen(static_cast<int>(std::floor((clientY - top) / scale)), kScreenHeight);
}

// Pens arrive as mouse events on a desktop and as touches on a phone.
EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void* data) {
    auto* platform = static_cast<Platform*>(data);
    if (e->button != 0)
        return EM_FALSE;
    int x = 0, y = 0;
    pageToScreen(e->clientX, e->clientY, x, y);
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
        webAudioUnlock(); // browsers start sound only inside a user's gesture
        pressStylus(platform, StylusSource::Mouse, 0, x, y);
    } else {
        releaseStylus(platform, StylusSource::Mouse, 0, x, y);
    }
    return EM_TRUE;
}

// Every touch event is taken from the browser (the handler answers true): no scrolling, no
// zooming, no long-press menu, and no mouse events made up from the touches.
EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void* data) {
    auto* platform = static_cast<Platform*>(data);
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& touch = e->touches[i];
        if (!touch.isChanged)
            continue;
        int x = 0, y = 0;
        pageToScreen(touch.clientX, touch.clientY, x, y);
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
            pressStylus(platform, StylusSource::Finger, touch.identifier, x, y);
        } else if (type == EMSCRIPTEN_EVENT_TOUCHEND) {
            webAudioUnlock(); // a touch's end counts as a gesture, its start does not
            releaseStylus(platform, StylusSource::Finger, touch.identifier, x, y);
        } else if (type == EMSCRIPTEN_EVENT_TOUCHCANCEL &&
                   platform->stylusSource == StylusSource::Finger &&
                   platform->stylusFinger == touch.identifier) {
            releaseHeldStylus(platform);
        }
    }
    return EM_TRUE;
}

// A or Escape quits, as on the desktop; every other key stays the browser's.
EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void* data) {
    auto* platform = static_cast<Platform*>(data);
    const std::string_view key = e->key;
    if (e->repeat || e->ctrlKey || e->altKey || e->metaKey ||
        !(key == "a" || key == "A" || key == "Escape"))
        return EM_FALSE;
    webAudioUnlock();
    platform->events.push_back({PlatformEventType::KeyDown, 0, 0, KeyA});
    return EM_TRUE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* data) {
    auto* platform = static_cast<Platform*>(data);
    if (e->hidden) {
        releaseHeldStylus(platform);
        platform->foreground = false;
        platform->events.push_back({PlatformEventType::FocusLost});
    } else {
        platform->foreground = true;
        platform->events.push_back({PlatformEventType::FocusGained});
        platform->events.push_back({PlatformEventType::Paint});
    }
    return EM_FALSE;
}

// Registers the page's event handlers for the platform, or, given none, takes them away.
void listen(Platform* platform) {
    const auto on = [platform](auto handler) { return platform ? handler : nullptr; };
    emscripten_set_mousedown_callback(kCanvas, platform, EM_TRUE, on(onMouse));
    // The release counts wherever it happens, even outside the page.
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, platform, EM_TRUE, on(onMouse));
    emscripten_set_touchstart_callback(kCanvas, platform, EM_TRUE, on(onTouch));
    emscripten_set_touchend_callback(kCanvas, platform, EM_TRUE, on(onTouch));
    emscripten_set_touchmove_callback(kCanvas, platform, EM_TRUE, on(onTouch));
    emscripten_set_touchcancel_callback(kCanvas, platform, EM_TRUE, on(onTouch));
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, platform, EM_TRUE, on(onKey));
    emscripten_set_visibilitychange_callback(platform, EM_TRUE, on(onVisibility));
}

} // namespace

Platform* platformOpenWeb() {
    auto* platform = new Platform;
    platform->headless = false;
    platform->pitches = {2, kScreenWidth * 2};
    platform->displayBytes.assign(kScreenPixels * 2, 0);
    platform->displayMemory = platform->displayBytes.data();
    platform->canvasPixels.assign(kScreenPixels * 4, 0);
    platform->clockFrequency = kMicroseconds;
    EmscriptenVisibilityChangeEvent visibility{};
    platform->foreground =
        emscripten_get_visibility_status(&visibility) != EMSCRIPTEN_RESULT_SUCCESS ||
        !visibility.hidden;
    emscripten_set_canvas_element_size(kCanvas, kScreenWidth, kScreenHeight);
    listen(platform);
    return platform;
}

void platformClose(Platform* platform) {
    if (!platform)
        return;
    if (!platform->headless)
        listen(nullptr);
    delete platform;
}

bool platformPollEvent(Platform* platform, PlatformEvent& event) {
    if (platform->events.empty())
        return false;
    event = platform->events.front();
    platform->events.pop_front();
    return true;
}

uint64_t platformReadClock(Platform* platform) {
    if (platform->headless)
        return platform->clockNow;
    return static_cast<uint64_t>(emscripten_get_now() * (kMicroseconds / 1000));
}

uint64_t platformClockFrequency(const Platform* platform) {
    return platform->clockFrequency;
}

bool platformIsForeground(const Platform* platform) {
    return platform->foreground;
}

void platformRaiseWindow(Platform*) {}

uint8_t* platformBeginDraw(Platform* platform) {
    return platform->displayMemory;
}

namespace {

// Unchanged rows between two changed ones that are put with them rather than splitting the
// update: each put has a cost of its own in the browser, a row of 240 pixels little.
constexpr int kRowRunGap = 8;

// The changed rows as runs (first row, row count), widened for the canvas on the way; returns
// how many numbers were stored. The display memory is one run of rows (platformOpenWeb).
int widenChangedRuns(Platform* platform, const ScreenRows& changed, int32_t* runs) {
    RowRun found[kMaxRowRuns];
    const int count = joinRowRuns(found, markedRuns(changed, found), kRowRunGap);
    int stored = 0;
    for (int i = 0; i < count; ++i) {
        const size_t first = static_cast<size_t>(found[i].first) * kScreenWidth;
        const size_t pixels = static_cast<size_t>(found[i].end - found[i].first) * kScreenWidth;
        widenDisplayRun(platform->displayMemory + 2 * first,
                        platform->canvasPixels.data() + 4 * first, pixels);
        runs[stored++] = found[i].first;
        runs[stored++] = found[i].end - found[i].first;
    }
    return stored;
}

} // namespace

void platformEndDraw(Platform* platform, const ScreenRows& changed) {
    if (platform->headless)
        return;
    // The display's RGB565 widened exactly as the desktop's screenshots widen it, so that a
    // canvas read back compares pixel for pixel with the headless game's pictures; in a match
    // a frame changes about 20 of the 320 rows, and only those are widened and put.
    ScreenRows rows = changed;
    if (!platform->canvasFilled)
        markAllRows(rows);
    platform->canvasFilled = true;
    int32_t runs[kScreenHeight * 2];
    const int stored = widenChangedRuns(platform, rows, runs);
    // clang-format off
    // The picture is put from the canvas pixels where they lie in the wasm's memory, without a
    // copy; its view is made again when the memory has grown (a new buffer). They hold the whole
    // last picture, so a canvas that comes back blank after its context was lost (the browser
    // may drop it under memory pressure) gets all of it again at once, a menu at rest included.
    EM_ASM({
        const first = !Module.drovanaPicture;
        if (first) {
            Module.drovanaPicture = () => {
                if (!Module.drovanaImage || Module.drovanaImage.data.buffer !== HEAPU8.buffer)
                    Module.drovanaImage = new ImageData(
                        new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4), $1, $2);
                return Module.drovanaImage;
            };
            const canvas = document.getElementById('canvas');
            Module.drovanaContext = canvas.getContext('2d');
            canvas.addEventListener('contextrestored', () =>
                Module.drovanaContext.putImageData(Module.drovanaPicture(), 0, 0));
        }
        const picture = Module.drovanaPicture();
        for (let i = 0; i < $4; i += 2) {
            const row = HEAP32[($3 >> 2) + i];
            Module.drovanaContext.putImageData(picture, 0, 0, 0, row, $1,
                                               HEAP32[($3 >> 2) + i + 1]);
        }
        if (first && Module.drovanaFirstFrame)
            Module.drovanaFirstFrame();
    }, platform->canvasPixels.data(), kScreenWidth, kScreenHeight, runs, stored);
    // clang-format on
}

// The page's animation frames pace the loop, shown or not.
void platformSkipDraw(Platform*) {}
