// The stylus through a real SDL window on the offscreen video driver: events go through SDL's own
// queue, where the renderer's letterboxing applies as it does to the window system's events.
#include "owned.h"
#include "platform/platform.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The software renderer drawing straight into the driver's own frame buffer: it follows the
// window through every resize, and no GL library is loaded (the offscreen driver's GL surface keeps
// its first size, and the GL libraries leave allocations behind at exit).
Platform* openOffscreenWindow(int scale) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    Platform* platform = platformOpenSdl(scale);
    if (!platform) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        platform = platformOpenSdl(scale);
    }
    return platform;
}

// Every screen pixel shows its own column (one frame) or row (the other), with red set so the
// letterbox bars, which stay black, can be told apart.
constexpr uint16_t kPictureMark = 0x8000;

struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> columns; // per window pixel: the screen column shown there, or bar
    std::vector<uint16_t> rows;
    int left = 0, right = -1, top = 0, bottom = -1; // the picture's extent, bars excluded
    uint16_t column(int x, int y) const { return columns[static_cast<size_t>(y) * width + x]; }
    uint16_t row(int x, int y) const { return rows[static_cast<size_t>(y) * width + x]; }
};

struct ScreenPoint {
    int x;
    int y;
    bool operator==(const ScreenPoint&) const = default;
};

struct WindowFixture : ::testing::Test {
    Owned<Platform, platformClose> platform;
    Uint32 windowId = 0;

    void open(int scale) {
        platform.reset(openOffscreenWindow(scale));
        ASSERT_NE(platform, nullptr) << SDL_GetError();
        windowId = SDL_GetWindowID(platform->window);
        drainEvents();
    }

    std::vector<PlatformEvent> drainEvents(bool stylusOnly = true) {
        std::vector<PlatformEvent> events;
        PlatformEvent event;
        while (platformPollEvent(platform.get(), event))
            if (!stylusOnly || event.type == PlatformEventType::StylusDown ||
                event.type == PlatformEventType::StylusUp)
                events.push_back(event);
        return events;
    }

    void push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    void pushButton(Uint32 type, int windowX, int windowY, Uint32 which = 0,
                    Uint8 button = SDL_BUTTON_LEFT) {
        const Uint8 state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_Event e{};
        e.button = {type, 0, windowId, which, button, state, 1, 0, windowX, windowY};
        push(e);
    }
    // A touch in the middle of a window pixel, as the window system reports it: a fraction of the
    // window.
    void pushFinger(Uint32 type, int windowX, int windowY, SDL_FingerID finger = 1) {
        int width = 0, height = 0;
        SDL_GetWindowSize(platform->window, &width, &height);
        const float x = (static_cast<float>(windowX) + 0.5f) / static_cast<float>(width);
        const float y = (static_cast<float>(windowY) + 0.5f) / static_cast<float>(height);
        SDL_Event e{};
        e.tfinger = {type, 0, 1, finger, x, y, 0, 0, 1.0f, windowId};
        push(e);
    }
    void pushWindowEvent(SDL_WindowEventID which) {
        SDL_Event e{};
        e.window.type = SDL_WINDOWEVENT;
        e.window.windowID = windowId;
        e.window.event = which;
        push(e);
    }

