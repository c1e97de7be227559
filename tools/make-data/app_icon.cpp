// app_icon.cpp: drawing the launcher icon and writing it as PNG files.
#include "app_icon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "house_style.h"
#include "writers/png_writer.h"

namespace {

std::vector<uint8_t> iconRgba(const AppIcon& icon) {
    const std::vector<uint8_t> rgb = canvasSamples(icon.canvas, 3);
    std::vector<uint8_t> rgba(icon.alpha.size() * 4);
    for (size_t i = 0; i < icon.alpha.size(); ++i) {
        std::copy_n(&rgb[i * 3], 3, &rgba[i * 4]);
        rgba[i * 4 + 3] =
            static_cast<uint8_t>(std::lround(std::clamp(icon.alpha[i], 0.0f, 1.0f) * 255.0f));
    }
    return rgba;
}

} // namespace

AppIcon drawAppIcon(int size) {
    const float s = static_cast<float>(size);
    // A small margin keeps the tile from touching its neighbours in a launcher grid.
    const float inset = s * 0.04f;
    const float tile = s - 2.0f * inset;
    const Path tilePath = roundedRectPath(inset, inset, tile, tile, tile * 0.22f);
    AppIcon icon{makeCanvas(size, size, palette::kNight), pathCoverage(size, size, tilePath)};
    Canvas& canvas = icon.canvas;
    fillPath(canvas, rectPath(0, 0, s, s), verticalGradient(0, palette::kDeep, s, palette::kNight));
    // The floodlight glow of the logo screen, from above.
    fillPath(canvas, ellipsePath(s * 0.5f, s * 0.08f, s * 0.62f, s * 0.62f),
             radialGradient(s * 0.5f, s * 0.08f, s * 0.62f, palette::kBlue, palette::kDeep), 0.7f);
    // The court's service line under the ball, the yellow accent stroke of the titles.
    fillPath(canvas,
             linePath({s * 0.2f, s * 0.8f}, {s * 0.8f, s * 0.8f}, std::max(2.0f, s * 0.05f)),
             solid(palette::kBall));
    drawTennisBall(canvas, s * 0.5f, s * 0.45f, s * 0.27f);
    fillPath(canvas,
             roundedFramePath(inset, inset, tile, tile, tile * 0.22f, std::max(1.0f, s / 64)),
             solid(palette::kSteel), 0.5f);
    return icon;
}

namespace {

template <size_t N> bool writeIcons(const std::string& folder, const int (&sizes)[N]) {
    for (const int size : sizes) {
        const AppIcon icon = drawAppIcon(size);
        const std::vector<uint8_t> rgba = iconRgba(icon);
        const std::string path = folder + "/drovana-" + std::to_string(size) + ".png";
        if (!writePngRgbaWithAlpha(path, rgba.data(), size, size))
            return false;
    }
    return true;
}

} // namespace

bool writeAppIcons(const std::string& folder) {
    return writeIcons(folder, kAppIconSizes);
}

bool writeWebIcons(const std::string& folder) {
    return writeIcons(folder, kWebIconSizes);
}
