// script_session.cpp: the frame loop of the game, run on a scripted clock instead of a real one.
#include "session/script_session.h"

#include <chrono>
#include <nlohmann/json.hpp>

#include "app/game_app.h"
#include "app/replay_recording.h"
#include "core/game_random.h"
#include "core/wide_string.h"
#include "match/match.h"
#include "platform/platform.h"
#include "platform/sound_output.h"

namespace {

// One frame is exactly 10,000 counts, so the scripted clock never drifts.
constexpr uint64_t kClockFrequency = 600000;
constexpr uint64_t kCountsPerFrame = kClockFrequency / 60;

// Only a seed taken from it depends on where the clock starts; the steps use differences.
uint64_t startingClock() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) *
        (kClockFrequency / 1000000.0));
}

// A match is set up anew on several screen changes (and after every tournament round), each time
// with the person as player 1; the flag is put back after every pass while auto play is on. The
// match's recording is told, so that its replay hands player 1 over at the same moment.
void applyAutoPlay(ScriptSession& session) {
    if (!session.app || !session.app->resources.match)
        return;
    uint8_t& isComputer = session.app->resources.match->players[0].isComputer;
    const uint8_t wanted = session.autoPlay ? 1 : 0;
    if (isComputer == wanted)
        return;
    isComputer = wanted;
    recordPlayer1Control(session.app, session.autoPlay);
}

void pass(ScriptSession& session) {
    if (session.ended)
        return;
    if (!shellPass(session.shell, session.app))
        session.ended = true;
    applyAutoPlay(session);
}

void deliver(ScriptSession& session, PlatformEventType type, int x, int y, int key) {
    if (session.ended)
        return;
    PlatformEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.key = key;
    platformInjectEvent(session.platform, event);
}

} // namespace

void openSession(ScriptSession& session, const SessionSetup& setup) {
    session.platform = platformOpenHeadless();
    session.platform->clockFrequency = kClockFrequency;
    session.platform->clockNow = startingClock();
    session.sound = soundOutputOpenHeadless();
    session.shell.platform = session.platform;
    const uint64_t start = shellStartClock(session.shell);
    seedGameRandom(setup.hasSeed ? setup.seed : static_cast<unsigned>(start & 0xFFFFFFFFu));
    GameSetup game;
    game.pakPath = fromUtf8(setup.pakPath);
    game.playersPath = setup.playersPath;
    game.output = session.sound;
    game.platform = session.platform;
    session.app = makeGameApp(game);
    pass(session); // the first frame advances nothing, but draws
}

void closeSession(ScriptSession& session) {
    destroyGameApp(session.app);
    session.app = nullptr;
    soundOutputClose(session.sound);
    session.sound = nullptr;
    platformClose(session.platform);
    session.platform = nullptr;
}

void runFrames(ScriptSession& session, int64_t frames) {
    for (int64_t i = 0; i < frames && !session.ended; ++i) {
        session.platform->clockNow += kCountsPerFrame;
        pass(session);
    }
}

void deliverPress(ScriptSession& session, int x, int y) {
    deliver(session, PlatformEventType::StylusDown, x, y, KeyOther);
    pass(session);
}

void deliverRelease(ScriptSession& session, int x, int y) {
    deliver(session, PlatformEventType::StylusUp, x, y, KeyOther);
    pass(session);
}

void deliverTap(ScriptSession& session, int x, int y) {
    deliver(session, PlatformEventType::StylusDown, x, y, KeyOther);
    deliver(session, PlatformEventType::StylusUp, x, y, KeyOther);
    pass(session);
}

void deliverQuitKey(ScriptSession& session) {
    deliver(session, PlatformEventType::KeyDown, 0, 0, KeyA);
    pass(session);
}

void setAutoPlay(ScriptSession& session, bool on) {
    session.autoPlay = on;
    applyAutoPlay(session);
}

std::string takeSoundsJson(ScriptSession& session) {
    nlohmann::json ids = nlohmann::json::array();
    const std::vector<int>& requests = session.sound->requests;
    for (size_t i = session.soundsShown; i < requests.size(); ++i)
        if (requests[i] >= 0) // -1 records a stop
            ids.push_back(requests[i]);
    session.soundsShown = requests.size();
    return ids.dump();
}
