// stroke_table.h: the twelve strokes, their timing, speed, spin, launch range and reach.
#pragma once

#include "core/fixed_point.h"

enum StrokeId : int {
    StrokeNone = 0,
    StrokeFirstServe = 1,
    StrokeSecondServe = 2,
    StrokeForehand = 3,
    StrokeBackhand = 4,
    StrokeForehandVolley = 5,
    StrokeBackhandVolley = 6,
    StrokeForehandSmash = 7,
    StrokeBackhandSmash = 8,
    StrokeForehandLob = 9,
    StrokeBackhandLob = 10,
    StrokeForehandJump = 11,
    StrokeBackhandJump = 12,
};

constexpr int kStrokeRows = 13; // row 0 is all zero

struct StrokeRow {
    Fixed swingTime;   // length of the stroke animation
    Fixed contactTime; // from swing start to contact
    Fixed speed;
    Fixed spin; // negative is backspin
    Fixed pitchMin, pitchMax;
    // Offset of the ball from the feet at contact for a player facing -z.
    Vec3 reachMin, reachMax;
};

struct StrokeTable {
    StrokeRow rows[kStrokeRows];
};

// Converted from the stored floats once, on first use (the match's creation asks for it).
const StrokeTable& strokeTable();
inline const StrokeRow& strokeRow(int id) {
    return strokeTable().rows[id];
}

// AnimId played by a stroke.
int strokeAnimation(int id);
inline bool isServeStroke(int id) {
    return id == StrokeFirstServe || id == StrokeSecondServe;
}
inline bool isSmashStroke(int id) {
    return id == StrokeForehandSmash || id == StrokeBackhandSmash;
}
inline bool isLobStroke(int id) {
    return id == StrokeForehandLob || id == StrokeBackhandLob;
}