    // Shows a screen whose pixels carry their own column or row, and reads the whole window back.
    std::vector<uint16_t> showAndReadBack(bool rows) {
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const uint16_t pixel = kPictureMark | static_cast<uint16_t>(rows ? y : x);
                std::copy_n(reinterpret_cast<const uint8_t*>(&pixel), 2,
                            platformBeginDraw(platform.get()) + (y * kScreenWidth + x) * 2);
            }
        ScreenRows everyRow;
        markAllRows(everyRow);
        platformEndDraw(platform.get(), everyRow);
        // The offscreen driver's surfaces keep the presented picture; read without the logical
        // size, it is the whole window, bars included.
        int width = 0, height = 0;
        SDL_GetRendererOutputSize(platform->renderer, &width, &height);
        std::vector<uint16_t> pixels(static_cast<size_t>(width) * height);
        SDL_RenderSetLogicalSize(platform->renderer, 0, 0);
        const int read = SDL_RenderReadPixels(platform->renderer, nullptr, SDL_PIXELFORMAT_RGB565,
                                              pixels.data(), width * 2);
        SDL_RenderSetLogicalSize(platform->renderer, kScreenWidth, kScreenHeight);
        EXPECT_EQ(read, 0) << SDL_GetError();
        return pixels;
    }
    WindowPicture readPicture() {
        WindowPicture picture;
        SDL_GetRendererOutputSize(platform->renderer, &picture.width, &picture.height);
        picture.columns = showAndReadBack(false);
        picture.rows = showAndReadBack(true);
        picture.left = picture.width;
        picture.top = picture.height;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (picture.column(x, y) & kPictureMark) {
                    picture.left = std::min(picture.left, x);
                    picture.right = std::max(picture.right, x);
                    picture.top = std::min(picture.top, y);
                    picture.bottom = std::max(picture.bottom, y);
                }
        return picture;
    }

    // The screen point a player sees under a window pixel; on a bar, the nearest picture pixel.
    static ScreenPoint pointUnder(const WindowPicture& picture, int x, int y) {
        x = std::clamp(x, picture.left, picture.right);
        y = std::clamp(y, picture.top, picture.bottom);
        return {picture.column(x, y) & ~kPictureMark, picture.row(x, y) & ~kPictureMark};
    }

    // Presses and releases at every step-th window pixel (and the last row and column), by mouse
    // and by finger, and counts those that land elsewhere than on the screen pixel shown under
    // them. At a fractional scale SDL takes a mouse position from the window pixel's corner, and
    // both the picture's sampling and a finger's fraction can fall on the boundary between two
    // screen pixels: there a press may land on the screen pixel shown one window pixel beside it.
    void expectEveryPressUnderThePointer(int step, bool fractionalScale = false) {
        const WindowPicture picture = readPicture();
        ASSERT_EQ(picture.width * picture.height, static_cast<int>(picture.columns.size()));
        int wrong = 0;
        std::ostringstream firstWrong;
        auto lands = [&](const PlatformEvent& e, int x, int y) {
            const ScreenPoint want = pointUnder(picture, x, y);
            if (e.x == want.x && e.y == want.y)
                return true;
            return fractionalScale &&
                   (e.x == want.x || e.x == pointUnder(picture, x - 1, y).x ||
                    e.x == pointUnder(picture, x + 1, y).x) &&
                   (e.y == want.y || e.y == pointUnder(picture, x, y - 1).y ||
                    e.y == pointUnder(picture, x, y + 1).y);
        };
        auto probe = [&](int y, bool finger) {
            std::vector<int> xs;
            for (int x = 0; x < picture.width; x += step)
                xs.push_back(x);
            xs.push_back(picture.width - 1);
            for (int x : xs)
                for (const bool down : {true, false})
                    if (finger)
                        pushFinger(down ? SDL_FINGERDOWN : SDL_FINGERUP, x, y);
                    else
                        pushButton(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, x, y);
            const std::vector<PlatformEvent> events = drainEvents();
            ASSERT_EQ(events.size(), xs.size() * 2);
            for (size_t i = 0; i < xs.size(); ++i) {
                const PlatformEvent& down = events[i * 2];
                const PlatformEvent& up = events[i * 2 + 1];
                EXPECT_EQ(down.type, PlatformEventType::StylusDown);
                EXPECT_EQ(up.type, PlatformEventType::StylusUp);
                if (lands(down, xs[i], y) && lands(up, xs[i], y))
                    continue;
                const ScreenPoint want = pointUnder(picture, xs[i], y);
                if (wrong++ == 0)
                    firstWrong << (finger ? "finger" : "mouse") << " at window (" << xs[i] << ", "
                               << y << ") shows (" << want.x << ", " << want.y
                               << ") but landed on (" << down.x << ", " << down.y << ")";
            }
        };
        for (const bool finger : {false, true}) {
            for (int y = 0; y < picture.height; y += step)
                probe(y, finger);
            probe(picture.height - 1, finger);
        }
        EXPECT_EQ(wrong, 0) << "first: " << firstWrong.str();
    }
};

