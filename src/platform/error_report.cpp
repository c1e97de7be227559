// error_report.cpp
#include "platform/error_report.h"

#include <SDL.h>

#include <cstdio>

void reportFatalError(const WideString& message) {
    const std::string text = toUtf8(message);
    std::fprintf(stderr, "drovana: %s\n", text.c_str());
    if (SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Drovana", text.c_str(), nullptr);
}
