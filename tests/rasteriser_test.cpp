// Triangle filling: coverage against a brute-force reference, shared edges, depth and blending.
#include "render/rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "render/render_context.h"
#include "render_fixture.h"

namespace {

constexpr uint32_t kBackground = kBlack;

ScreenVertex vertex(double x, double y, double z = 100.0) {
    return {fxFromDouble(x), fxFromDouble(y), fxFromDouble(z)};
}

// A target with the depth test off, so that coverage alone decides what is drawn.
Target coverageTarget() {
    Target t = target();
    rcDisable(t->rc, GL_DEPTH_TEST);
    return t;
}

void clearPixels(RenderTarget& t) {
    std::fill(t.pixels.begin(), t.pixels.end(), kBackground);
}

// Columns drawn on one screen row, as [first, last]; {-1, -1} when none.
std::pair<int, int> spanOnRow(RenderTarget& t, int row) {
    int first = -1, last = -1;
    for (int x = 0; x < kTargetWidth; ++x)
        if (pixelAt(t, x, row) != kBackground) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

// One byte per pixel, top row first.
using Mask = std::vector<uint8_t>;

Mask drawnMask(const RenderTarget& t) {
    Mask mask(kTargetWidth * kTargetHeight);
    for (int y = 0; y < kTargetHeight; ++y)
        for (int x = 0; x < kTargetWidth; ++x)
            mask[y * kTargetWidth + x] =
                t.pixels[(kTargetHeight - 1 - y) * kTargetWidth + x] != kBackground;
    return mask;
}

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The coverage rule evaluated pixel by pixel, written from the rule rather than from the
// scan-line walk: row r is drawn when top.y <= r + 0.5 < bottom.y, column c when
// xl <= c + 0.5 < xr. Positions are 21.11 like the rasteriser's: x carried half a pixel
// forward and y half a pixel back, so that the centre of pixel (c, r) is (2048 (c + 1),
// 2048 r). An edge's x on a row is its start x, plus the pre-step to its first row, plus one
// truncated 21.11 step per row after that: that truncation is part of the precision, and it
// moves long edges by up to a few tenths of a pixel from the exact line.
struct ReferenceEdge {
    int64_t startX, firstRow;
    Fixed slope;
    int64_t step;
    int64_t xOnFirstRow;
};

struct ReferencePoint {
    Fixed x, y;
    int64_t sx, sy;
};

ReferencePoint referencePoint(const ScreenVertex& v) {
    return {v.x, v.y, floorDiv(int64_t{v.x} + 32768, 32), floorDiv(int64_t{v.y} - 32768, 32)};
}

ReferenceEdge referenceEdge(const ReferencePoint& s, const ReferencePoint& e) {
    ReferenceEdge edge;
    edge.startX = s.sx;
    edge.firstRow = -floorDiv(-s.sy, 2048) * 2048;
    edge.slope = fxDiv(e.x - s.x, e.y - s.y);
    edge.step = floorDiv(edge.slope, 32);
    const Fixed prestep = static_cast<Fixed>((edge.firstRow - s.sy) * 32);
    edge.xOnFirstRow = s.sx + floorDiv(fxMul(prestep, edge.slope), 32);
    return edge;
}

int64_t edgeXAt(const ReferenceEdge& edge, int64_t rowY) {
    return edge.xOnFirstRow + (rowY - edge.firstRow) / 2048 * edge.step;
}

enum class Orientation { Exact, MiddleOnLeft };

Mask referenceCoverage(ScreenVertex a, ScreenVertex b, ScreenVertex c,
                       Orientation orientation = Orientation::Exact) {
    Mask mask(kTargetWidth * kTargetHeight);
    ScreenVertex v[3] = {a, b, c};
    std::stable_sort(v, v + 3,
                     [](const ScreenVertex& p, const ScreenVertex& q) { return p.y < q.y; });
    const ReferencePoint t = referencePoint(v[0]), m = referencePoint(v[1]),
                         bo = referencePoint(v[2]);
    // Exact doubled area: which side of the long edge the middle vertex is on.
    const int64_t cross = int64_t{bo.x - t.x} * (m.y - t.y) - int64_t{m.x - t.x} * (bo.y - t.y);
    if (cross == 0)
        return mask;
    const bool longEdgeOnLeft = orientation == Orientation::Exact && cross < 0;
    const ReferenceEdge longEdge = referenceEdge(t, bo), upper = referenceEdge(t, m),
                        lower = referenceEdge(m, bo);
    // Rows and columns beyond the vertices' pixels cannot be drawn; skipping them only saves
    // time (the caller compares whole screens).
    const int firstRow = std::max(0, static_cast<int>(fxToDouble(t.y)) - 1);
    const int lastRow = std::min(kTargetHeight - 1, static_cast<int>(fxToDouble(bo.y)) + 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int64_t rowY = int64_t{row} * 2048;
        if (rowY < t.sy || rowY >= bo.sy)
            continue;
        const int64_t xLong = edgeXAt(longEdge, rowY);
        const int64_t xShort = rowY < m.sy ? edgeXAt(upper, rowY) : edgeXAt(lower, rowY);
        const int64_t xl = longEdgeOnLeft ? xLong : xShort;
        const int64_t xr = longEdgeOnLeft ? xShort : xLong;
        for (int col = 0; col < kTargetWidth; ++col) {
            const int64_t centre = int64_t{col + 1} * 2048;
            mask[row * kTargetWidth + col] = xl <= centre && centre < xr;
        }
    }
    return mask;
}

// The doubled area exactly, and as the rasteriser forms it: one truncated product per term of the
// vertices sorted by y.
int64_t exactArea(const ScreenVertex (&v)[3]) {
    return int64_t{v[1].x - v[0].x} * (v[2].y - v[0].y) -
           int64_t{v[1].y - v[0].y} * (v[2].x - v[0].x);
}

Fixed truncatedArea(ScreenVertex a, ScreenVertex b, ScreenVertex c) {
    ScreenVertex v[3] = {a, b, c};
    std::stable_sort(v, v + 3,
                     [](const ScreenVertex& p, const ScreenVertex& q) { return p.y < q.y; });
    return fxSub(fxMul(v[2].x - v[0].x, v[1].y - v[0].y), fxMul(v[1].x - v[0].x, v[2].y - v[0].y));
}

// Under 0.05 square pixels (3276 raw) the rasteriser takes the capped reciprocal 400.0, whose sign
// always puts the middle vertex on the left of the long edge; for a sliver whose middle vertex is
// really on the right the edges are then paired the wrong way round, which draws next to nothing.
bool isThin(const ScreenVertex (&v)[3]) {
    const Fixed area = truncatedArea(v[0], v[1], v[2]);
    return area > -3276 && area < 3276;
}

// The rule as the rasteriser applies it: nothing for a zero truncated area, the middle vertex
// taken to be on the left for thin triangles, the plain rule otherwise.
Mask expectedCoverage(const ScreenVertex (&v)[3]) {
    if (truncatedArea(v[0], v[1], v[2]) == 0)
        return Mask(kTargetWidth * kTargetHeight);
    return referenceCoverage(v[0], v[1], v[2],
                             isThin(v) ? Orientation::MiddleOnLeft : Orientation::Exact);
}

void reportMismatch(const Mask& drawn, const Mask& expected, const ScreenVertex (&v)[3],
                    int trial) {
    int shown = 0;
    for (size_t i = 0; i < drawn.size() && shown < 5; ++i)
        if (drawn[i] != expected[i]) {
            ADD_FAILURE() << "trial " << trial << " pixel (" << i % kTargetWidth << ", "
                          << i / kTargetWidth << ") drawn " << drawn[i] << " expected "
                          << expected[i] << "; triangle (" << v[0].x << ", " << v[0].y << "), ("
                          << v[1].x << ", " << v[1].y << "), (" << v[2].x << ", " << v[2].y << ")";
            ++shown;
        }
}

// Random triangles of every kind the game can send: vertices on the screen, doubled area
// below 32768 square pixels (beyond it the one-product area wraps).
struct TriangleMaker {
    // The last four sit on the border of drawing anything at all.
    enum Kind {
        Large,
        PlayerSized,
        Needle,
        Lattice,
        Sliver,
        AgainstTheBorders,
        NeedleBesideCentres,
        PixelSized,
        RowSliver,
        OneRow,
        kKinds
    };
    std::mt19937 rng{20240611};
    int made = 0;

    Fixed uniform(Fixed low, Fixed high) {
        return std::uniform_int_distribution<Fixed>(low, high)(rng);
    }
    Fixed onScreenX(Fixed x) { return std::clamp(x, 0, 239 * kFxOne); }
    Fixed onScreenY(Fixed y) { return std::clamp(y, 0, 319 * kFxOne); }
    ScreenVertex anywhere() {
        return {uniform(0, 239 * kFxOne), uniform(0, 319 * kFxOne), uniform(0, 32767 * kFxOne)};
    }
    ScreenVertex near(const ScreenVertex& c, Fixed radius) {
        return {onScreenX(c.x + uniform(-radius, radius)),
                onScreenY(c.y + uniform(-radius, radius)), c.z};
    }
    // Vertices on a half-pixel lattice put pixel centres exactly on edges and rows.
    ScreenVertex lattice() {
        return {uniform(0, 478) * kFxHalf, uniform(0, 638) * kFxHalf, 100 * kFxOne};
    }

    void make(int kind, ScreenVertex (&v)[3]) {
        ++made;
        do {
            switch (kind) {
            case Large:
                for (auto& p : v)
                    p = anywhere();
                break;
            case PlayerSized:
                v[0] = anywhere();
                v[1] = near(v[0], 4 * kFxOne);
                v[2] = near(v[0], 4 * kFxOne);
                break;
            case Needle: { // the third vertex up to two pixels off the long side
                v[0] = anywhere();
                v[2] = near(v[0], 100 * kFxOne);
                const double f = uniform(0, kFxOne) / 65536.0;
                v[1] = {onScreenX(v[0].x + static_cast<Fixed>((v[2].x - v[0].x) * f) +
                                  uniform(-2 * kFxOne, 2 * kFxOne)),
                        onScreenY(v[0].y + static_cast<Fixed>((v[2].y - v[0].y) * f)), v[0].z};
                break;
            }
            case Lattice:
                v[0] = lattice();
                v[1] = near(v[0], 30 * kFxOne);
                v[2] = near(v[0], 30 * kFxOne);
                for (auto& p : v) {
                    p.x &= ~(kFxHalf - 1);
                    p.y &= ~(kFxHalf - 1);
                }
                break;
            case Sliver: { // upright needles on a column of pixel centres, the middle vertex a few
                           // raw units to either side, around the 0.05 square pixel cap
                const Fixed x = uniform(0, 238) * kFxOne + kFxHalf;
                const Fixed y0 = uniform(0, 200 * kFxOne), y1 = y0 + uniform(20, 119) * kFxOne;
                v[0] = {x, y0, 100 * kFxOne};
                v[2] = {x, y1, 100 * kFxOne};
                v[1] = {x + uniform(-64, 64), uniform(y0, y1), 100 * kFxOne};
                break;
            }
            case AgainstTheBorders:
                for (auto& p : v) {
                    p = anywhere();
                    if (uniform(0, 1))
                        p.x = uniform(0, 1) ? 0 : 239 * kFxOne;
                    else
                        p.y = uniform(0, 1) ? 0 : 319 * kFxOne;
                }
                break;
            case OneRow:
                oneRow(v);
                break;
            default:
                nearlyMissing(kind, v);
            }
        } while (std::llabs(truncatedArea(v[0], v[1], v[2])) >= 32000LL * kFxOne ||
                 std::llabs(exactArea(v)) >= 32000LL * 65536 * 65536);
    }

    // Most of a distant figure's triangles cover no pixel centre and are turned away before any
    // division: by their rows, by the columns their edges can reach, or by walking their few
    // rows. These sit on those borders: needles just right of a column of centres leaning left
    // (their stepped edges may drift past the centres), pixel-sized ones, one-row slivers.
    void nearlyMissing(int kind, ScreenVertex (&v)[3]) {
        const Fixed centreX = uniform(12, 226) * kFxOne + kFxHalf;
        const Fixed top = uniform(2, 200) * kFxOne + uniform(0, kFxOne);
        // How far the vertices may lie left and right of the column of centres, and below the top.
        const bool needle = kind == NeedleBesideCentres, pixel = kind == PixelSized;
        const Fixed left = needle ? -64 : pixel ? -kFxOne : -10 * kFxOne;
        const Fixed right = needle ? 2048 : pixel ? kFxOne / 2 : 10 * kFxOne;
        const Fixed down = needle ? uniform(1, 100) * kFxOne : pixel ? 3 * kFxHalf : kFxOne;
        for (auto& p : v)
            p = {centreX + uniform(left, right), top + uniform(0, down), 100 * kFxOne};
    }

    // One-row triangles are checked for a pixel from their two edges that cross the row, without
    // the full edge set-up: the middle vertex above, on or below the row's centre picks which
    // short edge that is; flat tops and bottoms (shared y) take the same paths.
    void oneRow(ScreenVertex (&v)[3]) {
        const Fixed centreY = uniform(2, 300) * kFxOne + kFxHalf;
        const Fixed x = uniform(20, 200) * kFxOne + uniform(0, kFxOne);
        const Fixed middleOffsets[] = {-1, 0, 1, uniform(-kFxHalf + 1, kFxHalf - 1)};
        v[0] = {x + uniform(-6 * kFxOne, 6 * kFxOne), centreY - uniform(0, kFxHalf - 1),
                100 * kFxOne};
        v[1] = {x + uniform(-6 * kFxOne, 6 * kFxOne), centreY + middleOffsets[made % 4],
                100 * kFxOne};
        v[2] = {x + uniform(-6 * kFxOne, 6 * kFxOne), centreY + uniform(1, kFxHalf), 100 * kFxOne};
        if (made % 7 == 0)
            v[1].y = v[made % 2 ? 0 : 2].y; // flat top or bottom
        std::shuffle(v, v + 3, rng);
    }
};

TEST(Rasteriser, CoverageMatchesTheBruteForceRuleForEveryKindOfTriangle) {
    Target t = coverageTarget();
    TriangleMaker maker;
    int thinCoveringCentres = 0, drawnPixels = 0;
    int drew[TriangleMaker::kKinds] = {}, drewNothing[TriangleMaker::kKinds] = {};
    for (int trial = 0; trial < 14000; ++trial) {
        const int kind = trial % TriangleMaker::kKinds;
        ScreenVertex v[3];
        maker.make(kind, v);
        clearPixels(*t);
        // Every other round of kinds runs the depth-tested loops over a cleared depth buffer
        // at one depth, which every covered pixel passes.
        t->rc->depthTestOn = trial / TriangleMaker::kKinds % 2;
        if (t->rc->depthTestOn) {
            rcClear(t->rc, GL_DEPTH_BUFFER_BIT);
            for (auto& p : v)
                p.z = 100 * kFxOne;
        }
        rasteriseTriangle(*t->rc, v[0], v[1], v[2]);
        const Mask drawn = drawnMask(*t);
        const Mask expected = expectedCoverage(v);
        if (drawn != expected) {
            reportMismatch(drawn, expected, v, trial);
            break;
        }
        const int pixels = static_cast<int>(std::count(drawn.begin(), drawn.end(), 1));
        drawnPixels += pixels;
        (pixels > 0 ? drew : drewNothing)[kind]++;
        if (isThin(v)) {
            const Mask exact = referenceCoverage(v[0], v[1], v[2]);
            thinCoveringCentres += std::count(exact.begin(), exact.end(), 1) > 0;
        }
    }
    EXPECT_GT(thinCoveringCentres, 10);
    EXPECT_GT(drawnPixels, 1000000);
    for (int kind = TriangleMaker::NeedleBesideCentres; kind < TriangleMaker::kKinds; ++kind) {
        EXPECT_GT(drew[kind], 200) << kind;
        EXPECT_GT(drewNothing[kind], 50) << kind;
    }
}

TEST(Rasteriser, DegenerateTrianglesDrawNothing) {
    Target t = coverageTarget();
    rasteriseTriangle(*t->rc, vertex(10, 50), vertex(200, 50), vertex(100, 50));       // one row
    rasteriseTriangle(*t->rc, vertex(10, 10), vertex(60, 110), vertex(35, 60));        // collinear
    rasteriseTriangle(*t->rc, vertex(10, 10.6), vertex(200, 10.9), vertex(100, 11.4)); // no centre
    EXPECT_EQ(0, countDrawn(*t));
}

TEST(Rasteriser, PixelCentresOnTheLeftEdgeAndTopRowAreDrawnOnTheRightAndBottomNot) {
    Target t = coverageTarget();
    // Right angle at the top left, every vertex on a pixel centre.
    rasteriseTriangle(*t->rc, vertex(10.5, 10.5), vertex(20.5, 10.5), vertex(10.5, 20.5));
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 9));
    for (int row = 10; row < 20; ++row)
        EXPECT_EQ(std::make_pair(10, 19 - (row - 10)), spanOnRow(*t, row)) << row;
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 20));
    EXPECT_EQ(55, countDrawn(*t));
}

