// fullscreen_sdl.cpp: full screen on and off: the window system's own, or, on an X server with no
// window manager, the window moved and sized over the display by the game itself.
//
// SDL asks an X window manager for full screen (_NET_WM_STATE_FULLSCREEN) and takes the display's
// size as the window's at once. With no manager the request goes unanswered: the X window keeps
// its size while SDL and the renderer's letterboxing work with the display's, so the window shows
// one corner of the picture until it is resized. Nor does SDL there hear of every move made by
// others (a move to (0, 0) looks to it like none), so the window's place is read from the X server.
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The window a window property names, or 0 when it names none.
Window windowProperty(Display* display, Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window named = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
        named = *reinterpret_cast<Window*>(data);
    if (data)
        XFree(data);
    return named;
}

// A window manager that follows the desktop conventions names a window of its own in the root
// window's _NET_SUPPORTING_WM_CHECK, and that window names itself.
bool hasWindowManager(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0)
        return false;
    // A manager that has gone can leave its window's id behind: reading a property of a window
    // that no longer exists is an X error, which must not end the game.
    XSync(display, False);
    const auto previous = XSetErrorHandler(ignoreXError);
    const Window manager = windowProperty(display, DefaultRootWindow(display), check);
    const bool confirmed = manager != 0 && windowProperty(display, manager, check) == manager;
    XSync(display, False);
    XSetErrorHandler(previous);
    return confirmed;
}

// True on an X server with no window manager, with where the window stands on the screen (with no
// manager between, its parent is the root window).
bool bareX11Window(SDL_Window* window, WindowPlace& place) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 ||
        hasWindowManager(info.info.x11.display))
        return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes))
        return false;
    place = {attributes.x, attributes.y, attributes.width, attributes.height};
    return true;
}

#else

bool bareX11Window(SDL_Window*, WindowPlace&) {
    return false;
}

#endif

bool coverTheDisplay(Platform* platform) {
    SDL_Window* window = platform->window;
    WindowPlace windowed;
    SDL_Rect bounds;
    if (!bareX11Window(window, windowed) ||
        SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0)
        return false;
    platform->windowedPlace = windowed;
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    SDL_RaiseWindow(window);
    platform->fullscreenWay = FullscreenWay::CoveringTheDisplay;
    return true;
}

void returnToTheWindowedPlace(Platform* platform) {
    const WindowPlace& place = platform->windowedPlace;
    SDL_SetWindowSize(platform->window, place.width, place.height);
    SDL_SetWindowPosition(platform->window, place.left, place.top);
    platform->fullscreenWay = FullscreenWay::WindowSystem;
}

} // namespace

void platformSetFullscreen(Platform* platform, bool on) {
    if (!platform->window || on == platform->fullscreen)
        return;
    platform->fullscreen = on;
    if (!on && platform->fullscreenWay == FullscreenWay::CoveringTheDisplay) {
        returnToTheWindowedPlace(platform);
        return;
    }
    if (on && coverTheDisplay(platform))
        return;
    SDL_SetWindowFullscreen(platform->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}
