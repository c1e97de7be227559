// error_report.cpp: the desktop's message boxes.
#include "platform/error_report.h"

#include <SDL.h>

#include <cstdio>

void reportFatalError(const WideString& message) {
    const std::string text = toUtf8(message);
    std::fprintf(stderr, "drovana: %s\n", text.c_str());
    if (SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Drovana", text.c_str(), nullptr);
}

// Without a parent window: SDL 2.26 on X11 clips a box made for a parent and draws its text
// at another scale, where the box of its own is sized to its text and centred on the screen.
void showStartNotice(const WideString& message) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Drovana", toUtf8(message).c_str(),
                             nullptr);
}
