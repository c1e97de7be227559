// figure_assets.cpp: loading the built figure and reading its baked frames.
#include "figure_assets.h"

#include <set>

#include <gtest/gtest.h>

#include "assets/asset_names.h"
#include "assets/pak_archive.h"
#include "built_data.h"

FigureAssets loadFigureAssets() {
    FigureAssets assets;
    assets.archive.reset(openBuiltData());
    assets.model.reset(loadModelFile(assets.archive.get(), kPlayerModelName));
    for (const char16_t* file : kAnimationFileNames)
        assets.animations.emplace_back(
            loadKeyAnimation(assets.archive.get(), modelEntryName(file), assets.model.get()));
    return assets;
}

Vec3F bakedVertex(const KeyAnimation& animation, int frame, int vertex) {
    const size_t at = (static_cast<size_t>(frame) * animation.verticesPerFrame + vertex) * 3;
    return {static_cast<float>(animation.vertexFrames[at]) / 65536.0f,
            static_cast<float>(animation.vertexFrames[at + 1]) / 65536.0f,
            static_cast<float>(animation.vertexFrames[at + 2]) / 65536.0f};
}

int meshVertexOffset(const Model& model, int mesh) {
    int offset = 0;
    for (int m = 0; m < mesh; ++m)
        offset += static_cast<int>(primaryLod(model).meshes[m].vertices.size());
    return offset;
}

int materialNamed(const Model& model, const std::string& name) {
    const auto& materials = model.objects[0].materials;
    for (size_t i = 0; i < materials.size(); ++i)
        if (materials[i].name == name)
            return static_cast<int>(i);
    return -1;
}

Vec3F racketHeadAt(const Model& model, const KeyAnimation& animation, int frame) {
    const int racket = 2;
    const Mesh& mesh = primaryLod(model).meshes[racket];
    const int strings = materialNamed(model, "Cordaje");
    std::set<int> corners;
    for (size_t f = 0; f < mesh.faces.size(); ++f)
        if (mesh.faceMaterials[f] == strings)
            corners.insert(mesh.faces[f].v, mesh.faces[f].v + 3);
    Vec3F sum = {0, 0, 0};
    const int offset = meshVertexOffset(model, racket);
    for (int v : corners) {
        const Vec3F p = bakedVertex(animation, frame, offset + v);
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    const float n = static_cast<float>(corners.size());
    return {sum.x / n, sum.y / n, sum.z / n};
}
