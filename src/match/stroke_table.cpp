// stroke_table.cpp: the stroke table as stored floats and its one-time conversion to Fixed.
#include "match/stroke_table.h"

namespace {

// swing, contact, speed, spin, pitch min, pitch max, reach min x y z, reach max x y z
constexpr float kStrokeFloats[kStrokeRows][12] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1.44f, 0.84f, 56, 300, -0.34f, 0.17f, -0.1f, 2.9f, -0.1f, 0.1f, 3.1f, 0.1f},
    {1.44f, 0.84f, 35, 500, -0.34f, 0.17f, -0.1f, 2.8f, -0.1f, 0.1f, 3.0f, 0.1f},
    {1.04f, 0.44f, 45, 300, -0.17f, 0.34f, 1.0f, 0.2f, -0.1f, 1.4f, 1.6f, 0.1f},
    {1.04f, 0.44f, 45, 280, -0.17f, 0.34f, -1.2f, 0.2f, -0.1f, -0.8f, 1.6f, 0.1f},
    {0.84f, 0.24f, 32, -120, -0.68f, 1.04f, 0.8f, 0.2f, -0.1f, 1.7f, 1.9f, 0.2f},
    {0.80f, 0.24f, 32, -120, -0.68f, 1.04f, -1.7f, 0.2f, -0.1f, -0.8f, 1.9f, 0.2f},
    {1.04f, 0.44f, 56, 300, -1.04f, 0, 0, 2.8f, -0.1f, 0.2f, 3.1f, 0.2f},
    {1.04f, 0.44f, 50, 250, -1.04f, 0, -0.3f, 2.8f, -0.1f, -0.1f, 3.1f, 0.2f},
    {1.04f, 0.44f, 30, 300, 0.6f, 1.4f, 1.0f, 0.3f, -0.1f, 1.4f, 0.8f, 0.1f},
    {1.04f, 0.44f, 30, 300, 0.6f, 1.4f, -1.2f, 0.3f, -0.1f, -0.8f, 0.8f, 0.1f},
    {2.04f, 0.20f, 35, -120, -0.51f, 0.87f, 1.6f, 0.3f, -0.1f, 2.4f, 1.2f, 0.1f},
    {1.72f, 0.20f, 35, -120, -0.51f, 0.87f, -2.4f, 0.3f, -0.1f, -1.6f, 1.2f, 0.1f},
};

constexpr int kStrokeAnimations[kStrokeRows] = {0, 2, 2, 8, 9, 12, 13, 10, 11, 14, 15, 16, 17};

StrokeTable convertStrokeTable() {
    StrokeTable table{};
    for (int i = 0; i < kStrokeRows; ++i) {
        const float* f = kStrokeFloats[i];
        StrokeRow& row = table.rows[i];
        row.swingTime = fxFromFloat(f[0]);
        row.contactTime = fxFromFloat(f[1]);
        row.speed = fxFromFloat(f[2]);
        row.spin = fxFromFloat(f[3]);
        row.pitchMin = fxFromFloat(f[4]);
        row.pitchMax = fxFromFloat(f[5]);
        row.reachMin = {fxFromFloat(f[6]), fxFromFloat(f[7]), fxFromFloat(f[8])};
        row.reachMax = {fxFromFloat(f[9]), fxFromFloat(f[10]), fxFromFloat(f[11])};
    }
    return table;
}

} // namespace

const StrokeTable& strokeTable() {
    static const StrokeTable table = convertStrokeTable();
    return table;
}

int strokeAnimation(int id) {
    return id >= 0 && id < kStrokeRows ? kStrokeAnimations[id] : 0;
}
