// menu_backdrops.cpp: menu, selection, editor, options, rankings, trophies and result screens.
#include "menu_backdrops.h"

#include <cmath>
#include <numbers>
#include <string>

#include "assets/asset_names.h"
#include "frontend/screen_tables.h"
#include "house_style.h"

namespace {

const ButtonLayout& slot(ScreenId screen, int index) {
    return findScreenLayout(screen)->buttons[static_cast<size_t>(index)];
}

void addBackdrop(DataSet& data, const char16_t* name, const Canvas& canvas) {
    addPicture(data, dataEntryName(name), canvas);
}

// A pool of light on the floor where the player figure stands.
void drawFigureSpot(Canvas& canvas, FigureSpot spot) {
    // A beam from above widening onto a pool of light at the figure's feet.
    const float top = spot.y - spot.height * 2.2f;
    fillPath(canvas,
             polygonPath({{spot.x - 9.0f, top},
                          {spot.x + 9.0f, top},
                          {spot.x + spot.height * 0.6f, spot.y},
                          {spot.x - spot.height * 0.6f, spot.y}}),
             verticalGradient(top, palette::kDeep, spot.y, palette::kBlue), 0.5f);
    fillPath(canvas, ellipsePath(spot.x, spot.y, spot.height * 0.6f, spot.height * 0.13f),
             radialGradient(spot.x, spot.y, spot.height * 0.6f, palette::kMist, palette::kNavy),
             0.6f);
}

void drawHint(Canvas& canvas, const TypeSet& types, const std::string& text, float cx,
              int baseline) {
    drawText(canvas, types, kSmallStyle, text, cx, baseline, solid(palette::kSteel), Align::Centre);
}

Canvas logoScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    fillPath(canvas, ellipsePath(120, 112, 70, 70),
             radialGradient(120, 112, 70, palette::kBlue, palette::kDeep), 0.6f);
    drawTennisBall(canvas, 120, 100, 34);
    drawWordMark(canvas, types, 120, 186, 38);
    drawText(canvas, types, {Typeface::SansBold, 11}, "T E N N I S", 120, 214,
             solid(palette::kBall), Align::Centre);
    drawHint(canvas, types, "Tap the screen to start", 120, 292);
    return canvas;
}

Canvas creditsScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Credits", 12, 36);
    drawPanel(canvas, 12, 56, 216, 214);
    const char* lines[][2] = {
        {"DROVANA", ""},
        {"A tennis game for the stylus", ""},
        {"Game and engine", "The Drovana team"},
        {"Pictures", "Drawn by code at build time"},
        {"Type", "DejaVu fonts"},
        {"Thanks", "Everyone who played"},
    };
    int y = 84;
    for (const auto& line : lines) {
        if (line[1][0] == '\0') {
            const bool title = y == 84;
            drawText(canvas, types, title ? TextStyle{Typeface::BoldOblique, 18} : kSmallStyle,
                     line[0], 120, y, solid(title ? palette::kWhite : palette::kMist),
                     Align::Centre);
            y += title ? 22 : 30;
            continue;
        }
        drawText(canvas, types, kSmallStyle, line[0], 120, y, solid(palette::kBall), Align::Centre);
        drawText(canvas, types, kLabelStyle, line[1], 120, y + 14, solid(palette::kWhite),
                 Align::Centre);
        y += 36;
    }
    drawHint(canvas, types, "Tap to go back", 120, 300);
    return canvas;
}

