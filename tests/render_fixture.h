// render_fixture.h: a render target held for one test, and the pixels drawn on it.
#pragma once

#include <algorithm>

#include "owned.h"
#include "render_target.h"

using Target = Owned<RenderTarget, destroyRenderTarget>;
using OwnedContext = Owned<RenderContext, rcDestroy>;

inline constexpr uint32_t kBlack = 0xFF000000u;

inline Target target(uint32_t background = kBlack) {
    return Target{makeRenderTarget(background)};
}

// Pixels other than the background.
inline int countDrawn(const RenderTarget& t, uint32_t background = kBlack) {
    return static_cast<int>(std::count_if(t.pixels.begin(), t.pixels.end(),
                                          [background](uint32_t p) { return p != background; }));
}
