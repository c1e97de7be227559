// button_faces.cpp: faces drawn at exactly their buttons' sizes, with masks cut from the same
// shapes.
#include "button_faces.h"

#include <cmath>
#include <numbers>

#include "assets/asset_names.h"
#include "house_style.h"

namespace {

// Faces start filled with the colour at their shape's edge, so JPEG ringing cannot show at the
// border the mask cuts.
Canvas faceCanvas(int width, int height, Colour edge) {
    return makeCanvas(width, height, edge);
}

void addShapeMask(DataSet& data, const std::string& name, const Path& shape, int width,
                  int height) {
    addCoverageMask(data, buttonPictureName(name), pathCoverage(width, height, shape), width,
                    height);
}

void addChipFaces(DataSet& data, const TypeSet& types, const std::string& word,
                  const std::string& stem) {
    constexpr int kWidth = 44, kHeight = 28;
    for (Look look : {Look::Normal, Look::Pressed}) {
        const bool pressed = look == Look::Pressed;
        Canvas canvas =
            faceCanvas(kWidth, kHeight, pressed ? palette::kGoldShade : palette::kSteel);
        drawChip(canvas, types, 0, 0, kWidth, kHeight, word, look);
        addPicture(data, buttonPictureName(stem + (pressed ? "1.jpg" : "0.jpg")), canvas);
    }
}

void addArrowFaces(DataSet& data, const std::string& stem, bool pointsRight, bool accent,
                   bool withMasks, int width, int height) {
    for (Look look : {Look::Normal, Look::Pressed}) {
        const std::string suffix = look == Look::Pressed ? "1" : "0";
        Canvas canvas = faceCanvas(width, height, palette::kMist);
        drawArrow(canvas, 0, 0, static_cast<float>(width), static_cast<float>(height), pointsRight,
                  look, accent);
        addPicture(data, buttonPictureName(stem + suffix + ".jpg"), canvas);
        if (withMasks)
            addShapeMask(
                data, stem + suffix + "_m.jpg",
                arrowPath(0, 0, static_cast<float>(width), static_cast<float>(height), pointsRight),
                width, height);
    }
}

// A small arrow that is its own pressed face (the practice and rankings arrows).
void addSmallArrow(DataSet& data, const std::string& name, bool pointsRight, int width,
                   int height) {
    Canvas canvas = faceCanvas(width, height, palette::kBall);
    drawArrow(canvas, 0, 0, static_cast<float>(width), static_cast<float>(height), pointsRight,
              Look::Normal, true);
    addPicture(data, buttonPictureName(name + ".jpg"), canvas);
    addShapeMask(
        data, name + "_m.jpg",
        arrowPath(0, 0, static_cast<float>(width), static_cast<float>(height), pointsRight), width,
        height);
}

void addCloseFace(DataSet& data) {
    // No mask: the whole 11 x 11 square shows, so it is a small dark tile with a cross.
    Canvas canvas = faceCanvas(11, 11, palette::kNight);
    fillPath(canvas, rectPath(0, 0, 11, 11), solid(palette::kRed));
    fillPath(canvas, rectPath(0, 0, 11, 1), solid(palette::kWhite), 0.25f);
    fillPath(canvas, linePath({3.0f, 3.0f}, {8.0f, 8.0f}, 1.6f), solid(palette::kWhite));
    fillPath(canvas, linePath({8.0f, 3.0f}, {3.0f, 8.0f}, 1.6f), solid(palette::kWhite));
    addPicture(data, buttonPictureName("close.jpg"), canvas);
}

void addMenuPlates(DataSet& data, const TypeSet& types) {
    const char* words[] = {"Exhibition", "Tournament", "Practice", "Rankings", "Options", "Quit"};
    for (const char* word : words) {
        Canvas canvas = faceCanvas(105, 33, palette::kBall);
        drawMenuPlate(canvas, types, 0, 0, word, Look::Pressed);
        addPicture(data, buttonPictureName(std::string(word) + ".jpg"), canvas);
        addShapeMask(data, std::string(word) + "_m.jpg", menuPlatePath(0, 0), 105, 33);
    }
}

void addSmallChip(DataSet& data, const TypeSet& types, const std::string& word,
                  const std::string& stem, int width, int height) {
    for (Look look : {Look::Normal, Look::Pressed}) {
        const std::string suffix = look == Look::Pressed ? "1" : "0";
        Canvas canvas = faceCanvas(width, height,
                                   look == Look::Pressed ? palette::kGoldShade : palette::kSteel);
        drawChip(canvas, types, 0, 0, static_cast<float>(width), static_cast<float>(height), word,
                 look, kLabelStyle);
        addPicture(data, buttonPictureName(stem + suffix + ".jpg"), canvas);
        addShapeMask(data, stem + suffix + "_m.jpg",
                     chipPath(0, 0, static_cast<float>(width), static_cast<float>(height)), width,
                     height);
    }
}

// A word on a pill: captions, ladder titles and option values.
Path pillPath(int width, int height) {
    return roundedRectPath(0.5f, 0.5f, static_cast<float>(width) - 1.0f,
                           static_cast<float>(height) - 1.0f,
                           static_cast<float>(height) / 2.0f - 0.5f);
}

enum class PillLook { Accent, Value };

Canvas pillFace(const TypeSet& types, const std::string& word, int width, int height, PillLook look,
                TextStyle style) {
    const bool accent = look == PillLook::Accent;
    const Colour edge = accent ? palette::kBallShade : palette::kNavy;
    Canvas canvas = faceCanvas(width, height, edge);
    fillPath(
        canvas, pillPath(width, height),
        accent
            ? verticalGradient(0, palette::kBall, static_cast<float>(height), palette::kBallShade)
            : verticalGradient(0, palette::kBlue, static_cast<float>(height), palette::kNavy));
    drawTextInBox(canvas, types, style, word, 0, 0, static_cast<float>(width),
                  static_cast<float>(height), solid(accent ? palette::kInk : palette::kWhite));
    return canvas;
}

void addPill(DataSet& data, const TypeSet& types, const std::string& word, const std::string& stem,
             int width, int height, PillLook look, TextStyle style, bool ownMask = true) {
    addPicture(data, buttonPictureName(stem + ".jpg"),
               pillFace(types, word, width, height, look, style));
    if (ownMask)
        addShapeMask(data, stem + "_m.jpg", pillPath(width, height), width, height);
}

} // namespace

