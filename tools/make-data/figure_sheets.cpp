// figure_sheets.cpp: each animation frame by frame, as the player-choice screens show the figure.
#include "figure_sheets.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "assets/asset_names.h"
#include "assets/file_error.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "assets/pose.h"
#include "figure_animations.h"
#include "figure_drawing.h"
#include "match/stroke_table.h"
#include "render/camera.h"
#include "render/frame_buffer.h"
#include "render/render_context.h"
#include "writers/png_writer.h"

namespace {

// The part of the screen the figure moves in, standing where the player-choice screens put it,
// shown twice the size.
constexpr int kCropLeft = 4, kCropTop = 66, kCropWidth = 184, kCropHeight = 148;
constexpr int kZoom = 2;
constexpr int kCellWidth = kCropWidth * kZoom, kCellHeight = kCropHeight * kZoom;
constexpr int kColumns = 10;
constexpr int kBorder = 3;
constexpr Vec3 kFigurePosition = {-32768, 0, 6 << 16}; // (-0.5, 0, 6.0)
constexpr Vec3 kFigureFacing = {46340, 0, 46340};      // toward the camera, turned 45 degrees
constexpr Fixed kFrameTime = 2621;                     // 0.04 s

constexpr uint32_t kCourtGreen = pixelWord({70, 120, 60, 255});
constexpr uint32_t kContactRed = pixelWord({255, 0, 0, 255});
constexpr uint32_t kCellEdge = pixelWord({0, 0, 0, 255});
constexpr uint32_t kSheetGrey = pixelWord({32, 32, 32, 255});

// The frame a stroke's animation meets the ball at, or -1 for animations of no stroke.
int contactFrameOf(int animId) {
    for (int stroke = StrokeFirstServe; stroke < kStrokeRows; ++stroke)
        if (strokeAnimation(stroke) == animId)
            return strokeContact(stroke);
    return -1;
}

void renderFrame(RenderContext* rc, const CameraSetup& camera, std::vector<uint32_t>& screen,
                 const Pose& pose) {
    std::fill(screen.begin(), screen.end(), kCourtGreen);
    rcClear(rc, GL_DEPTH_BUFFER_BIT);
    rcMatrixMode(rc, GL_PROJECTION);
    rcLoadMatrix(rc, camera.projection);
    rcMatrixMode(rc, GL_MODELVIEW);
    rcLoadMatrix(rc, camera.previewView);
    drawFigure(rc, pose, kFigurePosition, kFigureFacing);
    rcLoadIdentity(rc);
    rcMatrixMode(rc, GL_PROJECTION);
    rcLoadIdentity(rc);
    rcFinish(rc);
}

struct Sheet {
    int width, height;
    std::vector<uint32_t> pixels; // top row first
};

void copyCell(Sheet& sheet, const std::vector<uint32_t>& screen, int cell, bool contact) {
    const int left = (cell % kColumns) * kCellWidth, top = (cell / kColumns) * kCellHeight;
    for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < kCellWidth; ++x) {
            const bool edge = x < kBorder || y < kBorder || x >= kCellWidth - kBorder ||
                              y >= kCellHeight - kBorder;
            const uint32_t pixel =
                !edge ? screen[frameBufferIndex(kCropLeft + x / kZoom, kCropTop + y / kZoom)]
                      : (contact ? kContactRed : kCellEdge);
            sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left + x] = pixel;
        }
}

Sheet renderSheet(const KeyAnimation& animation, Pose* pose, int contact, RenderContext* rc,
                  const CameraSetup& camera, std::vector<uint32_t>& screen) {
    const int rows = (animation.frameCount + kColumns - 1) / kColumns;
    Sheet sheet{kColumns * kCellWidth, rows * kCellHeight, {}};
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, kSheetGrey);
    for (int f = 0; f < animation.frameCount; ++f) {
        setPose(pose, &animation, 0, f * kFrameTime);
        renderFrame(rc, camera, screen, *pose);
        copyCell(sheet, screen, f, f == contact);
    }
    return sheet;
}

std::string sheetName(const std::string& folder, const char16_t* keyFile) {
    const std::string name = toUtf8(keyFile);
    return folder + "/" + name.substr(0, name.size() - 4) + ".png";
}

// Owns what the sheets are drawn with, so every path out frees it.
struct SheetRig {
    PakArchive* archive = nullptr;
    Model* model = nullptr;
    Pose* pose = nullptr;
    RenderContext* rc = nullptr;
    ~SheetRig() {
        rcDestroy(rc);
        freePose(pose);
        freeModel(model);
        pakClose(archive);
    }
};

} // namespace

int writeFigureSheets(const std::string& pakPath, const std::string& folder) {
    SheetRig rig;
    std::vector<uint32_t> screen(kScreenPixels);
    const CameraSetup camera = makeCameraSetup();
    int written = 0;
    try {
        rig.archive = pakOpen(fromUtf8(pakPath), 1);
        rig.model = loadModelFile(rig.archive, kPlayerModelName);
        rig.pose = makePose(rig.model);
        rig.rc = rcCreate();
        rcBindBuffer(rig.rc, screen.data(), kScreenWidth, kScreenHeight);
        for (int id = 0; id < static_cast<int>(std::size(kAnimationFileNames)); ++id) {
            KeyAnimation* animation =
                loadKeyAnimation(rig.archive, modelEntryName(kAnimationFileNames[id]), rig.model);
            const Sheet sheet =
                renderSheet(*animation, rig.pose, contactFrameOf(id), rig.rc, camera, screen);
            setPose(rig.pose, nullptr, 0, 0); // the pose must not outlive its animation
            freeKeyAnimation(animation);
            if (!writePngRgba(sheetName(folder, kAnimationFileNames[id]),
                              reinterpret_cast<const uint8_t*>(sheet.pixels.data()), sheet.width,
                              sheet.height))
                throw std::runtime_error("cannot write figure sheets into " + folder);
            ++written;
        }
    } catch (const FileError& error) {
        throw std::runtime_error("figure sheets: " + toUtf8(error.message));
    }
    return written;
}
