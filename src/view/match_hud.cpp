// match_hud.cpp: the HUD fields and the messages, rebuilt from the match every frame.
#include "view/match_hud.h"

#include "assets/image_button.h"
#include "core/wide_format.h"
#include "match/match.h"
#include "view/hud_text.h"

namespace {

constexpr int kMessageCentreX = 120;
// Above the set table (its top line is centred on 144), clear of every score line.
constexpr int kEndsCaptionY = 120;

ImageButton* slot(ImageButton* const* buttons, int32_t buttonCount, int index) {
    return index < buttonCount ? buttons[index] : nullptr;
}

void setLabel(ImageButton* button, const WideString& text) {
    if (button)
        setImageButtonLabel(button, text.c_str());
}

// The bar runs up to full length and back down: past 1.0 the meter is read folded.
void updatePowerMeter(const Match& match, ImageButton* bar) {
    if (!bar)
        return;
    if (!match.serveMeterOn) {
        bar->fillColour[2] = 0;
        return;
    }
    const Fixed m =
        match.serveMeter > kFxOne ? fxSub(2 * kFxOne, match.serveMeter) : match.serveMeter;
    bar->width = fxMul(fxFromInt(kPowerMeterLength), m) >> 16;
    const uint32_t red = static_cast<uint8_t>(fxMul(fxFromInt(255), fxSub(kFxOne, m)) >> 16);
    const uint32_t green = static_cast<uint8_t>(fxMul(fxFromInt(255), m) >> 16);
    bar->fillColour[2] = red | green << 8 | 0xFF000000u;
}

WideString scoreLine(const char16_t* player, const char setScoreText[], int first) {
    WideString line = player;
    line += u"    ";
    for (int i = first; i < kSetScoreTextLength; i += 2) {
        line += u' ';
        line += static_cast<char16_t>(static_cast<unsigned char>(setScoreText[i]));
    }
    return line;
}

WideString pointsLine(int32_t first, int32_t second) {
    return wideDecimal(first) + u"-" + wideDecimal(second);
}

std::vector<MessageLine> scoreMessage(const Match& match) {
    const int32_t p1 = match.points[0], p2 = match.points[1];
    if (p1 == 0 && p2 == 0) // a game has just ended: the set table
        return {{144, u"Scores 1 2 3 4 5"},
                {160, scoreLine(u"P1", match.setScoreText, 0)},
                {176, scoreLine(u"P2", match.setScoreText, 1)}};
    if (match.tieBreak)
        return {{160, pointsLine(p1, p2)}};
    if (p1 == kAdvantagePoints)
        return {{160, u"Advantage Player 1"}};
    if (p2 == kAdvantagePoints)
        return {{160, u"Advantage Player 2"}};
    if (p1 == kDeucePoints && p2 == kDeucePoints)
        return {{160, u"Deuce"}};
    return {{160, match.server == 2 ? pointsLine(p2, p1) : pointsLine(p1, p2)}};
}

} // namespace

WideString pointLabel(int32_t points, bool tieBreak) {
    if (!tieBreak && points == kAdvantagePoints)
        return u"Ad";
    if (!tieBreak && points == kDeucePoints)
        return u"40";
    return wideDecimal(points, 2);
}

void updateMatchHud(const Match& match, ScreenId screen, ImageButton* const* buttons,
                    int32_t buttonCount) {
    if (screen != Practice) {
        if (ImageButton* marker = slot(buttons, buttonCount, kHudServeMarker))
            marker->top = match.server == 1 ? kServeMarkerTopPlayer1 : kServeMarkerTopPlayer2;
        setLabel(slot(buttons, buttonCount, kHudPointsPlayer1),
                 pointLabel(match.points[0], match.tieBreak));
        setLabel(slot(buttons, buttonCount, kHudPointsPlayer2),
                 pointLabel(match.points[1], match.tieBreak));
    }
    updatePowerMeter(match, slot(buttons, buttonCount, kHudPowerMeter));
    setLabel(slot(buttons, buttonCount, kHudBallSpeed),
             wideDecimal(match.ballSpeedKmh, 3, u'0') + u"kmh");
}

std::vector<MessageLine> matchMessageLines(const Match& match) {
    if (match.pointDelay < kFxSmallest)
        return {};
    if (match.matchOver) {
        const bool player1Won = match.setsWon[0] == match.setsToWin;
        return {{152, u"Game Over"}, {168, player1Won ? u"Player 1 wins" : u"Player 2 wins"}};
    }
    if (match.showScore == 0) {
        if (match.serveState != ServeState::First)
            return {{168, u"2nd Service"}};
        if (match.isPractice)
            return {};
        return {{168, u"1st Service"}};
    }
    std::vector<MessageLine> lines = scoreMessage(match);
    if (endsChangedAfterLastPoint(&match))
        lines.insert(lines.begin(), {kEndsCaptionY, u"Change of ends"});
    return lines;
}

void drawMatchMessage(FrameBuffers& fb, const Match& match) {
    for (const MessageLine& line : matchMessageLines(match))
        drawTextCentred(fb, kMessageCentreX, line.y, line.text);
}
