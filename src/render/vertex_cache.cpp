// vertex_cache.cpp: the projected vertices of one element drawing.
#include "render/vertex_cache.h"

void vertexCacheForget(VertexCache& cache) {
    cache.projectedEnd = 0;
    if (++cache.generation != 0)
        return;
    // After four billion changes the stamps come round again: only now are the slots cleared.
    for (CachedVertex& slot : cache.slots)
        slot.generation = 0;
    cache.generation = 1;
}