Canvas mainMenuScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawWordMark(canvas, types, 116, 62, 36);
    drawText(canvas, types, {Typeface::SansBold, 10}, "T E N N I S", 116, 88, solid(palette::kBall),
             Align::Centre);
    // A ball in flight behind the lower right corner, opposite the menu's diagonal.
    fillPath(canvas, polygonPath({{168, 196}, {214, 250}, {204, 262}, {162, 202}}),
             linearGradient(165, 199, palette::kDeep, 210, 256, palette::kBlue), 0.6f);
    drawTennisBall(canvas, 212, 260, 16);
    const char* words[] = {"Exhibition", "Tournament", "Practice", "Rankings", "Options", "Quit"};
    for (int i = 0; i < 6; ++i) {
        const ScreenRect& r = slot(MainMenu, i).rect;
        drawMenuPlate(canvas, types, static_cast<float>(r.left), static_cast<float>(r.top),
                      words[i], Look::Normal);
    }
    const ScreenRect& credits = slot(MainMenu, 6).rect;
    drawText(canvas, types, kSmallStyle, "Credits",
             static_cast<float>(credits.left + credits.width) - 6.0f, credits.top + 16,
             solid(palette::kSteel), Align::Right);
    return canvas;
}

Canvas selectPlayerScreen(const TypeSet& types, FigureSpot spot) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Players", 10, 30);
    drawFigureSpot(canvas, spot);
    // The profile panel: New / Delete, then the name and level labels the game writes.
    drawPanel(canvas, 160, 122, 78, 124);
    const ScreenRect& first = slot(ExhibitionPlayer1, 8).rect;
    const ScreenRect& level = slot(ExhibitionPlayer1, 10).rect;
    drawText(canvas, types, kSmallStyle, "Name", static_cast<float>(first.left), first.top - 3,
             solid(palette::kBall));
    drawText(canvas, types, kSmallStyle, "Level", static_cast<float>(level.left), level.top - 3,
             solid(palette::kBall));
    const ScreenRect& left = slot(ExhibitionPlayer1, 5).rect;
    const ScreenRect& right = slot(ExhibitionPlayer1, 6).rect;
    const float between =
        (static_cast<float>(left.left + left.width) + static_cast<float>(right.left)) / 2.0f;
    drawText(canvas, types, kLabelStyle, "Profile", between, left.top + 16, solid(palette::kMist),
             Align::Centre);
    drawButtonBar(canvas);
    return canvas;
}

Canvas stadiumScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Stadium", 10, 30);
    drawText(canvas, types, kLabelStyle, "Choose where to play", 12, 60, solid(palette::kMist));
    const ScreenRect& picture = slot(ExhibitionStadium, 0).rect;
    const float x = static_cast<float>(picture.left), y = static_cast<float>(picture.top);
    const float w = static_cast<float>(picture.width), h = static_cast<float>(picture.height);
    fillPath(canvas, roundedRectPath(x - 4, y - 4, w + 8, h + 8, 5), solid(palette::kNight), 0.8f);
    fillPath(canvas, roundedFramePath(x - 3, y - 3, w + 6, h + 6, 4, 2),
             verticalGradient(y, palette::kBall, y + h, palette::kBallShade));
    fillPath(canvas, rectPath(x, y, w, h), solid(palette::kNavy));
    const ScreenRect& left = slot(ExhibitionStadium, 4).rect;
    const ScreenRect& right = slot(ExhibitionStadium, 5).rect;
    const float between =
        (static_cast<float>(left.left + left.width) + static_cast<float>(right.left)) / 2.0f;
    drawTennisBall(canvas, between, static_cast<float>(left.top) + 12.5f, 6.0f);
    drawButtonBar(canvas);
    return canvas;
}

