// canvas.cpp: a small scanline filler with exact horizontal and 8-fold vertical coverage.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kSubRows = 8;

struct Edge {
    float x0, y0, x1, y1;
    int winding;
};

std::vector<Edge> edgesOf(const Path& path) {
    std::vector<Edge> edges;
    for (const auto& contour : path) {
        for (size_t i = 0; i < contour.size(); ++i) {
            Point a = contour[i];
            Point b = contour[(i + 1) % contour.size()];
            if (a.y == b.y)
                continue;
            if (a.y < b.y)
                edges.push_back({a.x, a.y, b.x, b.y, 1});
            else
                edges.push_back({b.x, b.y, a.x, a.y, -1});
        }
    }
    return edges;
}

// Adds the covered length of [x0, x1) to each pixel of the row, weighted.
void addSpan(std::vector<float>& row, float x0, float x1, float weight) {
    const int width = static_cast<int>(row.size());
    x0 = std::max(x0, 0.0f);
    x1 = std::min(x1, static_cast<float>(width));
    if (x1 <= x0)
        return;
    const int first = static_cast<int>(std::floor(x0));
    const int last = std::min(static_cast<int>(std::floor(x1)), width - 1);
    if (first == last) {
        row[first] += (x1 - x0) * weight;
        return;
    }
    row[first] += (static_cast<float>(first + 1) - x0) * weight;
    for (int x = first + 1; x < last; ++x)
        row[x] += weight;
    row[last] += (x1 - static_cast<float>(last)) * weight;
}

} // namespace

Colour mixColour(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaleColour(Colour c, float factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Canvas makeCanvas(int width, int height, Colour fill) {
    return {width, height, std::vector<Colour>(static_cast<size_t>(width) * height, fill)};
}

Colour& pixelAt(Canvas& canvas, int x, int y) {
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

void blendPixel(Canvas& canvas, int x, int y, Colour colour, float alpha) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || alpha <= 0.0f)
        return;
    Colour& p = pixelAt(canvas, x, y);
    p = mixColour(p, colour, std::min(alpha, 1.0f));
}

std::vector<uint8_t> canvasSamples(const Canvas& canvas, int components) {
    std::vector<uint8_t> out;
    out.reserve(canvas.pixels.size() * components);
    auto byte = [](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (const Colour& p : canvas.pixels) {
        out.push_back(byte(p.r));
        if (components == 3) {
            out.push_back(byte(p.g));
            out.push_back(byte(p.b));
        }
    }
    return out;
}

Paint solid(Colour colour) {
    return [colour](float, float) { return colour; };
}

Paint verticalGradient(float y0, Colour top, float y1, Colour bottom) {
    return [=](float, float y) {
        return mixColour(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
    };
}

Paint linearGradient(float x0, float y0, Colour from, float x1, float y1, Colour to) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float lengthSquared = dx * dx + dy * dy;
    return [=](float x, float y) {
        const float t = ((x - x0) * dx + (y - y0) * dy) / lengthSquared;
        return mixColour(from, to, std::clamp(t, 0.0f, 1.0f));
    };
}

Paint radialGradient(float cx, float cy, float radius, Colour centre, Colour edge) {
    return [=](float x, float y) {
        const float d = std::hypot(x - cx, y - cy) / radius;
        return mixColour(centre, edge, std::clamp(d, 0.0f, 1.0f));
    };
}

std::vector<float> pathCoverage(int width, int height, const Path& path) {
    std::vector<float> coverage(static_cast<size_t>(width) * height, 0.0f);
    const std::vector<Edge> edges = edgesOf(path);
    std::vector<std::pair<float, int>> crossings;
    std::vector<float> row(width);
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0.0f);
        bool any = false;
        for (int s = 0; s < kSubRows; ++s) {
            const float sy = static_cast<float>(y) + (static_cast<float>(s) + 0.5f) / kSubRows;
            crossings.clear();
            for (const Edge& e : edges) {
                if (sy < e.y0 || sy >= e.y1)
                    continue;
                const float t = (sy - e.y0) / (e.y1 - e.y0);
                crossings.push_back({e.x0 + (e.x1 - e.x0) * t, e.winding});
            }
            if (crossings.empty())
                continue;
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            for (size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].second;
                if (winding != 0) {
                    addSpan(row, crossings[i].first, crossings[i + 1].first, 1.0f / kSubRows);
                    any = true;
                }
            }
        }
        if (any)
            for (int x = 0; x < width; ++x)
                coverage[static_cast<size_t>(y) * width + x] = std::min(row[x], 1.0f);
    }
    return coverage;
}

