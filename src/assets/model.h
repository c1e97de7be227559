// model.h: the player model file in memory: a tree of plain records mirroring its chunks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/fixed_point.h"
#include "core/wide_string.h"

struct Chunk;
struct PakArchive;

// A "CSTR" chunk's text up to its terminator; empty optional when the chunk was absent.
using ModelString = std::optional<std::string>;

// Row-major 4 x 4 for row vectors: translation in elements 12 to 14.
using FloatMatrix = std::array<float, 16>;

struct Material {
    uint8_t colour[4] = {}; // R, G, B, and a fourth byte nothing reads
    int32_t values[5] = {}; // B to F, kept, not interpreted
    ModelString name;
    std::vector<ModelString> extraStrings; // one slot per counted string; missing ones stay empty
};

struct ObjectTransform {
    FloatMatrix rest = {}; // model to bone
    int32_t parent = -1;   // an earlier transform of the same object, or -1
    ModelString name;      // what animation tracks and visibility events refer to
};

struct MeshFace {
    int32_t v[3];
};

struct MeshPair {
    uint32_t a, b;
};

struct SkinGroup {
    int32_t transformIndex = 0;
    std::vector<int32_t> vertices;
    int32_t hasWeights = 0;
    std::vector<float> weights; // one per vertex when hasWeights is non-zero, else empty
};

struct MorphGroup {
    int32_t value = 0;
    std::vector<int32_t> vertices;
    std::vector<Vec3F> offsets;
};

// Consecutive faces of one material, up to face `end` (from where the run before ended, or 0).
struct MaterialRun {
    uint32_t end;
    int32_t material;
};

struct Mesh {
    int32_t visible = 0;         // changed at run time by visibility events and the game
    int32_t transformIndex = -1; // the transform that carries the vertices, or -1
    int32_t reserved = 0;
    int32_t stripCount = 0; // strips are never loaded, so always 0 after reading
    std::vector<Vec3F> vertices;
    std::vector<MeshPair> pairs;
    std::vector<Vec3F> vectors;
    std::vector<int32_t> faceMaterials; // per face, an index into the object's materials
    std::vector<MeshFace> faces;        // per face, three vertex indices
    // Worked out once at load, since every frame draws the faces by them: the materials' runs,
    // and the smallest and largest vertex index the faces hold (both 0 without faces).
    std::vector<MaterialRun> materialRuns;
    uint32_t lowestFaceVertex = 0;
    uint32_t highestFaceVertex = 0;
    std::vector<MeshFace> faceSet2; // kept, not drawn
    std::vector<MeshFace> faceSet3; // kept, not drawn
    Vec3F vectorA = {};
    Vec3F vectorB = {};
    std::vector<SkinGroup> skinGroups;
    std::vector<MorphGroup> morphGroups;
};

struct ObjectLod {
    int32_t lodValue = 0;
    std::vector<Mesh> meshes;
};

struct ObjectBox {
    int32_t valueA = 0;
    int32_t valueB = 0;
    Vec3F corners[8] = {};
};

struct SkeletonJoint {
    int32_t valueA = 0, valueB = 0, valueC = 0;
    std::vector<int32_t> values;
};

// 49 bytes in the file.
struct SkeletonLink {
    int32_t values[5] = {};
    uint8_t bytes[8] = {};
    int32_t valueB = 0;
    Vec3F vector = {};
    int32_t valueC = 0;
    uint8_t flag = 0;
};

struct Skeleton {
    int32_t value = 0;
    std::vector<int32_t> indices;
    std::vector<SkeletonJoint> joints;
    std::vector<SkeletonLink> links;
};

constexpr int kObjectNameBytes = 64;

struct ModelObject {
    int32_t reservedCount = 0;
    int32_t transformCount1 = 0; // the transforms are count 1 + count 2 records
    int32_t transformCount2 = 0;
    char name[kObjectNameBytes] = {};
    ModelString string;
    std::vector<Material> materials;
    std::vector<ObjectTransform> transforms;
    std::vector<ObjectLod> lods;
    std::vector<ObjectBox> boxes;
    std::optional<Skeleton> skeleton;
};

struct ObjectCopy {
    FloatMatrix matrix = {};
    ModelString name;
};

struct ModelLight {
    int32_t valueA = 0;
    uint8_t bytes[3] = {};
    int32_t valueB = 0;
    FloatMatrix matrix = {};
    ModelString name;
};

struct ModelCamera {
    FloatMatrix matrix = {};
    int32_t value = 0;
    ModelString name;
};

struct GroundPlane {
    int32_t valueA = 0, valueB = 0, valueC = 0;
    int32_t columns = 0, rows = 0;
    int32_t valueD = 0;
    int32_t valueE = 0, valueF = 0, valueG = 0;
    std::vector<int32_t> vertexInts;                      // (rows + 1) x (columns + 1)
    std::vector<uint8_t> vertexBytes;                     // (rows + 1) x (columns + 1)
    std::vector<int32_t> cellInts1, cellInts2, cellInts3; // rows x columns each
    std::vector<uint8_t> cellBytes;                       // rows x columns
    std::vector<Material> materials;
};

struct GlowSprite {
    Vec3F vector = {};
    int32_t valueA = 0, valueB = 0;
    Material material;
};

struct HullEntry {
    int32_t indexA = 0, indexB = 0;
    uint8_t bytes[3] = {};
};

struct ConvexHull {
    std::vector<HullEntry> entries;
};

struct Model {
    int32_t headerA = 0, headerB = 0;
    std::vector<ModelObject> objects;
    std::vector<ObjectCopy> copies;
    std::vector<ModelLight> lights;
    std::vector<ModelCamera> cameras;
    std::optional<GroundPlane> ground; // only the first "GND1" counts
    std::vector<GlowSprite> glows;
    std::vector<ConvexHull> hulls;
};

Model* makeModel();
// Fills the model from an open top-level cursor whose chunk must be "ZQFF". Raises
// "File data corrupt" for a wrong tag, a missing required chunk, a count that its chunk cannot
// hold, an index out of range or a mesh or skeleton whose children do not match their counts.
void loadModel(Model* model, Chunk& top);
// Opens the entry, loads it, and closes the cursor, chunk file and stream again, on errors too.
Model* loadModelFile(PakArchive* archive, const WideString& name);
// Frees the objects (materials, transforms, levels of detail with their meshes, boxes,
// skeleton), then copies, lights, cameras, ground, glows and hulls, then the model.
void freeModel(Model* model);

// The level of detail the bake, the poses and the drawing use: the first object's first one.
// Raises "File data corrupt" when the model has no object or the object no level of detail.
const ObjectLod& primaryLod(const Model& model);
ObjectLod& primaryLod(Model& model);
// Index of the first transform of the object whose name equals `name` ignoring ASCII case, or -1.
int32_t findTransformByName(const ModelObject& object, const std::string& name);
bool equalsIgnoringCase(const std::string& a, const std::string& b);
