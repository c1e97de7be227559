// window_shot.cpp: the window tests' picture helper: where a screen pixel lies in the game window,
// an X screenshot of the window brought back to 240 x 320, and pixel comparisons with what the
// end-to-end driver shows on the headless display.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/display.h"
#include "writers/png_reader.h"
#include "writers/png_writer.h"

namespace {

// Where the renderer shows the 240 x 320 screen in a window: scaled by the largest factor that
// fits (not necessarily whole), centred between black bars, as the renderer's logical size does.
struct PicturePlace {
    float scale = 1;
    int left = 0;
    int top = 0;
};

PicturePlace placeIn(int windowWidth, int windowHeight) {
    const float wantAspect = static_cast<float>(kScreenWidth) / kScreenHeight;
    const float realAspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    PicturePlace place;
    if (wantAspect > realAspect) { // bars above and below
        place.scale = static_cast<float>(windowWidth) / kScreenWidth;
        const int height = static_cast<int>(kScreenHeight * place.scale);
        place.top = (windowHeight - height) / 2;
    } else { // bars at the sides (none when the aspects agree)
        place.scale = static_cast<float>(windowHeight) / kScreenHeight;
        const int width = static_cast<int>(kScreenWidth * place.scale);
        place.left = (windowWidth - width) / 2;
    }
    return place;
}

// The window pixel in the middle of a screen pixel.
void windowPixelOf(const PicturePlace& place, int x, int y, int& windowX, int& windowY) {
    windowX = place.left + static_cast<int>((static_cast<float>(x) + 0.5f) * place.scale);
    windowY = place.top + static_cast<int>((static_cast<float>(y) + 0.5f) * place.scale);
}

// An X window dump (xwd) of a true-colour visual, as 8-bit RGB, top row first.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

uint32_t bigEndian32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint8_t maskedChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const uint32_t maximum = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / maximum);
}

bool readXwd(const std::string& path, RgbPicture& picture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (bytes.size() < 100) {
        error = "not an X window dump: " + path;
        return false;
    }
    uint32_t header[25];
    for (int i = 0; i < 25; ++i)
        header[i] = bigEndian32(&bytes[i * 4]);
    const uint32_t headerSize = header[0], format = header[2], width = header[4],
                   height = header[5], byteOrder = header[7], bitsPerPixel = header[11],
                   bytesPerLine = header[12], visualClass = header[13], redMask = header[14],
                   greenMask = header[15], blueMask = header[16], colours = header[19];
    constexpr uint32_t kZPixmap = 2, kTrueColor = 4, kDirectColor = 5;
    if (header[1] != 7 || format != kZPixmap ||
        (visualClass != kTrueColor && visualClass != kDirectColor) ||
        (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        error = "unsupported X window dump (want a true-colour ZPixmap): " + path;
        return false;
    }
    const size_t pixelsAt = size_t{headerSize} + size_t{colours} * 12;
    if (bytes.size() < pixelsAt + size_t{bytesPerLine} * height) {
        error = "X window dump is cut short: " + path;
        return false;
    }
    const uint32_t pixelBytes = bitsPerPixel / 8;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.rgb.resize(size_t{width} * height * 3);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &bytes[pixelsAt + size_t{y} * bytesPerLine + x * pixelBytes];
            uint32_t pixel = 0;
            for (uint32_t b = 0; b < pixelBytes; ++b)
                pixel |= uint32_t{p[byteOrder == 0 ? b : pixelBytes - 1 - b]} << (8 * b);
            uint8_t* out = &picture.rgb[(size_t{y} * width + x) * 3];
            out[0] = maskedChannel(pixel, redMask);
            out[1] = maskedChannel(pixel, greenMask);
            out[2] = maskedChannel(pixel, blueMask);
        }
    return true;
}

// The screen's pixels back out of a window-sized picture: the middle of each scaled pixel.
bool screenFromWindow(const RgbPicture& window, int left, int top, int width, int height,
                      std::vector<uint8_t>& rgba, std::string& error) {
    if (left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > window.width ||
        top + height > window.height) {
        error = "the window area lies outside the screenshot";
        return false;
    }
    const PicturePlace place = placeIn(width, height);
    rgba.assign(size_t{kScreenPixels} * 4, 255);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            int windowX = 0, windowY = 0;
            windowPixelOf(place, x, y, windowX, windowY);
            const uint8_t* in =
                &window
                     .rgb[(static_cast<size_t>(top + windowY) * window.width + left + windowX) * 3];
            std::memcpy(&rgba[(static_cast<size_t>(y) * kScreenWidth + x) * 4], in, 3);
        }
    return true;
}

uint16_t rgb565(const uint8_t* rgb) {
    return static_cast<uint16_t>((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | (rgb[2] >> 3));
}

// Which pixels a comparison counts: those inside `within` (all when it is empty) and outside
// `ignored`, a screen's part that is known to differ (a match's own figures).
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
};
struct ComparedArea {
    PixelRect within;
    PixelRect ignored;
};

