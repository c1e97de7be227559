// main.cpp: process entry: one instance, the window, the clock, the game object and its loop.
#include <cstdio>
#include <exception>

#include "app/game_app.h"
#include "app/replay_playback.h"
#include "app/shell.h"
#include "assets/file_error.h"
#include "core/game_random.h"
#include "frontend/profile_store.h"
#include "frontend/replay_file.h"
#include "platform/command_line.h"
#include "platform/data_location.h"
#include "platform/error_report.h"
#include "platform/platform.h"
#include "platform/single_instance.h"
#include "platform/sound_output.h"

namespace {

// The message names what went wrong and, where the reader knew it, the entry and the archive;
// otherwise the archive, where every asset comes from.
void reportAssetError(const FileError& error, const WideString& folder) {
    reportFatalError(error.detail.empty() ? error.message + u" (" + folder + u"data.pak)"
                                          : fileErrorText(error));
}

void showStartNotices(const GameApp* app) {
    for (const WideString& notice : app->startNotices)
        showStartNotice(notice);
}

// The replay asked for on the command line, read and checked before any window opens; false with
// the reason shown (stderr, and a message box where a display exists).
bool readReplayToWatch(const std::string& path, ReplayFile& replay) {
    std::string error;
    if (readReplayFile(path, replay, error) &&
        replayArchiveMatches(replay, archiveIdentityOf(toUtf8(dataFolder() + u"data.pak")), error))
        return true;
    reportFatalError(fromUtf8(error));
    return false;
}

int runGame(Platform* platform, SingleInstance& instance, ReplayFile* replay) {
    ShellState shell;
    shell.platform = platform;
    seedGameRandom(static_cast<unsigned>(shellStartClock(shell) & 0xFFFFFFFFu));
    SoundOutput* sound = soundOutputOpenSdl();
    GameSetup setup;
    setup.dataFolder = dataFolder();
    setup.playersPath = defaultPlayersPath();
    setup.output = sound;
    setup.platform = platform;
    GameApp* app = nullptr;
    int status = 0;
    try {
        app = makeGameApp(setup);
        if (replay) {
            std::string error;
            if (!startPlayback(app, std::move(*replay), error))
                reportFatalError(fromUtf8(error));
        }
        // The first pass puts the logo on the screen, so a notice stands over the game it is
        // about rather than over an empty window.
        bool noticesShown = false;
        // A picture loaded at a screen change can fail as well as one loaded at start-up.
        while (shellPass(shell, app)) {
            if (!noticesShown) {
                showStartNotices(app);
                noticesShown = true;
            }
            if (singleInstanceRaiseRequested(instance))
                platformRaiseWindow(platform);
        }
    } catch (const FileError& error) {
        reportAssetError(error, setup.dataFolder);
        status = 1;
    } catch (const std::exception& error) {
        reportFatalError(fromUtf8(error.what()));
        status = 1;
    }
    destroyGameApp(app);
    soundOutputClose(sound);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine options = parseCommandLine(argc, argv);
    if (const int status = answerCommandLine(options); status >= 0)
        return status;
    ReplayFile replay;
    if (!options.replayPath.empty() && !readReplayToWatch(options.replayPath, replay))
        return 1;
    SingleInstance instance;
    if (!singleInstanceAcquire(instance, runtimeFolder()))
        return 0; // the running game has been brought to the front
    Platform* platform = platformOpenSdl(options.scale);
    if (!platform) {
        reportFatalError(u"Cannot open the game window (is a display available?)");
        singleInstanceRelease(instance);
        return 1;
    }
    applyWindowOptions(platform, options);
    const int status = runGame(platform, instance, options.replayPath.empty() ? nullptr : &replay);
    platformClose(platform);
    singleInstanceRelease(instance);
    return status;
}
