// error_report_web.cpp: a fatal error or a start notice shown on the page in the browser build.
#include "platform/error_report.h"

#include <emscripten.h>

#include <cstdio>

void reportFatalError(const WideString& message) {
    const std::string text = toUtf8(message);
    std::fprintf(stderr, "drovana: %s\n", text.c_str());
    // clang-format off
    EM_ASM({
        if (Module.drovanaShowError)
            Module.drovanaShowError(UTF8ToString($0));
    }, text.c_str());
    // clang-format on
}

// The page shows it over the canvas until the player dismisses it; the game runs on beneath.
void showStartNotice(const WideString& message) {
    // clang-format off
    EM_ASM({
        if (Module.drovanaShowNotice)
            Module.drovanaShowNotice(UTF8ToString($0));
    }, toUtf8(message).c_str());
    // clang-format on
}