void blendCoverage(Canvas& canvas, const std::vector<float>& coverage, const Paint& paint,
                   float opacity) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float c = coverage[static_cast<size_t>(y) * canvas.width + x] * opacity;
            if (c > 0.0f)
                blendPixel(canvas, x, y,
                           paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), c);
        }
}

void fillPath(Canvas& canvas, const Path& path, const Paint& paint, float opacity) {
    blendCoverage(canvas, pathCoverage(canvas.width, canvas.height, path), paint, opacity);
}

void fillRect(Canvas& canvas, float x, float y, float w, float h, Colour colour) {
    fillPath(canvas, rectPath(x, y, w, h), solid(colour));
}

std::vector<float> blurCoverage(const std::vector<float>& coverage, int width, int height,
                                int radius) {
    std::vector<float> pass(coverage.size()), out(coverage.size());
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k) {
                const int xx = std::clamp(x + k, 0, width - 1);
                sum += coverage[static_cast<size_t>(y) * width + xx];
            }
            pass[static_cast<size_t>(y) * width + x] = sum * scale;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k) {
                const int yy = std::clamp(y + k, 0, height - 1);
                sum += pass[static_cast<size_t>(yy) * width + x];
            }
            out[static_cast<size_t>(y) * width + x] = sum * scale;
        }
    return out;
}

void pasteCanvas(Canvas& dst, const Canvas& src, int x, int y) {
    for (int row = 0; row < src.height; ++row)
        for (int col = 0; col < src.width; ++col) {
            const int dx = x + col, dy = y + row;
            if (dx >= 0 && dy >= 0 && dx < dst.width && dy < dst.height)
                pixelAt(dst, dx, dy) = src.pixels[static_cast<size_t>(row) * src.width + col];
        }
}

Path rectPath(float x, float y, float w, float h) {
    return {{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}};
}

Path roundedRectPath(float x, float y, float w, float h, float radius) {
    radius = std::min({radius, w / 2, h / 2});
    if (radius <= 0.0f)
        return rectPath(x, y, w, h);
    constexpr int kArcSteps = 10;
    std::vector<Point> points;
    const Point centres[4] = {{x + w - radius, y + radius},
                              {x + w - radius, y + h - radius},
                              {x + radius, y + h - radius},
                              {x + radius, y + radius}};
    for (int corner = 0; corner < 4; ++corner) {
        const float start = (static_cast<float>(corner) - 1.0f) * std::numbers::pi_v<float> / 2;
        for (int i = 0; i <= kArcSteps; ++i) {
            const float a =
                start + std::numbers::pi_v<float> / 2 * static_cast<float>(i) / kArcSteps;
            points.push_back({centres[corner].x + radius * std::cos(a),
                              centres[corner].y + radius * std::sin(a)});
        }
    }
    return {points};
}

Path ellipsePath(float cx, float cy, float rx, float ry) {
    constexpr int kSteps = 96;
    std::vector<Point> points;
    for (int i = 0; i < kSteps; ++i) {
        const float a = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / kSteps;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return {points};
}

Path polygonPath(std::vector<Point> points) {
    return {std::move(points)};
}

Path linePath(Point a, Point b, float width) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::hypot(dx, dy);
    if (length == 0.0f)
        return {};
    const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
    return {
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}};
}

Path reversedPath(Path path) {
    for (auto& contour : path)
        std::reverse(contour.begin(), contour.end());
    return path;
}

Path joinPaths(Path a, const Path& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Path roundedFramePath(float x, float y, float w, float h, float radius, float width) {
    return joinPaths(roundedRectPath(x, y, w, h, radius),
                     reversedPath(roundedRectPath(x + width, y + width, w - 2 * width,
                                                  h - 2 * width, std::max(radius - width, 0.0f))));
}
