// animation_bake.h: evaluating every keyframe against the model into Fixed vertex frames.
#pragma once

#include "assets/model.h"

struct KeyAnimation;

// Fills the animation's vertex frames (and vertices per frame) from its key matrices, frameCount
// x trackCount of them, frame after frame. The model's primary level of detail must exist, and
// every track map entry must be -1 or a transform of the first object.
void bakeKeyAnimation(KeyAnimation& animation, const FloatMatrix* keys, const Model& model);

// Vertices of every mesh of the model's primary level of detail together.
int32_t countPrimaryVertices(const Model& model);
