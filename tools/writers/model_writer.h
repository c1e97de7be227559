// model_writer.h: writes Model records as the chunk tree the game's model reader expects.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/model.h"
#include "writers/chunk_writer.h"

// The whole file: one "ZQFF" chunk holding INFO (header values), then every object, copy,
// light, camera, the ground when present, glows and hulls, in that order.
//
// Counts are taken from the records' array sizes, so a written model always reads back equal.
// The writer does not check indices: faces, skin groups and parents must refer to existing
// vertices, materials and (earlier) transforms, or the reader rejects the file. An object's
// transforms are written as transformCount1 (cut to the array size) plus the rest as count 2.
//
// For the bake, a transform's rest matrix maps model space to the bone (the inverse of the bone's
// bind pose), row-major for row vectors with the translation in elements 12 to 14.
std::vector<uint8_t> buildModelFile(const Model& model);

// The pieces, for tools that compose chunks themselves and tests that craft damaged files.
void writeModelChunk(ChunkWriter& writer, const Model& model);
void writeObjectChunk(ChunkWriter& writer, const ModelObject& object);
// The 88-byte "INFO" of an object, its counts taken from the arrays.
void writeObjectInfoChunk(ChunkWriter& writer, const ModelObject& object);
void writeMaterialChunk(ChunkWriter& writer, const Material& material);
void writeTransformChunk(ChunkWriter& writer, const ObjectTransform& transform);
void writeLodChunk(ChunkWriter& writer, const ObjectLod& lod);
void writeMeshChunk(ChunkWriter& writer, const Mesh& mesh);
// A mesh's "INFO", its skin and morph group counts taken from the arrays.
void writeMeshInfoChunk(ChunkWriter& writer, const Mesh& mesh);
void writeSkinGroupChunk(ChunkWriter& writer, const SkinGroup& group);
void writeMorphGroupChunk(ChunkWriter& writer, const MorphGroup& group);
void writeSkeletonChunk(ChunkWriter& writer, const Skeleton& skeleton);
void writeCopyChunk(ChunkWriter& writer, const ObjectCopy& copy);
void writeLightChunk(ChunkWriter& writer, const ModelLight& light);
void writeCameraChunk(ChunkWriter& writer, const ModelCamera& camera);
void writeGroundChunk(ChunkWriter& writer, const GroundPlane& ground);
void writeGlowChunk(ChunkWriter& writer, const GlowSprite& glow);
void writeHullChunk(ChunkWriter& writer, const ConvexHull& hull);
