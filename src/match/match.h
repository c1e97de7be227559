// match.h: one match or practice drill: score, serve sequence, players, ball and court.
#pragma once

#include "core/fixed_point.h"
#include "match/ball.h"
#include "match/match_player.h"

#include <cstdint>

// The kinds of stroke the tally tells apart; jump shots count as volleys.
enum class StrokeKind : int32_t { Forehand = 0, Backhand, Volley, Smash, Lob, Serve };
constexpr int kStrokeKinds = 6;

// One player's share of the tally. A winner is a ball the other player never returned (a serve
// winner is an ace); an error is a ball out or into the net that ended the point (a double fault
// is the serve's error).
struct PlayerTally {
    int32_t pointsWon;
    int32_t gamesWon;
    int32_t servicePoints;
    int32_t servicePointsWon;
    int32_t firstServes; // first serves judged in or out; lets are served again and not counted
    int32_t firstServesIn;
    int32_t secondServes;
    int32_t secondServesIn;
    int32_t aces;
    int32_t doubleFaults;
    int32_t netTouches; // by this player's ball while the point is live
    // Points in which this player struck a rally ball from inside the service line.
    int32_t netPoints;
    int32_t netPointsWon;
    int32_t fastestServeInKmh;     // of the serves judged in; 0 before the first
    int32_t strokes[kStrokeKinds]; // balls struck, serves included
    int32_t winners[kStrokeKinds];
    int32_t errors[kStrokeKinds];
};

// What happened since the last set-up, counted by the rules for the simulator and the tests.
struct MatchTally {
    int32_t points;
    int32_t aces;   // points won by a serve that the receiver never touched
    int32_t faults; // every serve that missed its box, second ones included
    int32_t doubleFaults;
    int32_t lets;
    int32_t netTouches;      // while the point is live: a ball rolling after the point is not play
    int32_t strokes;         // every stroke that struck the ball, serves included
    int32_t exchangeStrokes; // strokes since the last serve was struck
    int64_t rallyStrokes;    // sum over finished points of the deciding exchange's strokes
    int32_t longestRally;
    int32_t lastStroke; // StrokeId of the last ball struck
    uint8_t atNet[2];   // per player: has come in during this point
    PlayerTally players[2];
};

constexpr int kSetScoreTextLength = 10;

// Points of a plain game run 0 15 30 40; beyond 40 they are coded: deuce for both, advantage
// against deuce, and the game.
constexpr int32_t kDeucePoints = 50;
constexpr int32_t kAdvantagePoints = 55;
constexpr int32_t kGamePoints = 60;

enum class PracticeMode : int32_t { Serve = 0, Return = 1, BaselineRally = 2, NetRally = 3 };

// The sounds one call of stepMatch asked for, in order; the game plays them after the step.
// Each sound cuts off the one before, so when a step asks for more than fit, the last place
// takes the newest.
constexpr int kMaxStepSounds = 16;
struct StepSounds {
    int32_t count;
    int32_t ids[kMaxStepSounds]; // SoundId
};

struct Match {
    uint8_t isPractice;
    PracticeMode practiceMode;
    Fixed level; // 0, 0.25 .. 1.0 for Beginner .. Champion
    StepSounds stepSounds;
    uint8_t matchOver;
    int32_t tapFlags; // bit 0: a shot or the serve was asked for
    int32_t setIndex;
    char setScoreText[kSetScoreTextLength]; // games per set as digits, two per set
    int32_t setsToWin;
    int32_t setsWon[2];
    int32_t games[2];
    int32_t points[2]; // 0 15 30 40 and the codes above; a tie-break counts points
    uint8_t tieBreak;
    int32_t server;     // 1 or 2
    int32_t serveCourt; // 0 right half of the baseline, 1 left half
    ServeState serveState;
    int32_t endsSwapped;
    int32_t nextStriker; // 1 or 2
    uint8_t ballStruck;
    uint8_t bounced;
    uint8_t netTouched;
    Fixed targetBox[4]; // xMin, xMax, zMin, zMax of the next first bounce
    uint8_t bounceMarkVisible;
    Vec3 bounceMark;
    int32_t ballSpeedKmh;
    uint8_t serveMeterOn;
    Fixed serveMeter;
    Fixed serveMeterRate;
    Fixed pointDelay; // while positive no rule is applied
    Fixed setupDelay;
    int32_t showScore;
    MatchPlayer players[2];
    Ball ball;
    Vec3 ballPrevPosition;
    CourtPlane ground;
    CourtPlane net;
    MatchTally tally;
};

enum TargetBoxSide : int { BoxXMin = 0, BoxXMax = 1, BoxZMin = 2, BoxZMax = 3 };

constexpr int32_t kTapShot = 1;
constexpr Fixed kServeMeterStart = 19660;      // 0.3
constexpr Fixed kServeMeterAutomatic = 111412; // 1.7

Match* createMatch();
void destroyMatch(Match* match);

// level is index * 0.25 in Fixed; the entries are copied whole.
void setUpMatch(Match* match, int setsToWin, Fixed level, const MatchPlayer& player1,
                const MatchPlayer& player2);
void setUpPractice(Match* match, PracticeMode practiceMode, Fixed level, const MatchPlayer& player1,
                   const MatchPlayer& player2);
void setSurface(Match* match, int surfaceKind);

// Advances everything by dt, consuming it; a bounce may leave it slightly below 0. stepSounds
// then holds the sounds of this step alone.
void stepMatch(Match* match, Fixed& dt);

// The rules' own steps.
void awardPoint(Match* match, int winner);
void startPointDelay(Match* match);
void setUpPoint(Match* match);
void swapEnds(Match* match);

// True from a point after which the players changed ends until the next point or fault: read
// for the caption of the pause, and worked out from the score so that no rule depends on it.
bool endsChangedAfterLastPoint(const Match* match);

// 1-based player numbers to records.
inline MatchPlayer& playerOf(Match* match, int number) {
    return match->players[number - 1];
}
inline int otherPlayer(int number) {
    return 3 - number;
}
bool isHumanServer(const Match* match);
