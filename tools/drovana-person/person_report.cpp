// person_report.cpp: the per-level figures of the scripted person.
#include "person_report.h"

#include "match/match_tally.h"

#include <cstdio>
#include <string>

namespace {

using json = nlohmann::ordered_json;

const char* const kLevelNames[] = {"Beginner", "Amateur", "Rookie", "Pro", "Champion"};

double percent(int64_t part, int64_t whole) {
    return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

int64_t nonServeStrokes(const PlayerTally& t) {
    int64_t sum = 0;
    for (int k = 0; k < kStrokeKinds; ++k)
        if (k != static_cast<int>(StrokeKind::Serve))
            sum += t.strokes[k];
    return sum;
}

json byKind(const int64_t (&counts)[kStrokeKinds]) {
    json out = json::object();
    for (int k = 0; k < kStrokeKinds; ++k)
        out[strokeKindName(k)] = counts[k];
    return out;
}

json sideJson(const PersonLevelFigures& f, int side) {
    return json{{"strokes", byKind(f.strokes[side])},
                {"winners", byKind(f.winners[side])},
                {"errors", byKind(f.errors[side])}};
}

json levelJson(const PersonLevelFigures& f) {
    return json{{"level", f.level},
                {"levelName", kLevelNames[f.level]},
                {"matches", f.matches},
                {"matchesWon", f.matchesWon},
                {"unfinished", f.unfinished},
                {"points", f.points},
                {"pointsWon", f.pointsWon},
                {"pointsWonPercent", percent(f.pointsWon, f.points)},
                {"firstServes", f.firstServes},
                {"firstServesIn", f.firstServesIn},
                {"secondServes", f.secondServes},
                {"secondServesIn", f.secondServesIn},
                {"aces", f.aces},
                {"doubleFaults", f.doubleFaults},
                {"opponentAces", f.opponentAces},
                {"opponentDoubleFaults", f.opponentDoubleFaults},
                {"averageRally", f.points ? static_cast<double>(f.rallyStrokes) / f.points : 0.0},
                {"longestRally", f.longestRally},
                {"ballsToReturn", f.ballsToReturn},
                {"returned", f.returned},
                {"aimTaps", f.aimTaps},
                {"aimTapsPlanned", f.aimTapsPlanned},
                {"aimTapsMet", f.aimTapsMet},
                {"aimTapsMetPercent", percent(f.aimTapsMet, f.aimTaps)},
                {"earlySwings", f.earlySwings},
                {"person", sideJson(f, 0)},
                {"computer", sideJson(f, 1)},
                {"gameSeconds", f.seconds}};
}

} // namespace

void addPersonMatch(PersonLevelFigures& f, const PersonMatch& match) {
    const MatchTally& t = match.tally;
    const PlayerTally& me = t.players[0];
    const PlayerTally& other = t.players[1];
    ++f.matches;
    f.matchesWon += match.won ? 1 : 0;
    f.unfinished += match.finished ? 0 : 1;
    f.points += t.points;
    f.pointsWon += me.pointsWon;
    f.firstServes += me.firstServes;
    f.firstServesIn += me.firstServesIn;
    f.secondServes += me.secondServes;
    f.secondServesIn += me.secondServesIn;
    f.aces += me.aces;
    f.doubleFaults += me.doubleFaults;
    f.opponentAces += other.aces;
    f.opponentDoubleFaults += other.doubleFaults;
    f.rallyStrokes += t.rallyStrokes;
    f.longestRally = std::max<int64_t>(f.longestRally, t.longestRally);
    f.ballsToReturn += match.ballsToReturn;
    f.returned += nonServeStrokes(me);
    f.aimTaps += match.aimTaps;
    f.aimTapsPlanned += match.aimTapsPlanned;
    f.aimTapsMet += match.aimTapsMet;
    f.earlySwings += match.earlySwings;
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < kStrokeKinds; ++k) {
            f.strokes[side][k] += t.players[side].strokes[k];
            f.winners[side][k] += t.players[side].winners[k];
            f.errors[side][k] += t.players[side].errors[k];
        }
    f.seconds += match.seconds;
}

json personFiguresJson(const std::vector<PersonLevelFigures>& levels) {
    json out = json::array();
    for (const PersonLevelFigures& f : levels)
        out.push_back(levelJson(f));
    return out;
}

void printPersonTable(const std::vector<PersonLevelFigures>& levels) {
    std::printf("%-9s %8s %8s %11s %7s %9s %8s %7s %12s %13s %7s\n", "level", "matches", "won",
                "points won", "aces", "dbl flt", "opp aces", "rally", "returned", "aim taps met",
                "early");
    for (const PersonLevelFigures& f : levels) {
        const std::string returned =
            std::to_string(f.returned) + "/" + std::to_string(f.ballsToReturn);
        const std::string met = std::to_string(f.aimTapsMet) + "/" + std::to_string(f.aimTaps);
        std::printf("%-9s %8d %8d %10.1f%% %7lld %9lld %8lld %7.2f %12s %13s %7lld\n",
                    kLevelNames[f.level], f.matches, f.matchesWon, percent(f.pointsWon, f.points),
                    static_cast<long long>(f.aces), static_cast<long long>(f.doubleFaults),
                    static_cast<long long>(f.opponentAces),
                    f.points ? static_cast<double>(f.rallyStrokes) / f.points : 0.0,
                    returned.c_str(), met.c_str(), static_cast<long long>(f.earlySwings));
    }
}
