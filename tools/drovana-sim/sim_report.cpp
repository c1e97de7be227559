// sim_report.cpp: the simulator's figures as JSON and as readable tables.
#include "sim_report.h"

#include "match/match_tally.h"

#include <cstdio>

namespace {

using json = nlohmann::ordered_json;

double perPoint(int64_t count, int64_t points) {
    return points ? static_cast<double>(count) / static_cast<double>(points) : 0.0;
}

json byKind(const int64_t (&counts)[kStrokeKinds]) {
    json j = json::object();
    for (int k = 0; k < kStrokeKinds; ++k)
        j[strokeKindName(k)] = counts[k];
    return j;
}

int64_t sumOf(const int64_t (&counts)[kStrokeKinds]) {
    int64_t sum = 0;
    for (int64_t c : counts)
        sum += c;
    return sum;
}

json playerJson(const SimPlayerFigures& f) {
    return json{
        {"matchesWon", f.matchesWon},
        {"pointsWon", f.pointsWon},
        {"gamesWon", f.gamesWon},
        {"servicePoints", f.servicePoints},
        {"servicePointsWon", f.servicePointsWon},
        {"servicePointsWonPercent", percentOf(f.servicePointsWon, f.servicePoints)},
        {"firstServes", f.firstServes},
        {"firstServesIn", f.firstServesIn},
        {"firstServesInPercent", percentOf(f.firstServesIn, f.firstServes)},
        {"secondServes", f.secondServes},
        {"secondServesIn", f.secondServesIn},
        {"secondServesInPercent", percentOf(f.secondServesIn, f.secondServes)},
        {"aces", f.aces},
        {"doubleFaults", f.doubleFaults},
        {"strokes", byKind(f.strokes)},
        {"winners", byKind(f.winners)},
        {"errors", byKind(f.errors)},
        {"netTouches", f.netTouches},
    };
}

// One row of the table: a label, then the two players and the total.
void row(const char* label, const std::string cells[3]) {
    std::printf("%-22s %16s %16s %16s\n", label, cells[0].c_str(), cells[1].c_str(),
                cells[2].c_str());
}

std::string countText(int64_t n) {
    return std::to_string(n);
}

std::string shareText(int64_t part, int64_t whole) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld/%lld %.1f%%", static_cast<long long>(part),
                  static_cast<long long>(whole), percentOf(part, whole));
    return text;
}

} // namespace

std::string rosterName(int slot) {
    std::string name;
    for (const char16_t* part : {kDefaultRoster[slot].firstName, kDefaultRoster[slot].lastName}) {
        if (!name.empty())
            name += ' ';
        for (int i = 0; i < kProfileNameLength && part[i]; ++i)
            name += static_cast<char>(part[i] < 0x80 ? part[i] : '?');
    }
    return name;
}

json figuresJson(const SimFigures& f, const std::string names[2]) {
    json players = json::array();
    for (int i = 0; i < 2; ++i) {
        json p = json{{"name", names[i]}};
        p.update(playerJson(f.players[i]));
        players.push_back(p);
    }
    json total = playerJson(bothPlayers(f));
    total.erase("matchesWon");
    total["points"] = f.points;
    total["strokes"] = f.strokes;
    total["faults"] = f.faults;
    total["lets"] = f.lets;
    total["netTouchesPerPoint"] = perPoint(total["netTouches"].get<int64_t>(), f.points);
    total["averageRally"] = perPoint(f.rallyStrokes, f.points);
    total["longestRally"] = f.longestRally;
    total["averageMatchSeconds"] = f.matches ? f.simSeconds / f.matches : 0.0;
    total["longestMatchSeconds"] = f.longestMatchSeconds;
    return json{{"matches", f.matches},
                {"unfinished", f.unfinished},
                {"players", players},
                {"total", total}};
}

