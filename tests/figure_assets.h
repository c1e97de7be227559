// figure_assets.h: the built player model and its twenty animations, loaded by the game's own
// readers for the tests.
#pragma once

#include <string>
#include <vector>

#include "assets/key_animation.h"
#include "assets/model.h"
#include "core/fixed_point.h"
#include "pak_fixture.h"

struct FigureAssets {
    OwnedPak archive;
    OwnedModel model;
    std::vector<OwnedAnimation> animations; // in AnimId order
    const KeyAnimation& animation(int id) const { return *animations[static_cast<size_t>(id)]; }
};

// Everything from the build's data.pak; animations baked against the model.
FigureAssets loadFigureAssets();

// A point of the baked frame, in centimetres.
Vec3F bakedVertex(const KeyAnimation& animation, int frame, int vertex);
// Where the first vertex of mesh `mesh` sits in a frame's block.
int meshVertexOffset(const Model& model, int mesh);
// The material index of the given name in the first object, or -1.
int materialNamed(const Model& model, const std::string& name);
// The centre of the racket's string bed in a baked frame (the mean of the corners of the
// faces drawn in the strings' material, a ring round the centre and the centre itself).
Vec3F racketHeadAt(const Model& model, const KeyAnimation& animation, int frame);