WideString buttonPictureName(const std::string& relative) {
    return WideString(kButtonFolder) + fromUtf8(relative);
}

void addMenuFaces(DataSet& data, const TypeSet& types) {
    addChipFaces(data, types, "Back", "Back");
    addChipFaces(data, types, "Main", "Main");
    addChipFaces(data, types, "Next", "Next");
    addChipFaces(data, types, "Cancel", "Cancel");
    addChipFaces(data, types, "Ok", "Ok");
    addShapeMask(data, "Button0_m.jpg", chipPath(0, 0, 44, 28), 44, 28);
    addShapeMask(data, "Button1_m.jpg", chipPath(0, 0, 44, 28), 44, 28);

    addArrowFaces(data, "Left", false, false, true, 17, 25);
    addArrowFaces(data, "Right", true, false, true, 17, 25);
    // The option arrows are yellow and share the white arrows' masks.
    addArrowFaces(data, "O_Left", false, true, false, 17, 25);
    addArrowFaces(data, "O_Right", true, true, false, 17, 25);
    addCloseFace(data);
    addMenuPlates(data, types);

    addSmallChip(data, types, "New", "New", 41, 17);
    addSmallChip(data, types, "Delete", "Delete", 51, 17);
    addPill(data, types, "PLAYER 1", "Player_1", 62, 16, PillLook::Accent, kLabelStyle);
    addPill(data, types, "PLAYER 2", "Player_2", 62, 16, PillLook::Accent, kLabelStyle);

    addSmallArrow(data, "R_Left", false, 12, 14);
    addSmallArrow(data, "R_Right", true, 12, 14);
    const char* ladders[] = {"Beginner", "Amateur", "Rookie", "Pro", "Champion"};
    for (const char* ladder : ladders)
        addPill(data, types, ladder, std::string("R_") + ladder, 68, 14, PillLook::Accent,
                kLabelStyle);

    addPill(data, types, "1 set", "O_1set", 38, 15, PillLook::Value, kLabelStyle);
    addPill(data, types, "2 sets", "O_2sets", 38, 15, PillLook::Value, kLabelStyle);
    addPill(data, types, "3 sets", "O_3sets", 38, 15, PillLook::Value, kLabelStyle);
    for (const char* level : ladders)
        addPill(data, types, level, std::string("O_") + level, 61, 15, PillLook::Value,
                kLabelStyle);
    addPill(data, types, "On", "O_On", 21, 13, PillLook::Value, {Typeface::SansBold, 9});
    addPill(data, types, "Off", "O_Off", 21, 13, PillLook::Value, {Typeface::CondensedBold, 9});
}

