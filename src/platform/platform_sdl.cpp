// platform_sdl.cpp: the game window, stylus from mouse and touch, the clock, and display upload.
#include "platform/platform.h"

#include <SDL.h>

#include "platform/screenshot.h"
#include "platform/stylus_pointer.h"

namespace {

void destroyWindow(Platform* platform) {
    if (platform->texture)
        SDL_DestroyTexture(platform->texture);
    if (platform->renderer)
        SDL_DestroyRenderer(platform->renderer);
    if (platform->window)
        SDL_DestroyWindow(platform->window);
    platform->texture = nullptr;
    platform->renderer = nullptr;
    platform->window = nullptr;
}

int clampToScreen(int value, int size) {
    return value < 0 ? 0 : (value >= size ? size - 1 : value);
}

// The renderer's logical size has already brought mouse coordinates to screen pixels; a press on
// a letterbox bar lies outside the screen and is taken to the nearest edge pixel.
void mouseToScreen(const SDL_MouseButtonEvent& button, int& x, int& y) {
    x = clampToScreen(button.x, kScreenWidth);
    y = clampToScreen(button.y, kScreenHeight);
}

// Finger positions arrive as fractions of the letterboxed picture, bars already clamped away.
void fingerToScreen(const SDL_TouchFingerEvent& finger, int& x, int& y) {
    x = clampToScreen(static_cast<int>(finger.x * kScreenWidth), kScreenWidth);
    y = clampToScreen(static_cast<int>(finger.y * kScreenHeight), kScreenHeight);
}

void toggleFullscreen(Platform* platform) {
    platformSetFullscreen(platform, !platform->fullscreen);
    platform->events.push_back({PlatformEventType::Paint});
}

void translate(Platform* platform, const SDL_Event& e) {
    auto push = [platform](PlatformEventType type, int key = KeyOther) {
        platform->events.push_back({type, 0, 0, key});
    };
    int x = 0, y = 0;
    switch (e.type) {
    case SDL_QUIT:
        push(PlatformEventType::Close);
        break;
    case SDL_KEYDOWN:
        if (e.key.repeat)
            break;
        if (e.key.keysym.sym == SDLK_F11)
            toggleFullscreen(platform);
        else if (e.key.keysym.sym == SDLK_F12)
            saveScreenshot(platform);
        else
            push(PlatformEventType::KeyDown,
                 e.key.keysym.sym == SDLK_a || e.key.keysym.sym == SDLK_ESCAPE ? KeyA : KeyOther);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // Presses SDL makes up from touches come again as the finger events themselves.
        if (e.button.button != SDL_BUTTON_LEFT || e.button.which == SDL_TOUCH_MOUSEID)
            break;
        mouseToScreen(e.button, x, y);
        if (e.type == SDL_MOUSEBUTTONDOWN)
            pressStylus(platform, StylusSource::Mouse, 0, x, y);
        else
            releaseStylus(platform, StylusSource::Mouse, 0, x, y);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
        fingerToScreen(e.tfinger, x, y);
        if (e.type == SDL_FINGERDOWN)
            pressStylus(platform, StylusSource::Finger, e.tfinger.fingerId, x, y);
        else
            releaseStylus(platform, StylusSource::Finger, e.tfinger.fingerId, x, y);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            releaseHeldStylus(platform);
            platform->foreground = false;
            push(PlatformEventType::FocusLost);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            platform->foreground = true;
            push(PlatformEventType::FocusGained);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            push(PlatformEventType::Paint);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

} // namespace

Platform* platformOpenSdl(int scale) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return nullptr;
    auto* platform = new Platform;
    platform->headless = false;
    platform->pitches = {2, kScreenWidth * 2};
    platform->displayBytes.assign(kScreenPixels * 2, 0);
    platform->displayMemory = platform->displayBytes.data();
    platform->clockFrequency = SDL_GetPerformanceFrequency();
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    platform->window = SDL_CreateWindow("Drovana", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        kScreenWidth * scale, kScreenHeight * scale,
                                        SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (platform->window)
        platform->renderer = SDL_CreateRenderer(
            platform->window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (platform->window && !platform->renderer) // no GPU: software, still paced by vsync hints
        platform->renderer = SDL_CreateRenderer(platform->window, -1, SDL_RENDERER_SOFTWARE);
    if (platform->renderer) {
        SDL_RenderSetLogicalSize(platform->renderer, kScreenWidth, kScreenHeight);
        SDL_RenderSetIntegerScale(platform->renderer, SDL_FALSE);
        platform->texture =
            SDL_CreateTexture(platform->renderer, SDL_PIXELFORMAT_RGB565,
                              SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
    }
    if (!platform->texture) {
        destroyWindow(platform);
        delete platform;
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return nullptr;
    }
    SDL_SetWindowMinimumSize(platform->window, kScreenWidth, kScreenHeight);
    platform->foreground = true;
    return platform;
}

void platformClose(Platform* platform) {
    if (!platform)
        return;
    if (!platform->headless) {
        destroyWindow(platform);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    delete platform;
}

bool platformPollEvent(Platform* platform, PlatformEvent& event) {
    if (!platform->headless && platform->events.empty()) {
        SDL_Event e;
        while (platform->events.empty() && SDL_PollEvent(&e))
            translate(platform, e);
        // In the background nothing is drawn, so nothing paces the loop: wait a little for
        // an event instead of spinning a core.
        if (platform->events.empty() && !platform->foreground && SDL_WaitEventTimeout(&e, 10))
            translate(platform, e);
    }
    if (platform->events.empty())
        return false;
    event = platform->events.front();
    platform->events.pop_front();
    return true;
}

uint64_t platformReadClock(Platform* platform) {
    return platform->headless ? platform->clockNow : SDL_GetPerformanceCounter();
}

uint64_t platformClockFrequency(const Platform* platform) {
    return platform->clockFrequency;
}

bool platformIsForeground(const Platform* platform) {
    return platform->foreground;
}

void platformRaiseWindow(Platform* platform) {
    if (platform->window) {
        SDL_RestoreWindow(platform->window);
        SDL_RaiseWindow(platform->window);
    }
}

uint8_t* platformBeginDraw(Platform* platform) {
    return platform->displayMemory;
}

void platformEndDraw(Platform* platform, const ScreenRows&) {
    if (platform->headless)
        return;
    // Our display memory persists between frames (the dirty copy relies on the old pixels);
    // the texture is only its mirror on the GPU, uploaded whole: a renderer may lose its
    // textures (a device reset), and the whole upload costs little beside the window's present.
    SDL_UpdateTexture(platform->texture, nullptr, platform->displayMemory, kScreenWidth * 2);
    SDL_SetRenderDrawColor(platform->renderer, 0, 0, 0, 255);
    SDL_RenderClear(platform->renderer);
    SDL_RenderCopy(platform->renderer, platform->texture, nullptr, nullptr);
    SDL_RenderPresent(platform->renderer);
    // Where the renderer ignores vsync (software rendering, some virtual displays), keep the
    // busy loop from spinning a core at hundreds of frames per second.
    const uint64_t now = SDL_GetPerformanceCounter();
    const uint64_t minimum = platform->clockFrequency / 250;
    if (platform->lastPresent != 0 && now - platform->lastPresent < minimum)
        SDL_Delay(static_cast<uint32_t>((minimum - (now - platform->lastPresent)) * 1000 /
                                        platform->clockFrequency));
    platform->lastPresent = SDL_GetPerformanceCounter();
}
