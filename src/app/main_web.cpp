// main_web.cpp: the browser's entry: the kept profiles read in first, then the game object and
// its loop on the page's animation frames.
#include <emscripten.h>

#include <exception>
#include <string>

#include "app/game_app.h"
#include "app/shell.h"
#include "assets/file_error.h"
#include "core/game_random.h"
#include "platform/browser_storage.h"
#include "platform/error_report.h"
#include "platform/platform.h"
#include "platform/sound_device_web.h"
#include "platform/sound_output.h"

namespace {

// players.dat's folder, kept by the browser; data.pak comes preloaded with the page.
constexpr char kKeptFolder[] = "/drovana";
constexpr char16_t kDataFolder[] = u"/";

struct WebGame {
    Platform* platform = nullptr;
    SoundOutput* sound = nullptr;
    ShellState shell;
    GameApp* app = nullptr;
    bool over = false;
};

void reportAssetError(const FileError& error) {
    reportFatalError(error.detail.empty() ? error.message + u" (data.pak)" : fileErrorText(error));
}

// The same start as the desktop's: the clock seeds the generator, then sound, then the game.
void startGame(WebGame& game) {
    game.shell.platform = game.platform;
    seedGameRandom(static_cast<unsigned>(shellStartClock(game.shell) & 0xFFFFFFFFu));
    game.sound = soundOutputOpenWeb();
    GameSetup setup;
    setup.dataFolder = kDataFolder;
    setup.playersPath = std::string(kKeptFolder) + "/players.dat";
    setup.output = game.sound;
    setup.platform = game.platform;
    game.app = makeGameApp(setup);
    for (const WideString& notice : game.app->startNotices)
        showStartNotice(notice);
}

// The Quit button or the quit key: everything is freed in the desktop's order and the page
// says the game has ended.
void endGame(WebGame& game, int status) {
    emscripten_cancel_main_loop();
    destroyGameApp(game.app);
    game.app = nullptr;
    soundOutputClose(game.sound);
    game.sound = nullptr;
    platformClose(game.platform);
    game.platform = nullptr;
    game.over = true;
    // clang-format off
    EM_ASM({
        if (Module.drovanaEnded)
            Module.drovanaEnded($0);
    }, status);
    // clang-format on
}

// One animation frame: the shell's pass, once the kept profiles are in.
void frame(void* data) {
    WebGame& game = *static_cast<WebGame*>(data);
    if (game.over || (!game.app && !browserStorageReady()))
        return;
    int status = 0;
    try {
        if (!game.app)
            startGame(game);
        // A picture loaded at a screen change can fail as well as one loaded at start-up.
        if (shellPass(game.shell, game.app))
            return;
    } catch (const FileError& error) {
        reportAssetError(error);
        status = 1;
    } catch (const std::exception& error) {
        reportFatalError(fromUtf8(error.what()));
        status = 1;
    }
    endGame(game, status);
}

} // namespace

int main() {
    static WebGame game;
    game.platform = platformOpenWeb();
    browserStorageOpen(kKeptFolder);
    emscripten_set_main_loop_arg(frame, &game, 0, 1);
    return 0;
}