TEST(Rasteriser, FlatTopsAndFlatBottomsFollowTheSameRule) {
    // Flat top: no upper-edge rows, all drawn by the second half.
    Target t = coverageTarget();
    rasteriseTriangle(*t->rc, vertex(10, 10), vertex(30, 10), vertex(20, 30));
    EXPECT_EQ(std::make_pair(10, 29), spanOnRow(*t, 10));
    EXPECT_EQ(std::make_pair(19, 20), spanOnRow(*t, 28));
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 29));
    saveRenderTargetPng(*t, "flat_top");

    // Flat bottom: no lower-edge rows, drawing ends after the first half.
    clearPixels(*t);
    rasteriseTriangle(*t->rc, vertex(20, 10), vertex(30, 30), vertex(10, 30));
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 9));
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 10)); // 19.75 .. 20.25 holds no centre
    EXPECT_EQ(std::make_pair(19, 20), spanOnRow(*t, 11));
    EXPECT_EQ(std::make_pair(10, 29), spanOnRow(*t, 29));
    EXPECT_EQ(std::make_pair(-1, -1), spanOnRow(*t, 30));
}

TEST(Rasteriser, EveryOrderOfTheVerticesFillsTheSamePixelsAtTheSameDepth) {
    TriangleMaker maker;
    for (int trial = 0; trial < 300; ++trial) {
        ScreenVertex v[3];
        maker.make(trial % 5, v);
        for (auto& p : v)
            p.z = maker.uniform(0, 100 * kFxOne); // keeps the gradient products in range
        const Target reference = target();
        rasteriseTriangle(*reference->rc, v[0], v[1], v[2]);
        const int order[5][3] = {{0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
        for (const auto& o : order) {
            const Target t = target();
            rasteriseTriangle(*t->rc, v[o[0]], v[o[1]], v[o[2]]);
            ASSERT_EQ(reference->pixels, t->pixels) << trial;
            ASSERT_TRUE(std::equal(t->rc->depthBuffer, t->rc->depthBuffer + 240 * 320,
                                   reference->rc->depthBuffer))
                << trial;
        }
    }
}

// The line a -> b; distances are in pixels, positive on its left.
struct Line {
    double ax, ay, nx, ny;
    Line(const ScreenVertex& a, const ScreenVertex& b) : ax(fxToDouble(a.x)), ay(fxToDouble(a.y)) {
        const double dx = fxToDouble(b.x) - ax, dy = fxToDouble(b.y) - ay;
        const double length = std::sqrt(dx * dx + dy * dy);
        nx = -dy / length;
        ny = dx / length;
    }
    double distance(double x, double y) const { return nx * (x - ax) + ny * (y - ay); }
};

double sideOf(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& p) {
    return Line(a, b).distance(fxToDouble(p.x), fxToDouble(p.y));
}

TEST(Rasteriser, TrianglesSharingAnEdgeLeaveNoGapAndDrawNoPixelTwice) {
    TriangleMaker maker;
    const Target first = coverageTarget(), second = coverageTarget();
    int drawnInside = 0;
    for (int trial = 0; trial < 1000; ++trial) {
        // A convex quad p, a, q, c split along p-q.
        ScreenVertex p, q, a, c;
        do {
            const Fixed reach = (trial % 2 ? 60 : 120) * kFxOne;
            p = trial % 2 ? maker.lattice() : maker.anywhere();
            q = maker.near(p, reach);
            a = maker.near(p, reach);
            c = maker.near(q, reach);
        } while (!(sideOf(p, a, q) > 1 && sideOf(a, q, c) > 1 && sideOf(q, c, p) > 1 &&
                   sideOf(c, p, a) > 1 && std::llabs(truncatedArea(p, a, q)) < 30000LL * kFxOne &&
                   std::llabs(truncatedArea(q, c, p)) < 30000LL * kFxOne));
        clearPixels(*first);
        clearPixels(*second);
        rasteriseTriangle(*first->rc, p, a, q);
        rasteriseTriangle(*second->rc, q, c, p);
        const Mask one = drawnMask(*first), two = drawnMask(*second);
        const Line sides[4] = {Line(p, a), Line(a, q), Line(q, c), Line(c, p)};
        for (int y = 0; y < kTargetHeight; ++y)
            for (int x = 0; x < kTargetWidth; ++x) {
                const size_t i = y * kTargetWidth + x;
                ASSERT_FALSE(one[i] && two[i])
                    << "trial " << trial << " (" << x << ", " << y << ") drawn twice";
                if (one[i] || two[i])
                    continue;
                // Well inside the quad's outer sides (edge positions are 21.11 and stepped,
                // so a pixel right on an outer side may go either way) it must be drawn.
                const double cx = x + 0.5, cy = y + 0.5;
                bool inside = true;
                for (const Line& side : sides)
                    inside = inside && side.distance(cx, cy) > 0.5;
                ASSERT_FALSE(inside) << "trial " << trial << " gap at (" << x << ", " << y << ")";
            }
        drawnInside += static_cast<int>(std::count(one.begin(), one.end(), 1) +
                                        std::count(two.begin(), two.end(), 1));
    }
    EXPECT_GT(drawnInside, 1000000);
}

TEST(Rasteriser, DepthTestIsStrictlyLessThan) {
    Target t = target();
    rcColor3(t->rc, 255, 0, 0);
    rasteriseTriangle(*t->rc, vertex(10, 10, 500), vertex(100, 10, 500), vertex(10, 100, 500));
    EXPECT_EQ(0xFF0000FFu, pixelAt(*t, 20, 20));
    EXPECT_EQ(500, depthAt(*t, 20, 20));
    rcColor3(t->rc, 0, 255, 0);
    rasteriseTriangle(*t->rc, vertex(10, 10, 500), vertex(100, 10, 500), vertex(10, 100, 500));
    EXPECT_EQ(0xFF0000FFu, pixelAt(*t, 20, 20)); // equal depth: kept
    rasteriseTriangle(*t->rc, vertex(10, 10, 600), vertex(100, 10, 600), vertex(10, 100, 600));
    EXPECT_EQ(0xFF0000FFu, pixelAt(*t, 20, 20)); // farther: kept
    rasteriseTriangle(*t->rc, vertex(10, 10, 499), vertex(100, 10, 499), vertex(10, 100, 499));
    EXPECT_EQ(0xFF00FF00u, pixelAt(*t, 20, 20)); // nearer: drawn
    EXPECT_EQ(499, depthAt(*t, 20, 20));
}

// The plane through the three vertices at the centre of pixel (col, row), in doubles.
double planeDepth(const ScreenVertex (&v)[3], int col, int row) {
    const double x0 = fxToDouble(v[0].x), y0 = fxToDouble(v[0].y), z0 = fxToDouble(v[0].z);
    const double ax = fxToDouble(v[1].x) - x0, ay = fxToDouble(v[1].y) - y0,
                 az = fxToDouble(v[1].z) - z0;
    const double bx = fxToDouble(v[2].x) - x0, by = fxToDouble(v[2].y) - y0,
                 bz = fxToDouble(v[2].z) - z0;
    const double cross = ax * by - ay * bx;
    const double dzdx = (az * by - ay * bz) / cross, dzdy = (ax * bz - az * bx) / cross;
    return z0 + dzdx * (col + 0.5 - x0) + dzdy * (row + 0.5 - y0);
}

// Depth at pixel centres is the plane's: on a small triangle (depth products are Fixed and the
// truncated 1 / area makes larger ones coarser), on one whose (depth span) x (rows) leaves 32
// bits (held flat it was drawn at 1000 everywhere) and on one whose area does (in 32 bits it
// wrapped and the triangle was lost).
TEST(Rasteriser, DepthIsThePlaneAtPixelCentresInAndBeyondThirtyTwoBits) {
    struct Case {
        ScreenVertex v[3];
        std::vector<std::pair<int, int>> probes;
    };
    const Case cases[] = {
        {{vertex(0, 0, 1000), vertex(20, 0, 1200), vertex(0, 20, 1020)},
         {{0, 0}, {3, 0}, {6, 0}, {0, 7}, {3, 7}, {6, 7}, {0, 12}, {3, 12}, {6, 12}}},
        {{vertex(10, 10, 1000), vertex(50, 50, 2000), vertex(10, 50, 2000)}, {{20, 30}, {12, 45}}},
        {{vertex(5, 5, 2000), vertex(235, 5, 4300), vertex(5, 315, 2000)}, {{50, 200}, {200, 10}}},
    };
    for (const Case& c : cases) {
        const Target t = target();
        rasteriseTriangle(*t->rc, c.v[0], c.v[1], c.v[2]);
        for (const auto& [x, y] : c.probes)
            EXPECT_NEAR(planeDepth(c.v, x, y), depthAt(*t, x, y), 1.5) << x << ", " << y;
    }
}

TEST(Rasteriser, OverflowingDepthGradientsHoldTheLeftStartVertexDepth) {
    // 31767 depth units across 0.9 pixels: above 32767.0 per pixel, so depth is held flat at
    // the depth of the left edge's start vertex (the top one). In 32 bits this gradient wraps
    // to about -30240 and the triangle would vanish behind its own negative depth.
    Target t = target();
    rasteriseTriangle(*t->rc, vertex(10.4, 10, 1000), vertex(11.3, 10, 32767),
                      vertex(10.4, 11, 1000));
    EXPECT_NE(kBackground, pixelAt(*t, 10, 10));
    EXPECT_EQ(1000, depthAt(*t, 10, 10));
    // 1.5 pixels wide is steep but representable: the centre 0.1 px in gets its share.
    rasteriseTriangle(*t->rc, vertex(10.4, 20, 1000), vertex(11.9, 20, 32767),
                      vertex(10.4, 21, 1000));
    EXPECT_NEAR(1000 + 0.1 * 31767 / 1.5, depthAt(*t, 10, 20), 3);
}

TEST(Rasteriser, BlendTruncatesEachTermAndKeepsTheDestinationAlpha) {
    // (0, 0, 0, 128) over (200, 100, 50): 127/256 of each channel.
    EXPECT_EQ(0x7B183163u, blendOver(0x7B3264C8u, 0, 0, 0, 128));
    EXPECT_EQ(0x7B030201u, blendOver(0x7B3264C8u, 1, 2, 3, 255)); // opaque: the source
    // Transparent: c x 255 / 256 + s / 256, truncated.
    EXPECT_EQ(0x00FEFEFEu, blendOver(0x00FFFFFFu, 255, 255, 255, 0));

    Target t = target(0xFF3264C8u);
    rcEnable(t->rc, GL_BLEND);
    rcColor4(t->rc, 0, 0, 0, 128);
    rasteriseTriangle(*t->rc, vertex(10, 10, 500), vertex(100, 10, 500), vertex(10, 100, 500));
    EXPECT_EQ(0xFF183163u, pixelAt(*t, 20, 20)); // (99, 49, 24)
    EXPECT_EQ(500, depthAt(*t, 20, 20));
    // Blending also obeys the depth test.
    rasteriseTriangle(*t->rc, vertex(10, 10, 500), vertex(100, 10, 500), vertex(10, 100, 500));
    EXPECT_EQ(0xFF183163u, pixelAt(*t, 20, 20));
    rcDisable(t->rc, GL_DEPTH_TEST);
    rasteriseTriangle(*t->rc, vertex(10, 10, 900), vertex(100, 10, 900), vertex(10, 100, 900));
    EXPECT_EQ(0xFF0B1831u, pixelAt(*t, 20, 20));
    EXPECT_EQ(500, depthAt(*t, 20, 20)); // not stored without the test
}

TEST(Rasteriser, ReachesTheFarBordersButNeverBeyondTheBuffer) {
    Target t = coverageTarget();
    rasteriseTriangle(*t->rc, vertex(0, 0), vertex(240, 0), vertex(240, 320));
    rasteriseTriangle(*t->rc, vertex(0, 0), vertex(240, 320), vertex(0, 320));
    EXPECT_EQ(240 * 320, countDrawn(*t)); // every pixel exactly, as the benchmark's quad
    clearPixels(*t);
    // A triangle reaching outside is refused whole rather than written past the buffer.
    rasteriseTriangle(*t->rc, vertex(10, 10), vertex(241, 10), vertex(10, 50));
    rasteriseTriangle(*t->rc, vertex(10, 10), vertex(-0.01, 10), vertex(10, 50));
    rasteriseTriangle(*t->rc, vertex(10, 10), vertex(20, 10), vertex(10, 320.01));
    EXPECT_EQ(0, countDrawn(*t));
}

// Whether the area fits 32 bits but a depth gradient's numerator does not: the cross product's
// depth components, (depth span) x (pixels), for a deep triangle some tens of pixels across.
// The rasteriser truncates its two area products, so both tests stay a little clear of the
// border.
bool areaWrapsThirtyTwoBits(const ScreenVertex (&v)[3]) {
    return std::llabs(exactArea(v)) >= 32800LL * 65536 * 65536;
}

bool onlyDepthNumeratorWraps(const ScreenVertex (&v)[3]) {
    if (std::llabs(exactArea(v)) >= 32700LL * 65536 * 65536)
        return false;
    auto delta = [&v](int i, auto coordinate) {
        return int64_t{v[i].*coordinate} - v[0].*coordinate;
    };
    const int64_t across = delta(2, &ScreenVertex::z) * delta(1, &ScreenVertex::y) -
                           delta(2, &ScreenVertex::y) * delta(1, &ScreenVertex::z);
    const int64_t down = delta(2, &ScreenVertex::x) * delta(1, &ScreenVertex::z) -
                         delta(2, &ScreenVertex::z) * delta(1, &ScreenVertex::x);
    const int64_t limit = 32800LL * 65536 * 65536;
    return std::llabs(across) >= limit || std::llabs(down) >= limit;
}

// Draws the triangle alone: coverage follows the rule with the exact orientation, and depth the
// plane through the vertices.
void expectRuleAndPlane(const ScreenVertex (&v)[3], int trial) {
    const Target t = target();
    rasteriseTriangle(*t->rc, v[0], v[1], v[2]);
    const Mask drawn = drawnMask(*t);
    reportMismatch(drawn, referenceCoverage(v[0], v[1], v[2]), v, trial);
    // Vertices sit on the 1/2048 pixel grid of the edges, so a steep plane is only pinned
    // down to its slope times that much in each direction.
    const double slopes = std::abs(planeDepth(v, 1, 0) - planeDepth(v, 0, 0)) +
                          std::abs(planeDepth(v, 0, 1) - planeDepth(v, 0, 0));
    const double tolerance = 1.5 + slopes * 2 / 2048;
    int depthFaults = 0;
    for (int row = 0; row < kTargetHeight; ++row)
        for (int col = 0; col < kTargetWidth; ++col)
            if (drawn[row * kTargetWidth + col] &&
                std::abs(depthAt(*t, col, row) - planeDepth(v, col, row)) > tolerance &&
                depthFaults++ < 3)
                ADD_FAILURE() << "trial " << trial << " depth at (" << col << ", " << row << ") "
                              << depthAt(*t, col, row) << " plane " << planeDepth(v, col, row)
                              << "; triangle (" << v[0].x << ", " << v[0].y << ", " << v[0].z
                              << "), (" << v[1].x << ", " << v[1].y << ", " << v[1].z << "), ("
                              << v[2].x << ", " << v[2].y << ", " << v[2].z << ")";
}

} // namespace

// Random triangles of the given size and depth range that the filter keeps, each checked
// against the rule and the plane. Left out: needles whose gradient is beyond maxSlope (beyond
// 30000 they are held flat; and where the plane, carried from a vertex to the first pixel
// centre, dips below zero, that start is replaced by the farthest depth).
template <typename Filter>
void checkRandomTriangles(uint32_t seed, double maxSize, double minDepth, double maxDepth,
                          double maxSlope, Filter keep) {
    std::mt19937 rng(seed);
    auto uniform = [&rng](Fixed low, Fixed high) {
        return std::uniform_int_distribution<Fixed>(low, high)(rng);
    };
    int tested = 0;
    for (int trial = 0; tested < 300 && trial < 1000000; ++trial) {
        const Fixed left = uniform(0, fxFromDouble(239 - maxSize)),
                    top = uniform(0, fxFromDouble(319 - maxSize));
        ScreenVertex v[3];
        for (auto& p : v)
            p = {left + uniform(0, fxFromDouble(maxSize)), top + uniform(0, fxFromDouble(maxSize)),
                 uniform(fxFromDouble(minDepth), fxFromDouble(maxDepth))};
        if (!keep(v) || std::abs(planeDepth(v, 1, 0) - planeDepth(v, 0, 0)) > maxSlope ||
            std::abs(planeDepth(v, 0, 1) - planeDepth(v, 0, 0)) > maxSlope)
            continue;
        ++tested;
        expectRuleAndPlane(v, trial);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_EQ(300, tested);
}

// Where 32-bit arithmetic would wrap, the triangle is drawn as a float reference draws it.
TEST(Rasteriser, TrianglesBeyondThirtyTwoBitsMatchTheRuleAndTheExactPlane) {
    // Doubled areas of 32768 square pixels and more.
    checkRandomTriangles(7031, 239, 1000, 31000, 30000, areaWrapsThirtyTwoBits);
    // Depth numerators beyond 32 bits on triangles of ordinary area.
    checkRandomTriangles(7032, 60, 8000, 14000, 4000, onlyDepthNumeratorWraps);
}
