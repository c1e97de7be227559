// vertex_cache.cpp: the projected vertices of one element drawing.
#include "render/vertex_cache.h"

#include <algorithm>

void vertexCacheForget(VertexCache& cache) {
    cache.projectedBegin = 0;
    cache.projectedEnd = 0;
    if (++cache.generation != 0)
        return;
    // After four billion changes the stamps come round again: only now are the slots cleared.
    for (CachedVertex& slot : cache.slots)
        slot.generation = 0;
    cache.generation = 1;
}

ProjectionPlan planProjection(const VertexCache& cache, uint32_t lowest, uint32_t highest) {
    ProjectionPlan plan;
    const uint32_t begin = cache.projectedBegin, end = cache.projectedEnd;
    const uint64_t past = uint64_t{highest} + 1;
    if (begin == end || past < begin || lowest > end) {
        plan.runs[0] = {lowest, highest};
        plan.vertices = highest - lowest + 1;
        plan.begin = lowest;
        plan.end = static_cast<uint32_t>(past);
        return plan;
    }
    if (lowest < begin)
        plan.runs[0] = {lowest, begin - 1};
    if (past > end)
        plan.runs[1] = {end, highest};
    for (const VertexRun& run : plan.runs)
        if (run.first <= run.last)
            plan.vertices += run.last - run.first + 1;
    plan.begin = std::min(lowest, begin);
    plan.end = static_cast<uint32_t>(std::max<uint64_t>(past, end));
    return plan;
}
