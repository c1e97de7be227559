// figure_model.h: the player figure as plain data (materials, bones, meshes with skin weights),
// built from code, and its model file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "figure_math.h"
#include "writers/pak_writer.h"

// Order fixed by the game: 0-3 are recoloured per profile, 6 is repainted light grey.
enum FigureMaterial : int {
    MaterialSkin,
    MaterialClothing2, // `colour4`: shorts
    MaterialClothing1, // `colour3`: shirt
    MaterialHair,
    MaterialShoes,
    MaterialBall,
    MaterialRacket,
    MaterialGrip,
    MaterialStrings,
    kFigureMaterialCount
};

struct FigureMaterialInfo {
    const char* name;
    uint8_t r, g, b;
};
extern const FigureMaterialInfo kFigureMaterials[kFigureMaterialCount];

struct FigureFace {
    int material;
    int v[3];
};

struct FigureSkinGroup {
    int bone;
    std::vector<int> vertices;
    std::vector<float> weights;
};

struct FigureMesh {
    int visible = 1;
    int bone = -1; // carries the whole mesh when there are no skin groups
    std::vector<V3> vertices;
    std::vector<FigureFace> faces;
    std::vector<FigureSkinGroup> skin;
};

enum FigureMeshIndex : int { MeshBody, MeshBall, MeshRacket, kFigureMeshCount };

struct FigureModel {
    std::vector<FigureMesh> meshes; // in FigureMeshIndex order
};

FigureModel buildFigureModel();
int triangleCount(const FigureModel& model);