Canvas newPlayerScreen(const TypeSet& types, FigureSpot spot) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "New player", 10, 30);
    drawFigureSpot(canvas, spot);
    const ScreenRect& firstName = slot(NewPlayer, 0).rect;
    const ScreenRect& lastName = slot(NewPlayer, 1).rect;
    drawText(canvas, types, kSmallStyle, "Name (tap to type)", static_cast<float>(firstName.left),
             firstName.top - 4, solid(palette::kBall));
    for (const ScreenRect* field : {&firstName, &lastName})
        fillPath(canvas,
                 roundedFramePath(static_cast<float>(field->left) - 2.0f,
                                  static_cast<float>(field->top) - 1.0f,
                                  static_cast<float>(field->width) + 4.0f,
                                  static_cast<float>(field->height) + 2.0f, 2.0f, 1.0f),
                 solid(palette::kSteel), 0.7f);
    // Colour swatches with their names on the left.
    const char* swatchNames[] = {"Skin", "Hair", "Shirt", "Shorts"};
    for (int i = 0; i < 4; ++i) {
        const ScreenRect& r = slot(NewPlayer, 5 + i).rect;
        const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
        fillPath(canvas, roundedRectPath(x - 2, y - 2, 14, 14, 2), solid(palette::kWhite), 0.85f);
        fillPath(canvas, rectPath(x, y, 10, 10), solid(palette::kNight));
        drawText(canvas, types, kSmallStyle, swatchNames[i], x - 5.0f, r.top + 9,
                 solid(palette::kMist), Align::Right);
    }
    // Skill rows: names on the left, ten empty point slots that the game fills in yellow.
    drawPanel(canvas, 4, 180, 232, 104);
    drawText(canvas, types, kSmallStyle, "Skills: tap a bar left to take, right to give", 120,
             178 - 2, solid(palette::kSteel), Align::Centre);
    const char* skills[kSkillRows] = {"Speed",    "1st serve", "2nd serve", "Forehand",
                                      "Backhand", "Smash",     "Volley",    "Lob"};
    for (int k = 0; k < kSkillRows; ++k) {
        const int top = kSkillRowTop + kSkillRowStep * k;
        drawText(canvas, types, {Typeface::SansBold, 9}, skills[k],
                 static_cast<float>(kSkillBarLeft) - 8.0f, top + 7, solid(palette::kWhite),
                 Align::Right);
        for (int j = 0; j < kSkillMaxPoints; ++j) {
            const float x = static_cast<float>(kSkillBarLeft + kSkillPointStep * j);
            fillPath(canvas, rectPath(x - 0.5f, static_cast<float>(top) - 0.5f, 8, 8),
                     solid(palette::kSteel), 0.35f);
            fillPath(canvas, rectPath(x, static_cast<float>(top), 7, 7), solid(palette::kNight));
        }
    }
    drawButtonBar(canvas);
    return canvas;
}

Canvas rankingsScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Rankings", 10, 30);
    drawText(canvas, types, kSmallStyle, "Tap the arrows to see each level's ladder", 12, 58,
             solid(palette::kMist));
    // The slanted ladder: two rails and a rung under every row label.
    const ScreenRect& topRow = slot(Rankings, 4).rect;
    const ScreenRect& lastRow = slot(Rankings, 13).rect;
    const float railTop = static_cast<float>(topRow.top) - 8.0f;
    const float railBottom = static_cast<float>(lastRow.top + lastRow.height) + 8.0f;
    auto railX = [&](float y, float offset) {
        const float t =
            (y - static_cast<float>(topRow.top)) / static_cast<float>(lastRow.top - topRow.top);
        return static_cast<float>(topRow.left) +
               t * static_cast<float>(lastRow.left - topRow.left) + offset;
    };
    for (float offset : {-22.0f, static_cast<float>(topRow.width) + 4.0f})
        fillPath(canvas,
                 linePath({railX(railTop, offset), railTop},
                          {railX(railBottom, offset), railBottom}, 3.0f),
                 linearGradient(0, railTop, palette::kSteel, 0, railBottom, palette::kNavy));
    for (int rank = 0; rank < kRankingRows; ++rank) {
        const ScreenRect& r = slot(Rankings, 4 + rank).rect;
        const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
        fillPath(canvas, rectPath(x - 2, y - 1, static_cast<float>(r.width) + 4, 14),
                 solid(palette::kNavy), 0.85f);
        const Colour badge = rank == 0   ? palette::kGold
                             : rank == 1 ? palette::kMist
                             : rank == 2 ? hexColour(0xC98A4B)
                                         : palette::kBlue;
        // The tenth row starts on the ninth's last pixel row: a badge kept off its row's first
        // and last rows leaves a dark row between those two, and each number on its own chip.
        const float badgeTop = y + 1, badgeHeight = static_cast<float>(r.height) - 2;
        fillPath(canvas, roundedRectPath(x - 21, badgeTop, 17, badgeHeight, 3), solid(badge));
        drawTextInBox(canvas, types, {Typeface::CondensedBold, 8}, std::to_string(rank + 1), x - 21,
                      badgeTop, 17, badgeHeight, solid(rank < 3 ? palette::kInk : palette::kWhite));
    }
    drawButtonBar(canvas);
    return canvas;
}

