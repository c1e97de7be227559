// scene_states.cpp: entering a screen from its table and playing the match to a chosen moment.
#include "scenes/scene_states.h"

#include "assets/asset_names.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "core/game_random.h"
#include "frontend/court_taps.h"
#include "frontend/player_profile.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_tables.h"
#include "match/match.h"
#include "view/engine3d.h"
#include "view/figure_posing.h"
#include "view/screen_render.h"

namespace {

constexpr Fixed kFrameStep = 3276;            // 0.05 s, the game's longest update
constexpr Fixed kFineStep = 655;              // 0.01 s, to stop just before an event
constexpr Fixed kMatchLevel = 32768;          // Rookie
constexpr int kMaxSearchSteps = 60 * 60 * 20; // an hour of play
MatchPlayer rosterPlayer(int slot, bool computer) {
    return matchPlayerFromProfile(kDefaultRoster[slot], computer);
}

void enterScreen(SceneRig& rig, ScreenId screen, int stadium) {
    rig.screen = screen;
    ScreenEntryContext context;
    context.stadium = stadium;
    context.shownProfile = &kDefaultRoster[0];
    enterScreenFromTable(rig.resources.engine->jpeg, rig.resources.engine->frame.backdrop,
                         rig.resources.pak, screen, context, rig.buttons);
    markBackdropChanged(rig.resources.engine->frame);
}

void step(Match* match, Fixed dt) {
    stepMatch(match, dt);
}

template <typename Condition> bool playUntil(Match* match, Fixed dt, Condition reached) {
    for (int i = 0; i < kMaxSearchSteps; ++i) {
        if (reached(*match))
            return true;
        step(match, dt);
    }
    return false;
}

bool ballFlying(const Match& m) {
    const Vec3& p = m.ball.position;
    const Vec3& q = m.ballPrevPosition;
    const int64_t dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
    return !m.ball.dead && dx * dx + dy * dy + dz * dz > int64_t{1311} * 1311;
}

void setUpPlayers(SceneRig& rig, bool player1Human, int stadium) {
    setUpMatch(rig.resources.match, 1, kMatchLevel, rosterPlayer(0, !player1Human),
               rosterPlayer(1, true));
    setSurface(rig.resources.match, stadium);
}

// Player 1 waits for the meter, taps deep into the far service box and swings at the toss.
bool playToServe(SceneRig& rig) {
    Match* m = rig.resources.match;
    if (!playUntil(m, kFrameStep, [](const Match& s) { return s.serveMeterOn != 0; }))
        return false;
    if (!playUntil(m, kFrameStep, [](const Match& s) { return s.serveMeter >= 58982; }))
        return false;
    const Vec3 aim = {fxFromDouble(-1.5), 0, fxFromDouble(-5.5)};
    tapCourt(m, aim);
    return playUntil(m, kFineStep, [](const Match& s) {
        const MatchPlayer& server = s.players[0];
        return server.swinging && server.timeToContact > 0 && server.timeToContact <= 4000;
    });
}

bool playToRally(SceneRig& rig) {
    return playUntil(rig.resources.match, kFrameStep, [](const Match& s) {
        return s.tally.exchangeStrokes >= 4 && s.serveState == ServeState::None &&
               s.pointDelay == 0 && ballFlying(s) && s.ball.position.y > fxFromInt(1);
    });
}

bool playToPointOver(SceneRig& rig) {
    return playUntil(rig.resources.match, kFrameStep, [](const Match& s) {
        return s.tally.points >= 2 && s.showScore && s.pointDelay > 0 && ballFlying(s) &&
               (s.points[0] != 0 || s.points[1] != 0);
    });
}

bool playFor(SceneRig& rig, double seconds) {
    const int steps = static_cast<int>(seconds * 20.0);
    for (int i = 0; i < steps; ++i)
        step(rig.resources.match, kFrameStep);
    return true;
}

void setUpSelection(SceneRig& rig) {
    for (FigureMotion* figure : {&rig.figures.player1, &rig.figures.player2})
        *figure = {AnimRest, 39321}; // 0.6 s into the rest
    enterScreen(rig, ExhibitionPlayer1, 0);
}

} // namespace

SceneRig* makeSceneRig(const std::string& pakPath) {
    auto* rig = new SceneRig;
    try {
        openArchiveAndEngine(rig->resources, fromUtf8(pakPath));
        openSoundsAndMatch(rig->resources, nullptr);
        dressPlayerModel(*rig->resources.engine->playerModels[0], kDefaultRoster[0]);
        dressPlayerModel(*rig->resources.engine->playerModels[1], kDefaultRoster[1]);
    } catch (...) {
        destroySceneRig(rig);
        throw;
    }
    return rig;
}

void destroySceneRig(SceneRig* rig) {
    if (!rig)
        return;
    freeScreenButtons(rig->buttons);
    closeGameResources(rig->resources);
    delete rig;
}

bool setUpScene(SceneRig& rig, const SceneRequest& request) {
    seedGameRandom(request.seed);
    if (request.kind == SceneKind::Selection) {
        setUpSelection(rig);
        return true;
    }
    const bool humanServes = request.kind == SceneKind::Serve;
    setUpPlayers(rig, humanServes, request.stadium);
    enterScreen(rig, ExhibitionMatch, request.stadium);
    switch (request.kind) {
    case SceneKind::Serve:
        return playToServe(rig);
    case SceneKind::Rally:
        return playToRally(rig);
    case SceneKind::PointOver:
        return playToPointOver(rig);
    case SceneKind::Close:
        if (!playToRally(rig))
            return false;
        rig.resources.match->players[0].position = {fxFromInt(1), 0, fxFromInt(14)};
        return true;
    case SceneKind::FreePlay:
        return playFor(rig, request.seconds);
    case SceneKind::Selection:
        break;
    }
    return false;
}

GameView sceneView(SceneRig& rig) {
    GameView view;
    view.screen = rig.screen;
    view.buttons = rig.buttons.data();
    view.buttonCount = static_cast<int32_t>(rig.buttons.size());
    view.skillPoints = rig.skillPoints;
    view.match = rig.resources.match;
    return view;
}

void drawSceneFrame(SceneRig& rig) {
    const GameView view = sceneView(rig);
    afterUpdateScreen(*rig.resources.engine, view, rig.figures);
    renderScreen(*rig.resources.engine, view);
}

std::vector<NamedScene> goldenScenes() {
    std::vector<NamedScene> scenes = {
        {"serve", {SceneKind::Serve, 0, 7, 0}},
        {"point_over", {SceneKind::PointOver, 0, 7, 0}},
        {"close", {SceneKind::Close, 0, 7, 0}},
        {"selection", {SceneKind::Selection, 0, 7, 0}},
    };
    for (int stadium = 0; stadium < 5; ++stadium)
        scenes.push_back(
            {"rally_court" + std::to_string(stadium + 1), {SceneKind::Rally, stadium, 7, 0}});
    return scenes;
}