void addMatchFaces(DataSet& data, const TypeSet& types) {
    // Scoreboard: two rows, the game writes the points at (5, 2) and (5, 17) of the board and
    // moves the serve ball to x 45 of it.
    {
        constexpr int kW = 60, kH = 31;
        Canvas board = faceCanvas(kW, kH, palette::kNight);
        const Path shape = roundedRectPath(0.5f, 0.5f, kW - 1.0f, kH - 1.0f, 4.0f);
        fillPath(board, shape, verticalGradient(0, palette::kNavy, kH, palette::kNight));
        fillPath(board, roundedFramePath(0.5f, 0.5f, kW - 1.0f, kH - 1.0f, 4.0f, 1.0f),
                 solid(palette::kSteel), 0.6f);
        fillPath(board, rectPath(3, 15, kW - 6, 1), solid(palette::kSteel), 0.5f);
        fillPath(board, rectPath(3, 1, 15, 29), solid(palette::kNight), 0.6f);
        drawText(board, types, {Typeface::CondensedBold, 9}, "YOU", 21, 12, solid(palette::kMist));
        drawText(board, types, {Typeface::CondensedBold, 9}, "CPU", 21, 27, solid(palette::kMist));
        addPicture(data, buttonPictureName("marcador.jpg"), board);
        addShapeMask(data, "marcador_m.jpg", shape, kW, kH);
    }
    // The serve marker has no mask: its corners match the board's panel behind it.
    {
        Canvas ball = faceCanvas(9, 9, hexColour(0x10244A));
        drawTennisBall(ball, 4.5f, 4.5f, 3.9f);
        addPicture(data, buttonPictureName("pelota_marcador.jpg"), ball);
    }
    // Power meter frame around the bar the game fills at (7, 3), 47 x 6.
    {
        constexpr int kW = 61, kH = 12;
        Canvas meter = faceCanvas(kW, kH, palette::kNight);
        const Path shape = roundedRectPath(0.5f, 0.5f, kW - 1.0f, kH - 1.0f, 3.0f);
        fillPath(meter, shape, verticalGradient(0, palette::kNavy, kH, palette::kNight));
        fillPath(meter, roundedFramePath(0.5f, 0.5f, kW - 1.0f, kH - 1.0f, 3.0f, 1.0f),
                 solid(palette::kSteel), 0.6f);
        fillPath(meter, rectPath(6, 2, 49, 8), solid(hexColour(0x03070D)));
        for (int tick = 1; tick < 4; ++tick)
            fillPath(meter,
                     rectPath(7.0f + 47.0f * static_cast<float>(tick) / 4.0f - 0.5f, 9, 1, 1),
                     solid(palette::kSteel), 0.8f);
        fillPath(meter,
                 polygonPath({{2, 3}, {4.5f, 3}, {3.5f, 6}, {5, 6}, {2.5f, 10}, {3, 7}, {1.5f, 7}}),
                 solid(palette::kBall));
        addPicture(data, buttonPictureName("powermeter.jpg"), meter);
        addShapeMask(data, "powermeter_m.jpg", shape, kW, kH);
    }
    addSmallArrow(data, "P_Left", false, 10, 12);
    addSmallArrow(data, "P_Right", true, 10, 12);
    const char* drills[][2] = {{"P_Serve", "Serve"},
                               {"P_Receive", "Return"},
                               {"P_Base", "Baseline"},
                               {"P_Net", "Net play"}};
    for (const auto& drill : drills)
        addPill(data, types, drill[1], drill[0], 60, 15, PillLook::Value, kLabelStyle, false);
    addShapeMask(data, "P_Btn_m.jpg", pillPath(60, 15), 60, 15);
}

