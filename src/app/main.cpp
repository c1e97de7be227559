// main.cpp: process entry: one instance, the window, the clock, the game object and its loop.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/game_app.h"
#include "app/shell.h"
#include "assets/file_error.h"
#include "platform/error_report.h"
#include "platform/platform.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "platform/sound_output.h"

namespace {

int runGame(Platform* platform, SingleInstance& instance) {
    ShellState shell;
    shell.platform = platform;
    std::srand(static_cast<unsigned>(shellStartClock(shell) & 0xFFFFFFFFu));
    SoundOutput* sound = soundOutputOpenSdl();
    GameApp* app = nullptr;
    const WideString folder = programFolder();
    try {
        app = makeGameApp(folder, sound);
    } catch (const FileError& error) {
        // The message names what went wrong; the archive is where every asset comes from.
        reportFatalError(error.message + u" (" + folder + u"data.pak)");
        soundOutputClose(sound);
        return 1;
    } catch (const std::exception& error) {
        reportFatalError(fromUtf8(error.what()));
        soundOutputClose(sound);
        return 1;
    }
    while (shellPass(shell, app))
        if (singleInstanceRaiseRequested(instance))
            platformRaiseWindow(platform);
    destroyGameApp(app);
    soundOutputClose(sound);
    return 0;
}

} // namespace

int main() {
    SingleInstance instance;
    if (!singleInstanceAcquire(instance, runtimeFolder()))
        return 0; // the running game has been brought to the front
    Platform* platform = platformOpenSdl(2);
    if (!platform) {
        reportFatalError(u"Cannot open the game window (is a display available?)");
        singleInstanceRelease(instance);
        return 1;
    }
    const int status = runGame(platform, instance);
    platformClose(platform);
    singleInstanceRelease(instance);
    return status;
}
