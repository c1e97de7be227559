// state_json.cpp: the game object turned into JSON for scripts and the tests that read them.
#include "state_json.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/game_app.h"
#include "assets/image_button.h"
#include "core/wide_string.h"
#include "frontend/match_statistics.h"
#include "match/match.h"
#include "match/match_tally.h"
#include "match/state_hash.h"
#include "script_commands.h"

using json = nlohmann::ordered_json;

namespace {

// Stops at the terminator or at the end of the array, whichever comes first.
template <size_t N> std::string textOf(const char16_t (&text)[N]) {
    size_t length = 0;
    while (length < N && text[length] != 0)
        ++length;
    return toUtf8(WideString(text, length));
}

json vecJson(const Vec3& v) {
    return json::array({v.x, v.y, v.z});
}

json buttonJson(size_t slot, const ImageButton* b) {
    json out = {{"slot", slot}};
    if (!b)
        return out;
    out["rect"] = json::array({b->left, b->top, b->width, b->height});
    out["face"] = static_cast<int32_t>(b->currentFace);
    out["label"] = b->label ? json(toUtf8(*b->label)) : json(nullptr);
    return out;
}

json optionsJson(const GameOptions& o) {
    return {{"player1Profile", o.player1Profile},
            {"player2Profile", o.player2Profile},
            {"stadium", o.stadium},
            {"setsToWin", o.setsToWin},
            {"level", o.level},
            {"soundOff", o.soundOff}};
}

json profileJson(size_t slot, const PlayerProfile& p) {
    return {{"slot", slot},
            {"firstName", textOf(p.firstName)},
            {"lastName", textOf(p.lastName)},
            {"level", p.level},
            {"ranks", json::array({p.rank[0], p.rank[1], p.rank[2], p.rank[3], p.rank[4]})},
            {"builtIn", p.builtIn},
            {"skills",
             {{"runSpeed", p.skills.runSpeed},
              {"forehand", p.skills.forehand},
              {"backhand", p.skills.backhand},
              {"firstServe", p.skills.firstServe},
              {"secondServe", p.skills.secondServe},
              {"volley", p.skills.volley},
              {"smash", p.skills.smash},
              {"lob", p.skills.lob}}}};
}

json matchPlayerJson(const MatchPlayer& p) {
    return {{"position", vecJson(p.position)},
            {"facing", vecJson(p.facing)},
            {"moveTarget", vecJson(p.moveTarget)},
            {"anim", p.anim},
            {"stroke", p.stroke},
            {"isComputer", p.isComputer},
            {"isServing", p.isServing},
            {"strokePlanned", p.strokePlanned},
            {"swinging", p.swinging},
            {"timeToSwing", p.timeToSwing},
            {"timeToContact", p.timeToContact},
            {"strokeSpot", vecJson(p.strokeSpot)},
            {"contactPoint", vecJson(p.contactPoint)},
            {"aimPoint", vecJson(p.aimPoint)},
            {"runSpeed", p.skills.runSpeed}};
}

json byKindJson(const int32_t (&counts)[kStrokeKinds]) {
    json out = json::object();
    for (int k = 0; k < kStrokeKinds; ++k)
        out[strokeKindName(k)] = counts[k];
    return out;
}

json playerTallyJson(const PlayerTally& t) {
    return {{"pointsWon", t.pointsWon},
            {"gamesWon", t.gamesWon},
            {"servicePoints", t.servicePoints},
            {"servicePointsWon", t.servicePointsWon},
            {"firstServes", t.firstServes},
            {"firstServesIn", t.firstServesIn},
            {"secondServes", t.secondServes},
            {"secondServesIn", t.secondServesIn},
            {"aces", t.aces},
            {"doubleFaults", t.doubleFaults},
            {"netTouches", t.netTouches},
            {"netPoints", t.netPoints},
            {"netPointsWon", t.netPointsWon},
            {"fastestServeInKmh", t.fastestServeInKmh},
            {"strokes", byKindJson(t.strokes)},
            {"winners", byKindJson(t.winners)},
            {"errors", byKindJson(t.errors)}};
}

json tallyJson(const MatchTally& t) {
    return {
        {"points", t.points},
        {"aces", t.aces},
        {"faults", t.faults},
        {"doubleFaults", t.doubleFaults},
        {"lets", t.lets},
        {"netTouches", t.netTouches},
        {"strokes", t.strokes},
        {"exchangeStrokes", t.exchangeStrokes},
        {"rallyStrokes", t.rallyStrokes},
        {"longestRally", t.longestRally},
        {"lastStroke", t.lastStroke},
        {"players", json::array({playerTallyJson(t.players[0]), playerTallyJson(t.players[1])})}};
}

std::string setScoreTextOf(const Match& m) {
    size_t length = 0;
    while (length < sizeof m.setScoreText && m.setScoreText[length] != 0)
        ++length;
    return std::string(m.setScoreText, length);
}

json matchJson(const Match& m) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(matchStateHash(m)));
    return {
        {"hash", hash},
        {"isPractice", m.isPractice},
        {"practiceMode", m.practiceMode},
        {"setsToWin", m.setsToWin},
        {"setsWon", json::array({m.setsWon[0], m.setsWon[1]})},
        {"games", json::array({m.games[0], m.games[1]})},
        {"points", json::array({m.points[0], m.points[1]})},
        {"tieBreak", m.tieBreak},
        {"server", m.server},
        {"serveState", static_cast<int32_t>(m.serveState)},
        {"serveCourt", m.serveCourt},
        {"endsSwapped", m.endsSwapped},
        {"nextStriker", m.nextStriker},
        {"pointDelay", m.pointDelay},
        {"setupDelay", m.setupDelay},
        {"matchOver", m.matchOver},
        {"showScore", m.showScore},
        {"setScoreText", setScoreTextOf(m)},
        {"ballSpeedKmh", m.ballSpeedKmh},
        {"level", m.level},
        {"serveMeterOn", m.serveMeterOn},
        {"serveMeter", m.serveMeter},
        {"serveMeterRate", m.serveMeterRate},
        {"ballStruck", m.ballStruck},
        {"bounced", m.bounced},
        {"netTouched", m.netTouched},
        {"ball",
         {{"position", vecJson(m.ball.position)},
          {"velocity", vecJson(m.ball.velocity)},
          {"spin", m.ball.spin},
          {"spinAxis", vecJson(m.ball.spinAxis)},
          {"dead", m.ball.dead}}},
        {"players", json::array({matchPlayerJson(m.players[0]), matchPlayerJson(m.players[1])})},
        {"tally", tallyJson(m.tally)}};
}

