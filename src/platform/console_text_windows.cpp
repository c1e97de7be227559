// console_text_windows.cpp: a window program's text to the console it was started from.
#include <windows.h>

#include <cstdio>

#include "platform/console_text.h"

namespace {

// A stream the starter sent to a file or a pipe has a handle of that type; one of a window
// program started from a console has none.
bool isRedirected(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void useParentConsoleForText() {
    const bool outRedirected = isRedirected(STD_OUTPUT_HANDLE);
    const bool errorRedirected = isRedirected(STD_ERROR_HANDLE);
    if (outRedirected && errorRedirected)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return; // started from the desktop: nowhere to print, as before
    if (!outRedirected)
        std::freopen("CONOUT$", "w", stdout);
    if (!errorRedirected)
        std::freopen("CONOUT$", "w", stderr);
}