TEST_F(WindowFixture, PressesAndTouchesLandUnderThePointerAtEachWholeScale) {
    for (int scale = 1; scale <= 3; ++scale) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        open(scale);
        expectEveryPressUnderThePointer(scale == 1 ? 1 : 3);
    }
}

// Resized to sizes no whole scale fits: the picture is scaled by a fraction and letterboxed, bars
// at the sides or above and below; a press on a bar lands on the nearest edge pixel. 1024 x 768
// and 1280 x 1024 are what full screen gives on common displays (F11 itself is played in a real X
// display by tests/window/window_fullscreen.sh).
TEST_F(WindowFixture, PressesAndTouchesInAResizedWindowLandUnderThePointerOrOnTheNearestEdge) {
    open(2);
    for (const auto& [width, height] :
         {std::pair{500, 600}, std::pair{300, 601}, std::pair{613, 877}, std::pair{1024, 768},
          std::pair{1280, 1024}, std::pair{720, 960}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        SDL_SetWindowSize(platform->window, width, height);
        drainEvents();
        int w = 0, h = 0;
        SDL_GetWindowSize(platform->window, &w, &h);
        ASSERT_EQ(std::pair(w, h), std::pair(width, height));
        expectEveryPressUnderThePointer(2, width % kScreenWidth != 0);
    }
}

TEST_F(WindowFixture, FocusLostDuringAPressReleasesItWhereItWentDown) {
    open(2);
    pushButton(SDL_MOUSEBUTTONDOWN, 201, 301);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    const std::vector<PlatformEvent> events = drainEvents(false);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, PlatformEventType::StylusDown);
    EXPECT_EQ(events[1].type, PlatformEventType::StylusUp);
    EXPECT_EQ((ScreenPoint{events[1].x, events[1].y}), (ScreenPoint{100, 150}));
    EXPECT_EQ(events[2].type, PlatformEventType::FocusLost);
    EXPECT_FALSE(platformIsForeground(platform.get()));

    // The release that comes after all, and one with no press before it, are not passed on.
    pushButton(SDL_MOUSEBUTTONUP, 201, 301);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pushButton(SDL_MOUSEBUTTONUP, 11, 11);
    pushFinger(SDL_FINGERUP, 11, 11);
    EXPECT_TRUE(drainEvents().empty());
    // Focus lost with nothing pressed sends no release.
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(drainEvents().empty());
}

// One stylus: while a finger (or the mouse) holds it, other fingers and the mouse are ignored
// until that same finger lifts. Only the left button is the stylus, and SDL's mouse copies of
// touches are not a second press.
TEST_F(WindowFixture, TheFirstPointerDownHoldsTheStylusUntilItLifts) {
    open(2);
    pushButton(SDL_MOUSEBUTTONDOWN, 100, 100, 0, SDL_BUTTON_RIGHT);
    pushButton(SDL_MOUSEBUTTONDOWN, 100, 100, SDL_TOUCH_MOUSEID);
    pushButton(SDL_MOUSEBUTTONUP, 100, 100, SDL_TOUCH_MOUSEID);
    pushFinger(SDL_FINGERDOWN, 41, 61, 7);
    pushFinger(SDL_FINGERDOWN, 401, 601, 8);
    pushButton(SDL_MOUSEBUTTONDOWN, 201, 301);
    pushFinger(SDL_FINGERUP, 401, 601, 8);
    pushButton(SDL_MOUSEBUTTONUP, 201, 301);
    pushFinger(SDL_FINGERUP, 81, 121, 7);
    pushButton(SDL_MOUSEBUTTONDOWN, 201, 301);
    pushButton(SDL_MOUSEBUTTONUP, 203, 303);
    const std::vector<PlatformEvent> events = drainEvents();
    const std::vector<ScreenPoint> expected = {{20, 30}, {40, 60}, {100, 150}, {101, 151}};
    ASSERT_EQ(events.size(), expected.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].type,
                  i % 2 ? PlatformEventType::StylusUp : PlatformEventType::StylusDown);
        EXPECT_EQ((ScreenPoint{events[i].x, events[i].y}), expected[i]) << i;
    }
}

} // namespace
