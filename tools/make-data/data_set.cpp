// data_set.cpp: JPEG encoding settings for pictures and masks, and the entry list.
#include "data_set.h"

#include <algorithm>
#include <stdexcept>

#include "writers/jpeg_encoder.h"

namespace {

// High enough that words stay crisp and mask edges clean; backdrops dominate the size budget.
constexpr int kBackdropQuality = 88;
constexpr int kFaceQuality = 94;
constexpr int kMaskQuality = 95;

bool isFullScreen(const Canvas& canvas) {
    return canvas.width == 240 && canvas.height == 320;
}

} // namespace

void addEntry(DataSet& data, const WideString& name, std::vector<uint8_t> bytes) {
    if (hasEntry(data, name))
        throw std::invalid_argument("data.pak entry made twice: " + toUtf8(name));
    data.entries.push_back({name, std::move(bytes)});
}

void addPicture(DataSet& data, const WideString& name, const Canvas& canvas) {
    const int quality = isFullScreen(canvas) ? kBackdropQuality : kFaceQuality;
    addEntry(data, name,
             encodeJpeg(canvasSamples(canvas, 3).data(), canvas.width, canvas.height, 3, quality));
    data.pictureSizes[name] = {canvas.width, canvas.height};
}

void addMask(DataSet& data, const WideString& name, const Canvas& canvas) {
    addEntry(
        data, name,
        encodeJpeg(canvasSamples(canvas, 1).data(), canvas.width, canvas.height, 1, kMaskQuality));
    data.pictureSizes[name] = {canvas.width, canvas.height};
}

void addCoverageMask(DataSet& data, const WideString& name, const std::vector<float>& coverage,
                     int width, int height) {
    Canvas mask = makeCanvas(width, height, {0, 0, 0});
    for (size_t i = 0; i < coverage.size(); ++i) {
        const float c = std::clamp(coverage[i], 0.0f, 1.0f);
        mask.pixels[i] = {c, c, c};
    }
    addMask(data, name, mask);
}

bool hasEntry(const DataSet& data, const WideString& name) {
    return std::any_of(data.entries.begin(), data.entries.end(),
                       [&](const PakWriterEntry& e) { return e.name == name; });
}