// The statistics page as it reads: the names, each set's games and every row's figures.
json statisticsJson(const FinishedMatch& finished) {
    const StatisticsPage page = statisticsPage(finished);
    json players = json::array();
    for (int p = 0; p < 2; ++p)
        players.push_back({{"firstName", toUtf8(page.firstNames[p])},
                           {"lastName", toUtf8(page.lastNames[p])},
                           {"setGames", toUtf8(page.setGames[p])}});
    json rows = json::array();
    for (const StatisticsRow& row : page.rows) {
        json values = json::array();
        for (int p = 0; p < (row.shared ? 1 : 2); ++p)
            values.push_back(toUtf8(statisticsText(row, p)));
        rows.push_back({{"label", toUtf8(row.label)}, {"values", values}});
    }
    return {{"players", players}, {"rows", rows}};
}

} // namespace

json gameStateJson(const GameApp& app) {
    json buttons = json::array();
    for (size_t slot = 0; slot < app.buttons.size(); ++slot)
        buttons.push_back(buttonJson(slot, app.buttons[slot]));
    json profiles = json::array();
    for (size_t slot = 0; slot < kProfileSlots; ++slot)
        profiles.push_back(profileJson(slot, app.store.profiles[slot]));
    json notices = json::array(); // what the window showed in message boxes at start
    for (const WideString& notice : app.startNotices)
        notices.push_back(toUtf8(notice));
    return {{"screen", screenName(app.screen)},
            {"screenId", static_cast<int32_t>(app.screen)},
            {"screenTime", app.screenTime},
            {"buttons", buttons},
            {"options", optionsJson(app.store.options)},
            {"profiles", profiles},
            {"tournamentRound", app.tournamentRound},
            {"practiceDrill", app.practiceDrill},
            {"match", app.resources.match ? matchJson(*app.resources.match) : json(nullptr)},
            {"statistics",
             app.screen == Statistics ? statisticsJson(app.finishedMatch) : json(nullptr)},
            {"notices", notices}};
}

json matchStateJson(const Match& match) {
    return matchJson(match);
}
