// serve_layout.cpp: the serve layouts as stored floats and their one-time conversion to Fixed.
#include "match/serve_layout.h"

namespace {

// Server position, facing, receiver position, facing (3 each), server bounds, receiver bounds,
// service box (xMin, zMin, xMax, zMax each). The box reaches 0.25 m past the centre line.
constexpr float kServeFloats[kServeLayoutRows][24] = {
    {2, 0,      12.4f, 0,      0,   -1,  -3, 0,     -13.4f, 0,     0,     1,
     0, 11.89f, 4.11f, 12.89f, -10, -18, 10, -6.4f, -4.11f, -6.4f, 0.25f, 0},
    {-2,     0,      12.4f, 0,      0,   -1,  3,  0,     -13.4f, 0,     0,     1,
     -4.11f, 11.89f, 0,     12.89f, -10, -18, 10, -6.4f, -0.25f, -6.4f, 4.11f, 0},
    {-2,     0,       -12.4f, 0,       0,   1,    3,  0,  13.4f,  0, 0,     -1,
     -4.11f, -12.89f, 0,      -11.89f, -10, 6.4f, 10, 18, -0.25f, 0, 4.11f, 6.4f},
    {2, 0,       -12.4f, 0,       0,   1,    -3, 0,  13.4f,  0, 0,     -1,
     0, -12.89f, 4.11f,  -11.89f, -10, 6.4f, 10, 18, -4.11f, 0, 0.25f, 6.4f},
};

Vec3 vecAt(const float* f) {
    return {fxFromFloat(f[0]), fxFromFloat(f[1]), fxFromFloat(f[2])};
}

GroundRect rectAt(const float* f) {
    return {fxFromFloat(f[0]), fxFromFloat(f[1]), fxFromFloat(f[2]), fxFromFloat(f[3])};
}

ServeLayout convertServeLayout() {
    ServeLayout layout{};
    for (int i = 0; i < kServeLayoutRows; ++i) {
        const float* f = kServeFloats[i];
        ServeLayoutRow& row = layout.rows[i];
        row.serverPosition = vecAt(f);
        row.serverFacing = vecAt(f + 3);
        row.receiverPosition = vecAt(f + 6);
        row.receiverFacing = vecAt(f + 9);
        row.serverBounds = rectAt(f + 12);
        row.receiverBounds = rectAt(f + 16);
        row.serviceBox = rectAt(f + 20);
    }
    return layout;
}

} // namespace

const ServeLayout& serveLayout() {
    static const ServeLayout layout = convertServeLayout();
    return layout;
}
