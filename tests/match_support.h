// match_support.h: a match that keeps the sounds its steps asked for, its players, and the balls
// in flight that the rule, tally and stroke tests start from. Match layer only: the tests that
// need the built-in profiles include them themselves.
#pragma once

#include "assets/sound_ids.h"
#include "match/match.h"

#include <gtest/gtest.h>

#include <vector>

// Every stroke at one skill; the defaults are the weakest built-in player's (0.6, 4 m/s).
inline MatchPlayer evenPlayer(bool computer, Fixed skill = fx(0.6), Fixed runSpeed = fxFromInt(4)) {
    MatchPlayer p{};
    p.isComputer = computer ? 1 : 0;
    p.skills = {runSpeed, skill, skill, skill, skill, skill, skill, skill};
    return p;
}
// The strongest built-in player's strokes and pace (0.95, 5.5 m/s).
inline MatchPlayer strongPlayer(bool computer) {
    return evenPlayer(computer, fx(0.95), fx(5.5));
}

// A ball leaving player 1 toward player 2's half: into the box, past it, and falling steeply.
inline const Vec3 kIntoTheBox = {fx(-2), fx(0.2), fx(-3)};
inline const Vec3 kPastTheBox = {fx(-2), fx(0.2), fx(-8)};
inline const Vec3 kDown = {0, fxFromInt(-5), fxFromInt(-5)};

struct MatchFixture : ::testing::Test {
    Match* match = createMatch();
    std::vector<int> heard; // every step's sounds, in order

    ~MatchFixture() override { destroyMatch(match); }

    // Two human players: nothing moves or swings unless the test asks for it.
    void setUpHumans(int setsToWin = 1, Fixed level = 0) {
        setUpMatch(match, setsToWin, level, evenPlayer(false), strongPlayer(false));
        heard.clear();
    }
    std::vector<int> takeSounds() {
        std::vector<int> played = heard;
        heard.clear();
        return played;
    }
    void step(Fixed dt = 3276) {
        stepMatch(match, dt);
        const StepSounds& s = match->stepSounds;
        heard.insert(heard.end(), s.ids, s.ids + s.count);
    }
    // The half of the court a rally ball must land in: z from `nearZ` to `farZ` (in that order
    // of size), the whole singles width.
    void targetHalf(Fixed nearZ, Fixed farZ) {
        match->targetBox[BoxXMin] = -fx(4.11);
        match->targetBox[BoxXMax] = fx(4.11);
        match->targetBox[BoxZMin] = nearZ;
        match->targetBox[BoxZMax] = farZ;
    }
    // In play: player 1 has just struck toward player 2's half, as a serve from the right or,
    // with ServeState::None, as a rally ball.
    void ballFromPlayer1(ServeState serve, Vec3 position, Vec3 velocity) {
        setUpHumans();
        match->pointDelay = 0;
        match->serveState = serve;
        match->ballStruck = 1;
        match->nextStriker = 2;
        match->ball.dead = 0;
        match->ball.position = position;
        match->ball.velocity = velocity;
        if (serve == ServeState::None) {
            match->players[0].isServing = 0;
            targetHalf(-fx(11.89), -fx(0.02));
        }
    }
    // In a rally: player 2 has struck toward player 1, who stands at `playerAt` free to run over
    // its whole half at 5.5 m/s.
    void ballTowardPlayer1(Vec3 position, Vec3 velocity,
                           Vec3 playerAt = {fxFromInt(1), 0, fxFromInt(11)}) {
        setUpHumans();
        match->pointDelay = 0;
        match->serveState = ServeState::None;
        match->ballStruck = 1;
        match->nextStriker = 1;
        for (MatchPlayer& p : match->players)
            p.isServing = 0;
        MatchPlayer& p1 = match->players[0];
        p1.position = playerAt;
        p1.facing = {0, 0, -kFxOne};
        p1.xMin = fxFromInt(-10);
        p1.xMax = fxFromInt(10);
        p1.zMin = fx(0.3);
        p1.zMax = fxFromInt(18);
        p1.skills.runSpeed = fx(5.5);
        targetHalf(fx(0.02), fx(11.89));
        match->ball.dead = 0;
        match->ball.position = position;
        match->ball.velocity = velocity;
    }
    // What a tap on the opponent's half hands the match: the aim, and a shot asked for.
    void askForShot(Vec3 aim) {
        match->players[0].aimPoint = aim;
        match->tapFlags |= kTapShot;
    }
};
