// serve_layout.h: where server and receiver stand, their bounds and the service box, per court.
#pragma once

#include "core/fixed_point.h"

// A rectangle on the ground as stored in the layout: x then z minimum, x then z maximum.
struct GroundRect {
    Fixed xMin, zMin, xMax, zMax;
};

struct ServeLayoutRow {
    Vec3 serverPosition, serverFacing;
    Vec3 receiverPosition, receiverFacing;
    GroundRect serverBounds, receiverBounds, serviceBox;
};

constexpr int kServeLayoutRows = 4;

struct ServeLayout {
    ServeLayoutRow rows[kServeLayoutRows];
};

// Converted from the stored floats once, on first use.
const ServeLayout& serveLayout();