void printFiguresTable(const SimFigures& f, const std::string names[2]) {
    const SimPlayerFigures both = bothPlayers(f);
    const SimPlayerFigures* cols[3] = {&f.players[0], &f.players[1], &both};
    auto line = [&](const char* label, auto text) {
        std::string cells[3];
        for (int c = 0; c < 3; ++c)
            cells[c] = text(*cols[c]);
        row(label, cells);
    };
    std::printf("%d matches, %lld points, %d unfinished\n\n", f.matches,
                static_cast<long long>(f.points), f.unfinished);
    const std::string heads[3] = {names[0], names[1], "total"};
    row("", heads);
    line("matches won", [&](const SimPlayerFigures& p) {
        return &p == &both ? countText(f.matches) : countText(p.matchesWon);
    });
    line("points won", [](const SimPlayerFigures& p) { return countText(p.pointsWon); });
    line("games won", [](const SimPlayerFigures& p) { return countText(p.gamesWon); });
    line("service points won",
         [](const SimPlayerFigures& p) { return shareText(p.servicePointsWon, p.servicePoints); });
    line("first serves in",
         [](const SimPlayerFigures& p) { return shareText(p.firstServesIn, p.firstServes); });
    line("second serves in",
         [](const SimPlayerFigures& p) { return shareText(p.secondServesIn, p.secondServes); });
    line("aces", [](const SimPlayerFigures& p) { return countText(p.aces); });
    line("double faults", [](const SimPlayerFigures& p) { return countText(p.doubleFaults); });
    line("strokes", [](const SimPlayerFigures& p) { return countText(sumOf(p.strokes)); });
    for (int k = 0; k < kStrokeKinds; ++k) {
        const std::string label = std::string("  ") + strokeKindName(k);
        line(label.c_str(), [k](const SimPlayerFigures& p) { return countText(p.strokes[k]); });
    }
    line("winners", [](const SimPlayerFigures& p) { return countText(sumOf(p.winners)); });
    for (int k = 0; k < kStrokeKinds; ++k) {
        const std::string label = std::string("  ") + strokeKindName(k);
        line(label.c_str(), [k](const SimPlayerFigures& p) { return countText(p.winners[k]); });
    }
    line("errors", [](const SimPlayerFigures& p) { return countText(sumOf(p.errors)); });
    for (int k = 0; k < kStrokeKinds; ++k) {
        const std::string label = std::string("  ") + strokeKindName(k);
        line(label.c_str(), [k](const SimPlayerFigures& p) { return countText(p.errors[k]); });
    }
    line("net touches in play", [](const SimPlayerFigures& p) { return countText(p.netTouches); });
    std::printf("\nrally: %.2f strokes on average, longest %d; match: %.0f s on average, longest "
                "%.0f s\n",
                perPoint(f.rallyStrokes, f.points), f.longestRally,
                f.matches ? f.simSeconds / f.matches : 0.0, f.longestMatchSeconds);
}

json matrixJson(const SimMatrix& m) {
    json names = json::array(), wins = json::array(), played = json::array();
    for (int a = 0; a < kDefaultRosterSize; ++a) {
        names.push_back(rosterName(a));
        wins.push_back(json(std::vector<int>(m.wins[a], m.wins[a] + kDefaultRosterSize)));
        played.push_back(json(std::vector<int>(m.played[a], m.played[a] + kDefaultRosterSize)));
    }
    return json{{"level", m.level},
                {"names", names},
                {"wins", wins},
                {"played", played},
                {"unfinished", m.unfinished},
                {"inversions", matrixInversions(m)}};
}

void printMatrixTable(const SimMatrix& m) {
    std::printf("level %d: matches won by the row's profile against the column's (%d inverted "
                "pairs)\n%-18s",
                m.level, matrixInversions(m), "");
    for (int b = 0; b < kDefaultRosterSize; ++b)
        std::printf(" %9d", b);
    std::printf("\n");
    for (int a = 0; a < kDefaultRosterSize; ++a) {
        std::printf("%d %-16s", a, rosterName(a).c_str());
        for (int b = 0; b < kDefaultRosterSize; ++b) {
            if (a == b)
                std::printf(" %9s", "-");
            else
                std::printf(" %4d/%-4d", m.wins[a][b], m.played[a][b]);
        }
        std::printf("\n");
    }
}

int matrixInversions(const SimMatrix& m) {
    int inversions = 0;
    for (int weak = 0; weak < kDefaultRosterSize; ++weak)
        for (int strong = weak + 1; strong < kDefaultRosterSize; ++strong)
            if (2 * m.wins[strong][weak] <= m.played[strong][weak])
                ++inversions;
    return inversions;
}
