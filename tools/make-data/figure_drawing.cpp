// figure_drawing.cpp: one element-drawing call per run of faces sharing a material, then the
// whole figure again flattened onto the ground as a translucent shadow.
#include "figure_drawing.h"

#include <vector>

#include "assets/model.h"
#include "render/render_context.h"

namespace {

constexpr Fixed kModelScale = 655;    // 0.01: model units are centimetres
constexpr Fixed kShadowShear = 46333; // 0.707 of a point's height, along +z

FxMatrix figureMatrix(Vec3 position, Vec3 facing, bool shadow) {
    const Fixed s = kModelScale;
    FxMatrix m = {};
    m.m[0] = fxMul(-facing.z, s);
    m.m[2] = fxMul(facing.x, s);
    if (shadow)
        m.m[6] = fxMul(s, kShadowShear);
    else
        m.m[5] = s;
    m.m[8] = fxMul(facing.x, s);
    m.m[10] = fxMul(facing.z, s);
    m.m[12] = position.x;
    m.m[13] = position.y;
    m.m[14] = position.z;
    m.m[15] = 1 << 16;
    return m;
}

std::vector<Vec3> meshPoints(const std::vector<Fixed>& coordinates) {
    std::vector<Vec3> points(coordinates.size() / 3);
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = {coordinates[3 * i], coordinates[3 * i + 1], coordinates[3 * i + 2]};
    return points;
}

const uint32_t* faceIndices(const Mesh& mesh, size_t face) {
    return reinterpret_cast<const uint32_t*>(mesh.faces[face].v);
}

void drawMeshes(RenderContext* rc, const Pose& pose, bool shadow) {
    const ObjectLod& lod = primaryLod(*pose.model);
    const auto& materials = pose.model->objects[0].materials;
    for (size_t m = 0; m < lod.meshes.size(); ++m) {
        const Mesh& mesh = lod.meshes[m];
        if (!mesh.visible || mesh.faces.empty())
            continue;
        const std::vector<Vec3> points = meshPoints(pose.meshVertices[m]);
        rcVertexPointer(rc, 3, GL_FLOAT, 0, points.data());
        if (shadow) {
            rcDrawElements(rc, GL_TRIANGLES, 3 * static_cast<int32_t>(mesh.faces.size()),
                           GL_UNSIGNED_INT, faceIndices(mesh, 0));
            continue;
        }
        size_t start = 0;
        while (start < mesh.faces.size()) {
            size_t end = start + 1;
            while (end < mesh.faces.size() && mesh.faceMaterials[end] == mesh.faceMaterials[start])
                ++end;
            const uint8_t* c = materials[mesh.faceMaterials[start]].colour;
            rcColor3(rc, c[0], c[1], c[2]);
            rcDrawElements(rc, GL_TRIANGLES, 3 * static_cast<int32_t>(end - start), GL_UNSIGNED_INT,
                           faceIndices(mesh, start));
            start = end;
        }
    }
}

} // namespace

void drawFigure(RenderContext* rc, const Pose& pose, Vec3 position, Vec3 facing) {
    rcShadeModel(rc, GL_FLAT);
    rcEnable(rc, GL_DEPTH_TEST);
    rcMatrixMode(rc, GL_MODELVIEW);
    rcPushMatrix(rc);
    rcMultMatrix(rc, figureMatrix(position, facing, false));
    drawMeshes(rc, pose, false);
    rcPopMatrix(rc);
    rcEnable(rc, GL_BLEND);
    rcBlendFunc(rc, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    rcColor4(rc, 26, 26, 26, 96);
    rcPushMatrix(rc);
    rcMultMatrix(rc, figureMatrix(position, facing, true));
    drawMeshes(rc, pose, true);
    rcPopMatrix(rc);
    rcDisable(rc, GL_BLEND);
}