Canvas optionsScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Options", 10, 30);
    auto rowPanel = [&](const ScreenRect& first, const ScreenRect& last, const char* heading) {
        const float x = static_cast<float>(first.left) - 10.0f;
        const float right = static_cast<float>(last.left + last.width) + 10.0f;
        drawPanel(canvas, x, static_cast<float>(first.top) - 22.0f, right - x,
                  static_cast<float>(first.height) + 30.0f);
        drawText(canvas, types, kHeadingStyle, heading, (x + right) / 2.0f, first.top - 7,
                 solid(palette::kBall), Align::Centre);
    };
    rowPanel(slot(Options, 0).rect, slot(Options, 2).rect, "Sets to win");
    rowPanel(slot(Options, 3).rect, slot(Options, 5).rect, "Opponent level");
    const ScreenRect& sound = slot(Options, 6).rect;
    const ScreenRect& toggle = slot(Options, 7).rect;
    drawPanel(canvas, 60, static_cast<float>(toggle.top) - 5.0f,
              static_cast<float>(toggle.left + toggle.width) + 10.0f - 60.0f,
              static_cast<float>(toggle.height) + 10.0f);
    drawText(canvas, types, kHeadingStyle, "Sound", static_cast<float>(sound.left) - 8.0f,
             sound.top + 10, solid(palette::kBall), Align::Right);
    drawButtonBar(canvas);
    return canvas;
}

Canvas trophiesScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Trophies", 10, 30);
    drawText(canvas, types, kSmallStyle, "One laurel for every match won", 12, 58,
             solid(palette::kMist));
    const char* rounds[] = {"Final", "Semi-final", "Quarter-final", "Round 2", "Round 1"};
    for (int i = 0; i < 5; ++i) {
        const ScreenRect& r = slot(Trophies, 1 + i).rect;
        const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
        // An empty place: a faint ring where the laurel will sit, and a step under it.
        fillPath(canvas, roundedRectPath(x - 3, y + 26, 49, 5, 2), solid(palette::kSteel), 0.5f);
        fillPath(canvas,
                 joinPaths(ellipsePath(x + 21.5f, y + 13, 12, 12),
                           reversedPath(ellipsePath(x + 21.5f, y + 13, 10.5f, 10.5f))),
                 solid(palette::kSteel), 0.35f);
        drawText(canvas, types, kLabelStyle, rounds[i], x + 54, r.top + 18,
                 solid(i == 0 ? palette::kGold : palette::kWhite));
    }
    drawButtonBar(canvas);
    return canvas;
}

void drawConfetti(Canvas& canvas, unsigned seed) {
    // A fixed little generator: the same confetti on every run.
    unsigned state = seed;
    auto next = [&]() {
        state = state * 1103515245u + 12345u;
        return static_cast<float>((state >> 8) & 0xFFFF) / 65535.0f;
    };
    const Colour colours[] = {palette::kBall, palette::kGold, palette::kWhite, palette::kBlue};
    for (int i = 0; i < 60; ++i) {
        const float x = next() * 240.0f, y = next() * 270.0f;
        const float a = next() * std::numbers::pi_v<float>;
        const float l = 2.0f + next() * 3.0f;
        fillPath(canvas, linePath({x, y}, {x + l * std::cos(a), y + l * std::sin(a)}, 1.6f),
                 solid(colours[i % 4]), 0.8f);
    }
}

