// render_target.cpp: a 240 x 320 frame buffer with a bound render context, for tests and for
// people who want to look at what was drawn.
#include "render_target.h"

#include <filesystem>

#if !defined(__EMSCRIPTEN__)
#include "writers/png_writer.h"
#endif

RenderTarget* makeRenderTarget(uint32_t background) {
    RenderTarget* target = new RenderTarget;
    target->pixels.assign(kTargetWidth * kTargetHeight, background);
    target->rc = rcCreate();
    rcBindBuffer(target->rc, target->pixels.data(), kTargetWidth, kTargetHeight);
    rcClear(target->rc, GL_DEPTH_BUFFER_BIT);
    return target;
}

void destroyRenderTarget(RenderTarget* target) {
    rcDestroy(target->rc);
    delete target;
}

uint32_t& pixelAt(RenderTarget& target, int x, int y) {
    return target.pixels[(kTargetHeight - 1 - y) * kTargetWidth + x];
}

uint16_t depthAt(const RenderTarget& target, int x, int y) {
    return target.rc->depthBuffer[y * kTargetWidth + x];
}

#if defined(__EMSCRIPTEN__)
std::string saveRenderTargetPng(const RenderTarget&, const std::string&) {
    return {};
}
#else
std::string saveRenderTargetPng(const RenderTarget& target, const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(DROVANA_BUILD_DIR) / "render-output";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / (name + ".png")).string();
    return writeFrameBufferPng(path, target.pixels.data()) ? path : std::string();
}
#endif
