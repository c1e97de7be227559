// scoring.cpp: points, games, tie-breaks, sets and the match, the change of server and ends.
#include "match/match.h"

#include "match/match_tally.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kComputerServerPause = fxFromInt(8);
constexpr Fixed kHumanServerPause = fxFromInt(15);
constexpr Fixed kSetupPause = fxFromInt(2);
constexpr int kTieBreakTarget = 7;
constexpr int kSetTarget = 6;

void tallyPoint(Match* m, int winner) {
    MatchTally& t = m->tally;
    ++t.points;
    ++t.players[winner - 1].pointsWon;
    PlayerTally& server = t.players[m->server - 1];
    ++server.servicePoints;
    if (winner == m->server) {
        ++server.servicePointsWon;
        if (t.exchangeStrokes == 1) {
            ++t.aces;
            ++server.aces;
        }
    }
    t.rallyStrokes += t.exchangeStrokes;
    if (t.exchangeStrokes > t.longestRally)
        t.longestRally = t.exchangeStrokes;
    tallyNetPoints(m, winner);
}

// Plain points: 0 15 30 40, then advantage and deuce, then the game.
void advancePoints(int& mine, int& theirs) {
    switch (mine) {
    case 0:
        mine = 15;
        break;
    case 15:
        mine = 30;
        break;
    case 30:
        mine = 40;
        break;
    case 40:
        if (theirs == 40) {
            mine = kAdvantagePoints;
            theirs = kDeucePoints;
        } else {
            mine = kGamePoints;
        }
        break;
    case kDeucePoints:
        if (theirs == kAdvantagePoints) {
            theirs = kDeucePoints;
        } else {
            mine = kAdvantagePoints;
            theirs = kDeucePoints;
        }
        break;
    default:
        mine = kGamePoints;
        break;
    }
}

// After a game the ends change when the set's games add up to an odd number (a won tie-break
// leaves 7-6, odd as well); in a tie-break, after every sixth point.
bool endsChangeAfterGames(int gamesTotal) {
    return gamesTotal % 2 == 1;
}
bool endsChangeInTieBreak(int pointsTotal) {
    return pointsTotal % 6 == 0;
}

// The games of a finished set, from the digits the set table keeps.
int finishedSetGames(const Match* m, int set) {
    const int at = 2 * set;
    if (at < 0 || at + 1 >= kSetScoreTextLength)
        return 0;
    return (m->setScoreText[at] - '0') + (m->setScoreText[at + 1] - '0');
}

bool tieBreakWon(const int points[2], int winner) {
    const int mine = points[winner - 1], theirs = points[2 - winner];
    return mine >= kTieBreakTarget && mine - theirs >= 2;
}

void writeSetScore(Match* m) {
    // setsToWin comes from the saved options: never write past the five sets the text holds.
    const int at = 2 * m->setIndex;
    if (at < 0 || at + 1 >= kSetScoreTextLength)
        return;
    m->setScoreText[at] = static_cast<char>('0' + m->games[0] % 10);
    m->setScoreText[at + 1] = static_cast<char>('0' + m->games[1] % 10);
}

void changeServer(Match* m) {
    m->server = otherPlayer(m->server);
}

void winGame(Match* m, int winner, bool afterTieBreak) {
    const int w = winner - 1, l = 2 - winner;
    m->points[0] = m->points[1] = 0;
    m->games[w] += 1;
    ++m->tally.players[w].gamesWon;
    m->tieBreak = 0;
    writeSetScore(m);
    m->serveCourt = 0;
    changeServer(m);
    if (afterTieBreak || endsChangeAfterGames(m->games[0] + m->games[1]))
        swapEnds(m);

    const bool setWon =
        afterTieBreak || (m->games[w] >= kSetTarget && m->games[w] - m->games[l] >= 2);
    if (setWon) {
        m->players[w].wonSet = 1;
        m->players[l].lostSet = 1;
        m->setsWon[w] += 1;
        m->setIndex += 1;
        m->games[0] = m->games[1] = 0;
        if (m->setsWon[w] == m->setsToWin)
            m->matchOver = 1;
    }
    if (!afterTieBreak && m->games[0] == kSetTarget && m->games[1] == kSetTarget)
        m->tieBreak = 1;
}

} // namespace

bool endsChangedAfterLastPoint(const Match* m) {
    if (m->isPractice || !m->showScore)
        return false;
    const int points = m->points[0] + m->points[1];
    if (m->tieBreak)
        return points > 0 && endsChangeInTieBreak(points);
    if (points > 0)
        return false; // within a game
    const int games = m->games[0] + m->games[1];
    if (games > 0)
        return endsChangeAfterGames(games);
    // A set has just been won and its games cleared; the set table still holds them.
    return m->setIndex > 0 && endsChangeAfterGames(finishedSetGames(m, m->setIndex - 1));
}

void swapEnds(Match* m) {
    m->endsSwapped ^= 1;
}

void startPointDelay(Match* m) {
    m->pointDelay = isHumanServer(m) ? kHumanServerPause : kComputerServerPause;
    m->setupDelay = kSetupPause;
}

void awardPoint(Match* m, int winner) {
    tallyPoint(m, winner);
    m->serveCourt ^= 1;
    if (m->isPractice) {
        m->serveState = ServeState::First;
        m->showScore = 0;
        startPointDelay(m);
        return;
    }
    const int w = winner - 1, l = 2 - winner;
    if (m->tieBreak) {
        m->points[w] += 1;
        if (tieBreakWon(m->points, winner)) {
            winGame(m, winner, true);
        } else {
            const int total = m->points[0] + m->points[1];
            if (total % 2 == 1)
                changeServer(m);
            if (endsChangeInTieBreak(total))
                swapEnds(m);
        }
    } else {
        advancePoints(m->points[w], m->points[l]);
        if (m->points[w] == kGamePoints)
            winGame(m, winner, false);
    }
    m->serveState = ServeState::First;
    m->showScore = 1;
    startPointDelay(m);
}
