// screenshot.cpp: the display as a PNG, its file name and the folder it goes to.
#include "platform/screenshot.h"

#include <SDL.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/display_colours.h"
#include "platform/pictures_folder.h"
#include "platform/platform.h"

namespace {

// The value of XDG_PICTURES_DIR="..." in user-dirs.dirs, with a leading $HOME expanded; the
// file's format allows only that one variable and only at the start.
std::string picturesFromUserDirs(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(in, line)) {
        if (!line.starts_with(key) || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME"))
            value = home + value.substr(5);
        // A relative path or a folder equal to home means "not set".
        if (value.empty() || value[0] != '/' || value == home || value == home + "/")
            return {};
        return value;
    }
    return {};
}

bool writeRgbPng(const std::string& path, const std::string& rgb, int width, int height) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, reinterpret_cast<png_const_bytep>(rgb.data()) +
                                   static_cast<size_t>(y) * width * 3);
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    // A full disk shows up at close; a half-written picture must not count as saved.
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}

} // namespace

std::string displayRgb(const Platform* platform, int scale) {
    const int width = kScreenWidth * scale;
    std::string rgb(static_cast<size_t>(width) * kScreenHeight * scale * 3, '\0');
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint16_t p = platformDisplayPixel(platform, x, y);
            const char pixel[3] = {static_cast<char>(widenRed(p)), static_cast<char>(widenGreen(p)),
                                   static_cast<char>(widenBlue(p))};
            for (int sy = 0; sy < scale; ++sy)
                for (int sx = 0; sx < scale; ++sx)
                    rgb.replace((static_cast<size_t>(y * scale + sy) * width + x * scale + sx) * 3,
                                3, pixel, 3);
        }
    return rgb;
}

bool writeDisplayPng(const Platform* platform, int scale, const std::string& path) {
    return writeRgbPng(path, displayRgb(platform, scale), kScreenWidth * scale,
                       kScreenHeight * scale);
}

int screenshotScale(const Platform* platform) {
    if (platform->headless || !platform->renderer)
        return 1;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(platform->renderer, &w, &h) != 0)
        return 1;
    const int scale = std::min(w / kScreenWidth, h / kScreenHeight);
    return scale < 1 ? 1 : scale;
}

std::string picturesFolder(const std::string& home, const std::string& configHome) {
    if (home.empty())
        return {};
    const std::string config =
        !configHome.empty() && configHome[0] == '/' ? configHome : home + "/.config";
    const std::string fromFile = picturesFromUserDirs(config + "/user-dirs.dirs", home);
    return fromFile.empty() ? home + "/Pictures" : fromFile;
}

std::string screenshotFileName(const std::tm& localTime, int repeat) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &localTime);
    std::string name = "drovana-";
    name += stamp;
    if (repeat > 1) {
        name += '-';
        name += std::to_string(repeat);
    }
    name += ".png";
    return name;
}

std::string saveScreenshot(const Platform* platform) {
    const std::string folder = userPicturesFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "drovana: no home folder to save the screenshot in\n");
        return {};
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string path;
    for (int repeat = 1; path.empty() || std::filesystem::exists(path, ignored); ++repeat)
        path = folder + "/" + screenshotFileName(local, repeat);
    if (!writeDisplayPng(platform, screenshotScale(platform), path)) {
        std::fprintf(stderr, "drovana: could not save the screenshot as %s\n", path.c_str());
        return {};
    }
    std::fprintf(stderr, "drovana: screenshot saved as %s\n", path.c_str());
    return path;
}
