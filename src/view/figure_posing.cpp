// figure_posing.cpp: posing the figures from the match players or the menus' own figures, and
// the menus' idle cycle.
#include "view/figure_posing.h"

#include "match/match.h"
#include "view/engine3d.h"

namespace {

void poseFromPlayer(Engine3D& engine, int figure, const MatchPlayer& player) {
    applyPlayerAnimation(engine.playerPoses[figure], engine.animations, player.anim,
                         player.animLoops, player.animTime);
}

void poseFromMotion(Engine3D& engine, int figure, const FigureMotion& motion) {
    applyPlayerAnimation(engine.playerPoses[figure], engine.animations, motion.anim, 0,
                         motion.time);
}

// A figure whose animation ended starts the next one of the cycle from its beginning.
void advanceWhenFinished(const Engine3D& engine, int figure, FigureMotion& motion) {
    if (!poseFinished(engine.playerPoses[figure]))
        return;
    motion.time = 0;
    motion.anim = nextIdleAnimation(motion.anim);
}

// Both figures posed; `secondAdvances` says whether the second steps through the cycle too.
void poseShownFigures(Engine3D& engine, FigureMotion& first, FigureMotion& second,
                      bool secondAdvances) {
    poseFromMotion(engine, 0, first);
    poseFromMotion(engine, 1, second);
    advanceWhenFinished(engine, 0, first);
    if (secondAdvances)
        advanceWhenFinished(engine, 1, second);
}

} // namespace

void restartFigure(FigureMotion& figure) {
    figure = FigureMotion{};
}

void advanceFigure(FigureMotion& figure, Fixed dt) {
    figure.time = fxAdd(figure.time, dt);
}

int32_t nextIdleAnimation(int32_t anim) {
    switch (anim) {
    case AnimRest:
        return AnimForehand;
    case AnimForehand:
        return AnimBackhand;
    case AnimBackhand:
        return AnimForehandSmash;
    case AnimForehandSmash:
        return AnimRest;
    default:
        return anim;
    }
}

void poseMatchPlayers(Engine3D& engine, const Match& match) {
    poseFromPlayer(engine, 0, match.players[0]);
    poseFromPlayer(engine, 1, match.players[1]);
}

void afterUpdateScreen(Engine3D& engine, const GameView& view, ShownFigures& figures) {
    switch (view.screen) {
    case ExhibitionMatch:
    case TournamentMatch:
    case Practice:
        if (view.match)
            poseMatchPlayers(engine, *view.match);
        break;
    case ExhibitionPlayer1:
    case ExhibitionPlayer2:
        poseShownFigures(engine, figures.player1, figures.player2, true);
        break;
    case TournamentPlayer:
    case PracticePlayer:
        poseShownFigures(engine, figures.player1, figures.player2, false);
        break;
    case NewPlayer:
        poseShownFigures(engine, figures.preview, figures.player2, true);
        break;
    default:
        break;
    }
}