void addTrophyFaces(DataSet& data) {
    constexpr int kW = 43, kH = 28;
    Canvas laurel = faceCanvas(kW, kH, palette::kGoldShade);
    // Two branches curving up from the bottom centre, leaves on both sides of each stem.
    const float cx = kW / 2.0f;
    Path shape;
    auto leaf = [](Point centre, float angle, float length, float width) {
        std::vector<Point> points;
        for (int k = 0; k < 16; ++k) {
            const float t = 2 * std::numbers::pi_v<float> * static_cast<float>(k) / 16.0f;
            const float lx = length * std::cos(t), ly = width * std::sin(t);
            points.push_back({centre.x + lx * std::cos(angle) - ly * std::sin(angle),
                              centre.y + lx * std::sin(angle) + ly * std::cos(angle)});
        }
        return points;
    };
    for (float side : {-1.0f, 1.0f}) {
        auto stem = [&](float degrees) {
            const float a = degrees * std::numbers::pi_v<float> / 180.0f;
            return Point{cx + side * 16.0f * std::sin(a), 14.5f - 11.5f * std::cos(a)};
        };
        std::vector<Point> stemPoints;
        for (int k = 0; k <= 12; ++k)
            stemPoints.push_back(stem(165.0f - 125.0f * static_cast<float>(k) / 12.0f));
        for (size_t k = 0; k + 1 < stemPoints.size(); ++k)
            shape = joinPaths(std::move(shape), linePath(stemPoints[k], stemPoints[k + 1], 1.3f));
        for (int k = 0; k < 6; ++k) {
            const float degrees = 150.0f - 21.0f * static_cast<float>(k);
            const Point p = stem(degrees), q = stem(degrees - 5.0f);
            const float tx = q.x - p.x, ty = q.y - p.y;
            const float tl = std::hypot(tx, ty);
            // Outward normal: away from the wreath's centre.
            float nx = ty / tl, ny = -tx / tl;
            if (nx * (p.x - cx) + ny * (p.y - 14.5f) < 0)
                nx = -nx, ny = -ny;
            const float along = std::atan2(ty, tx);
            const float size = 1.0f - 0.06f * static_cast<float>(k);
            shape.push_back(
                leaf({p.x + nx * 2.3f, p.y + ny * 2.3f},
                     along + (ny < 0 ? -0.55f : 0.55f) * side, // tipped away from the stem
                     3.6f * size, 1.5f * size));
            shape.push_back(leaf({p.x - nx * 1.8f, p.y - ny * 1.8f}, along + 0.45f * side,
                                 3.0f * size, 1.3f * size));
        }
    }
    shape = joinPaths(std::move(shape), ellipsePath(cx, 15.0f, 5.2f, 5.2f));
    fillPath(laurel, shape, verticalGradient(0, hexColour(0xFFE28A), kH, palette::kGoldShade));
    drawTennisBall(laurel, cx, 15.0f, 4.8f);
    addPicture(data, buttonPictureName("Laurel.jpg"), laurel);
    addShapeMask(data, "Laurel_m.jpg", shape, kW, kH);
}