bool inside(const PixelRect& r, int x, int y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

bool counts(const ComparedArea& area, int x, int y) {
    return (area.within.width == 0 || inside(area.within, x, y)) && !inside(area.ignored, x, y);
}

bool differsAt(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t i) {
    return rgb565(&a[i * 3]) != rgb565(&b[i * 3]);
}

// Pixels that differ once both pictures are brought to the display's RGB565, so a frame buffer's
// full colours and their display's widened ones compare equal. -1 when the sizes differ.
long differingPixels(const std::vector<uint8_t>& a, int aWidth, int aHeight,
                     const std::vector<uint8_t>& b, int bWidth, int bHeight,
                     const ComparedArea& area) {
    if (aWidth != bWidth || aHeight != bHeight)
        return -1;
    long differing = 0;
    for (int y = 0; y < aHeight; ++y)
        for (int x = 0; x < aWidth; ++x)
            differing += counts(area, x, y) &&
                         differsAt(a, b, static_cast<size_t>(y) * aWidth + static_cast<size_t>(x));
    return differing;
}

int usage() {
    std::fprintf(
        stderr,
        "usage: window-shot point WIDTH HEIGHT X Y\n"
        "         the window pixel showing screen pixel (X, Y) in a WIDTH x HEIGHT window\n"
        "       window-shot crop SHOT.xwd OUT.png [LEFT TOP WIDTH HEIGHT]\n"
        "         the window area of an X screenshot (all of it by default) as a 240 x 320 PNG\n"
        "       window-shot compare A.png B.png [--at-most N] [--differences OUT.png]\n"
        "                           [--within LEFT TOP WIDTH HEIGHT] [--ignore LEFT TOP WIDTH "
        "HEIGHT]\n"
        "         counts the pixels that differ on the display, only within the one rectangle\n"
        "         and not in the other when given; fails above N (default 0); OUT.png shows\n"
        "         the counted ones in magenta\n");
    return 2;
}

int pointCommand(char** argv) {
    const PicturePlace place = placeIn(std::atoi(argv[0]), std::atoi(argv[1]));
    int windowX = 0, windowY = 0;
    windowPixelOf(place, std::atoi(argv[2]), std::atoi(argv[3]), windowX, windowY);
    std::printf("%d %d\n", windowX, windowY);
    return 0;
}

int cropCommand(int argc, char** argv) {
    RgbPicture shot;
    std::string error;
    if (!readXwd(argv[0], shot, error)) {
        std::fprintf(stderr, "window-shot: %s\n", error.c_str());
        return 1;
    }
    int left = 0, top = 0, width = shot.width, height = shot.height;
    if (argc >= 6) {
        left = std::atoi(argv[2]);
        top = std::atoi(argv[3]);
        width = std::atoi(argv[4]);
        height = std::atoi(argv[5]);
    }
    std::vector<uint8_t> rgba;
    if (!screenFromWindow(shot, left, top, width, height, rgba, error)) {
        std::fprintf(stderr, "window-shot: %s\n", error.c_str());
        return 1;
    }
    return writePngRgba(argv[1], rgba.data(), kScreenWidth, kScreenHeight) ? 0 : 1;
}

// The first picture, dimmed, with the differing pixels that count in magenta.
bool writeDifferences(const std::string& path, const std::vector<uint8_t>& a,
                      const std::vector<uint8_t>& b, int width, int height,
                      const ComparedArea& area) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + static_cast<size_t>(x);
            const bool shown = counts(area, x, y) && differsAt(a, b, i);
            for (int c = 0; c < 3; ++c)
                rgba[i * 4 + c] =
                    shown ? (c == 1 ? 0 : 255) : static_cast<uint8_t>(a[i * 3 + c] / 4);
        }
    return writePngRgba(path, rgba.data(), width, height);
}

PixelRect rectOf(char** argv) {
    return {std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])};
}

int compareCommand(int argc, char** argv) {
    long allowed = 0;
    std::string differencesPath;
    ComparedArea area;
    for (int i = 2; i < argc;) {
        const bool rect =
            std::strcmp(argv[i], "--within") == 0 || std::strcmp(argv[i], "--ignore") == 0;
        if (i + (rect ? 4 : 1) >= argc)
            return usage();
        if (std::strcmp(argv[i], "--at-most") == 0)
            allowed = std::atol(argv[i + 1]);
        else if (std::strcmp(argv[i], "--differences") == 0)
            differencesPath = argv[i + 1];
        else if (std::strcmp(argv[i], "--within") == 0)
            area.within = rectOf(argv + i + 1);
        else if (std::strcmp(argv[i], "--ignore") == 0)
            area.ignored = rectOf(argv + i + 1);
        else
            return usage();
        i += rect ? 5 : 2;
    }
    std::vector<uint8_t> a, b;
    int aWidth = 0, aHeight = 0, bWidth = 0, bHeight = 0;
    if (!readPngRgb(argv[0], a, aWidth, aHeight) || !readPngRgb(argv[1], b, bWidth, bHeight)) {
        std::fprintf(stderr, "window-shot: cannot read %s or %s\n", argv[0], argv[1]);
        return 2;
    }
    const long differing = differingPixels(a, aWidth, aHeight, b, bWidth, bHeight, area);
    if (differing < 0) {
        std::printf("sizes differ: %d x %d and %d x %d\n", aWidth, aHeight, bWidth, bHeight);
        return 1;
    }
    long compared = 0;
    for (int y = 0; y < aHeight; ++y)
        for (int x = 0; x < aWidth; ++x)
            compared += counts(area, x, y);
    std::printf("%ld of %ld pixels differ\n", differing, compared);
    if (!differencesPath.empty() && !writeDifferences(differencesPath, a, b, aWidth, aHeight, area))
        return 2;
    return differing <= allowed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "point" && argc == 6)
        return pointCommand(argv + 2);
    if (command == "crop" && (argc == 4 || argc == 8))
        return cropCommand(argc - 2, argv + 2);
    if (command == "compare" && argc >= 4)
        return compareCommand(argc - 2, argv + 2);
    return usage();
}