Canvas resultScreen(const TypeSet& types, const std::string& headline, const std::string& line,
                    bool won) {
    Canvas canvas = menuBackground();
    if (won)
        drawConfetti(canvas, 7);
    fillPath(canvas, ellipsePath(120, 130, 90, 90),
             radialGradient(120, 130, 90, won ? palette::kBlue : palette::kNavy, palette::kDeep),
             0.7f);
    drawTennisBall(canvas, 120, 112, won ? 34.0f : 26.0f);
    if (!won)
        fillPath(canvas, ellipsePath(120, 150, 28, 5), solid(palette::kNight), 0.6f);
    drawShadowedText(canvas, types, {Typeface::BoldOblique, 28}, headline, 120, 200,
                     solid(won ? palette::kBall : palette::kMist), palette::kNight, Align::Centre);
    drawText(canvas, types, kLabelStyle, line, 120, 224, solid(palette::kWhite), Align::Centre);
    drawButtonBar(canvas);
    return canvas;
}

Canvas championScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawConfetti(canvas, 11);
    fillPath(canvas, ellipsePath(120, 120, 95, 95),
             radialGradient(120, 120, 95, hexColour(0x3A5FA8), palette::kDeep), 0.8f);
    // The cup: bowl, handles, stem and base.
    const Paint gold = linearGradient(80, 0, hexColour(0xFFE08A), 160, 0, palette::kGoldShade);
    fillPath(canvas,
             polygonPath({{88, 62}, {152, 62}, {146, 104}, {132, 124}, {108, 124}, {94, 104}}),
             gold);
    fillPath(canvas,
             joinPaths(ellipsePath(86, 82, 13, 15), reversedPath(ellipsePath(86, 82, 9, 11))),
             gold);
    fillPath(canvas,
             joinPaths(ellipsePath(154, 82, 13, 15), reversedPath(ellipsePath(154, 82, 9, 11))),
             gold);
    fillPath(canvas, rectPath(114, 124, 12, 20), gold);
    fillPath(canvas, roundedRectPath(98, 144, 44, 10, 2), gold);
    fillPath(canvas, roundedRectPath(92, 154, 56, 12, 2), solid(hexColour(0x5A3A1A)));
    fillPath(canvas, ellipsePath(120, 62, 32, 4), solid(palette::kGoldShade));
    drawTennisBall(canvas, 120, 88, 12);
    drawShadowedText(canvas, types, {Typeface::BoldOblique, 30}, "Champion!", 120, 206,
                     solid(palette::kGold), palette::kNight, Align::Centre);
    drawText(canvas, types, kLabelStyle, "Five wins in a row. The title is yours!", 120, 228,
             solid(palette::kWhite), Align::Centre);
    return canvas;
}

} // namespace

void addMenuBackdrops(DataSet& data, const TypeSet& types, FigureSpot selectionSpot,
                      FigureSpot editorSpot) {
    addBackdrop(data, u"Logo.jpg", logoScreen(types));
    addBackdrop(data, u"Credits.jpg", creditsScreen(types));
    addBackdrop(data, u"Main.jpg", mainMenuScreen(types));
    addBackdrop(data, u"Sel_Player.jpg", selectPlayerScreen(types, selectionSpot));
    addBackdrop(data, u"Stadium.jpg", stadiumScreen(types));
    addBackdrop(data, u"NewPlayer.jpg", newPlayerScreen(types, editorSpot));
    addBackdrop(data, u"Rankings.jpg", rankingsScreen(types));
    addBackdrop(data, u"Options.jpg", optionsScreen(types));
    addBackdrop(data, u"Trophies.jpg", trophiesScreen(types));
    addBackdrop(data, u"Win.jpg",
                resultScreen(types, "You win!", "A fine match. Well played.", true));
    addBackdrop(data, u"Lose.jpg",
                resultScreen(types, "Match lost", "Shake hands, and try again.", false));
    Canvas champion = championScreen(types);
    drawButtonBar(champion);
    addBackdrop(data, u"Champion.jpg", champion);
}
