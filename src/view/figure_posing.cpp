// figure_posing.cpp: posing the figures from the records, and the menus' idle cycle.
#include "view/figure_posing.h"

#include "match/match.h"
#include "view/engine3d.h"

namespace {

void poseFrom(Engine3D& engine, int figure, const MatchPlayer& player) {
    applyPlayerAnimation(engine.playerPoses[figure], engine.animations, player.anim,
                         player.animLoops, player.animTime);
}

// A figure whose animation ended starts the next one of the cycle from its beginning.
void advanceWhenFinished(const Engine3D& engine, int figure, MatchPlayer* player) {
    if (!player || !poseFinished(engine.playerPoses[figure]))
        return;
    player->animTime = 0;
    player->anim = nextIdleAnimation(player->anim);
}

// Both figures posed; `advancing` says which of the two records step through the cycle.
void poseShownFigures(Engine3D& engine, MatchPlayer* first, MatchPlayer* second,
                      bool secondAdvances) {
    if (first)
        poseFrom(engine, 0, *first);
    if (second)
        poseFrom(engine, 1, *second);
    advanceWhenFinished(engine, 0, first);
    if (secondAdvances)
        advanceWhenFinished(engine, 1, second);
}

} // namespace

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
    poseFrom(engine, 0, match.players[0]);
    poseFrom(engine, 1, match.players[1]);
}

void afterUpdateScreen(Engine3D& engine, const GameView& view) {
    switch (view.screen) {
    case ExhibitionMatch:
    case TournamentMatch:
    case Practice:
        if (view.match)
            poseMatchPlayers(engine, *view.match);
        break;
    case ExhibitionPlayer1:
    case ExhibitionPlayer2:
        poseShownFigures(engine, view.player1, view.player2, true);
        break;
    case TournamentPlayer:
    case PracticePlayer:
        poseShownFigures(engine, view.player1, view.player2, false);
        break;
    case NewPlayer:
        poseShownFigures(engine, view.previewPlayer, view.player2, true);
        break;
    default:
        break;
    }
}
