// model.cpp: reading the model's chunk tree into records, with every count and index checked.
#include "assets/model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "assets/chunk_file.h"
#include "assets/data_stream.h"
#include "assets/file_error.h"
#include "assets/pak_archive.h"

namespace {

[[noreturn]] void corrupt() {
    raiseFileError(kErrorFileDataCorrupt);
}

void require(bool condition) {
    if (!condition)
        corrupt();
}

// ---- field reading: every field must lie wholly inside its chunk ----

void readExact(Chunk& chunk, void* buffer, uint32_t count) {
    require(chunkRead(chunk, buffer, count) == count);
}

uint32_t decodeLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

float decodeFloat(const uint8_t* p) {
    const uint32_t bits = decodeLe32(p);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

int32_t readInt(Chunk& chunk) {
    uint8_t bytes[4];
    readExact(chunk, bytes, 4);
    return static_cast<int32_t>(decodeLe32(bytes));
}

Vec3F readVector(Chunk& chunk) {
    uint8_t bytes[12];
    readExact(chunk, bytes, 12);
    return {decodeFloat(bytes), decodeFloat(bytes + 4), decodeFloat(bytes + 8)};
}

void readMatrix(Chunk& chunk, FloatMatrix& matrix) {
    uint8_t bytes[64];
    readExact(chunk, bytes, 64);
    for (int i = 0; i < 16; ++i)
        matrix[i] = decodeFloat(bytes + 4 * i);
}

// A count from the file must be non-negative and its records must fit in what is left of the
// chunk, so a damaged count can never ask for more memory than the file itself holds.
uint32_t checkedCount(const Chunk& chunk, int64_t count, uint32_t recordBytes) {
    require(count >= 0 && static_cast<uint64_t>(count) * recordBytes <= chunkRemaining(chunk));
    return static_cast<uint32_t>(count);
}

// A count of child chunks: each child needs at least its 8-byte header.
uint32_t checkedChildCount(const Chunk& parent, int64_t count) {
    require(count >= 0 && static_cast<uint64_t>(count) * kChunkHeaderSize <= parent.size);
    return static_cast<uint32_t>(count);
}

// Reads count records of recordBytes each in one go and decodes them.
template <typename T, typename Decode>
std::vector<T> readRecords(Chunk& chunk, uint32_t count, uint32_t recordBytes, Decode decode) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * recordBytes);
    readExact(chunk, bytes.data(), static_cast<uint32_t>(bytes.size()));
    std::vector<T> records(count);
    for (uint32_t i = 0; i < count; ++i)
        records[i] = decode(bytes.data() + static_cast<size_t>(i) * recordBytes);
    return records;
}

std::vector<int32_t> readInts(Chunk& chunk, int64_t count) {
    const uint32_t n = checkedCount(chunk, count, 4);
    return readRecords<int32_t>(
        chunk, n, 4, [](const uint8_t* p) { return static_cast<int32_t>(decodeLe32(p)); });
}

std::vector<float> readFloats(Chunk& chunk, int64_t count) {
    const uint32_t n = checkedCount(chunk, count, 4);
    return readRecords<float>(chunk, n, 4, decodeFloat);
}

std::vector<Vec3F> readVectors(Chunk& chunk, int64_t count) {
    const uint32_t n = checkedCount(chunk, count, 12);
    return readRecords<Vec3F>(chunk, n, 12, [](const uint8_t* p) {
        return Vec3F{decodeFloat(p), decodeFloat(p + 4), decodeFloat(p + 8)};
    });
}

std::vector<MeshFace> readFaces(Chunk& chunk, uint32_t count) {
    return readRecords<MeshFace>(chunk, count, 12, [](const uint8_t* p) {
        return MeshFace{{static_cast<int32_t>(decodeLe32(p)),
                         static_cast<int32_t>(decodeLe32(p + 4)),
                         static_cast<int32_t>(decodeLe32(p + 8))}};
    });
}

std::vector<uint8_t> readByteArray(Chunk& chunk, int64_t count) {
    std::vector<uint8_t> bytes(checkedCount(chunk, count, 1));
    readExact(chunk, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

// The payload of a "CSTR" chunk up to its terminator, never past the chunk.
std::string readString(Chunk& chunk) {
    std::string text(chunkRemaining(chunk), '\0');
    readExact(chunk, text.data(), static_cast<uint32_t>(text.size()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool inRange(int32_t index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}

// Every field of a record chunk is read: bytes left over mean its counts and its size disagree.
void requireConsumed(const Chunk& chunk) {
    require(chunkRemaining(chunk) == 0);
}

// Opens a child cursor on a chunk whose children must fill it exactly, so a damaged size can
// never end its walk early and leave records silently unread.
void openChildren(Chunk& child, Chunk& parent) {
    require(chunkChildrenTile(parent));
    chunkOpenChild(child, &parent);
}

// Opens a child cursor whose first chunk must be "INFO".
void openAtInfo(Chunk& child, Chunk& parent) {
    openChildren(child, parent);
    require(chunkTagIs(child, "INFO"));
}

// ---- records ----

void readMaterial(Material& material, Chunk& parent) {
    Chunk child;
    openChildren(child, parent);
    require(chunkFind(child, "CSTR"));
    material.name = readString(child);
    require(chunkFind(child, "INFO"));
    readExact(child, material.colour, 4);
    for (int32_t& value : material.values)
        value = readInt(child);
    material.extraStrings.resize(checkedChildCount(parent, readInt(child)));
    requireConsumed(child);
    for (size_t filled = 0; filled < material.extraStrings.size() && chunkNext(child);)
        if (chunkTagIs(child, "CSTR"))
            material.extraStrings[filled++] = readString(child);
    chunkClose(child);
}

void readTransform(ObjectTransform& transform, int32_t index, Chunk& parent) {
    Chunk child;
    openChildren(child, parent);
    if (chunkFind(child, "CSTR"))
        transform.name = readString(child);
    require(chunkFind(child, "INFO"));
    readMatrix(child, transform.rest);
    transform.parent = readInt(child);
    requireConsumed(child);
    // The bake walks the transforms once in index order, so a parent must come first.
    require(transform.parent == -1 || (transform.parent >= 0 && transform.parent < index));
    chunkClose(child);
}

void readSkinGroup(SkinGroup& group, Chunk& chunk, const Mesh& mesh, size_t transformCount) {
    group.transformIndex = readInt(chunk);
    require(inRange(group.transformIndex, transformCount));
    group.vertices = readInts(chunk, readInt(chunk));
    for (int32_t v : group.vertices)
        require(inRange(v, mesh.vertices.size()));
    group.hasWeights = readInt(chunk);
    if (group.hasWeights)
        group.weights = readFloats(chunk, static_cast<int64_t>(group.vertices.size()));
    requireConsumed(chunk);
}

void readMorphGroup(MorphGroup& group, Chunk& chunk) {
    group.value = readInt(chunk);
    const int32_t count = readInt(chunk);
    group.vertices = readInts(chunk, count);
    group.offsets = readVectors(chunk, count);
    requireConsumed(chunk);
}

struct ObjectLimits {
    size_t materialCount;
    size_t transformCount;
};

// The faces' material runs and vertex index range, for faces already checked.
void findFaceRuns(Mesh& mesh) {
    const size_t faces = mesh.faces.size();
    for (size_t start = 0; start < faces;) {
        size_t end = start + 1;
        while (end < faces && mesh.faceMaterials[end] == mesh.faceMaterials[start])
            ++end;
        mesh.materialRuns.push_back({static_cast<uint32_t>(end), mesh.faceMaterials[start]});
        start = end;
    }
    if (faces == 0)
        return;
    int32_t lowest = mesh.faces[0].v[0], highest = lowest;
    for (const MeshFace& face : mesh.faces)
        for (int32_t v : face.v) {
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
    mesh.lowestFaceVertex = static_cast<uint32_t>(lowest);
    mesh.highestFaceVertex = static_cast<uint32_t>(highest);
}

void readMeshInfo(Mesh& mesh, Chunk& info, const ObjectLimits& limits) {
    mesh.visible = readInt(info);
    mesh.transformIndex = readInt(info);
    require(mesh.transformIndex == -1 || inRange(mesh.transformIndex, limits.transformCount));
    mesh.reserved = readInt(info);
    const int64_t vertexCount = readInt(info), pairCount = readInt(info),
                  vectorCount = readInt(info), faceCount = readInt(info);
    readInt(info); // the strip count: strips are never loaded
    mesh.stripCount = 0;
    const int64_t skinCount = readInt(info), morphCount = readInt(info);
    require(vertexCount >= 0 && pairCount >= 0 && vectorCount >= 0 && faceCount >= 0);
    // The whole payload is checked before anything is allocated.
    checkedCount(info, 12 * vertexCount + 8 * pairCount + 12 * vectorCount + 40 * faceCount + 24,
                 1);
    mesh.vertices = readVectors(info, vertexCount);
    mesh.pairs =
        readRecords<MeshPair>(info, static_cast<uint32_t>(pairCount), 8, [](const uint8_t* p) {
            return MeshPair{decodeLe32(p), decodeLe32(p + 4)};
        });
    mesh.vectors = readVectors(info, vectorCount);
    mesh.faceMaterials = readInts(info, faceCount);
    mesh.faces = readFaces(info, static_cast<uint32_t>(faceCount));
    mesh.faceSet2 = readFaces(info, static_cast<uint32_t>(faceCount));
    mesh.faceSet3 = readFaces(info, static_cast<uint32_t>(faceCount));
    mesh.vectorA = readVector(info);
    mesh.vectorB = readVector(info);
    requireConsumed(info);
    for (int32_t material : mesh.faceMaterials)
        require(inRange(material, limits.materialCount));
    for (const MeshFace& face : mesh.faces)
        for (int32_t v : face.v)
            require(inRange(v, mesh.vertices.size()));
    findFaceRuns(mesh);
    mesh.skinGroups.resize(checkedChildCount(*info.parent, skinCount));
    mesh.morphGroups.resize(checkedChildCount(*info.parent, morphCount));
}

void readMesh(Mesh& mesh, Chunk& parent, const ObjectLimits& limits) {
    Chunk child;
    openAtInfo(child, parent);
    readMeshInfo(mesh, child, limits);
    size_t skins = 0, morphs = 0;
    while (chunkNext(child)) {
        if (chunkTagIs(child, "ZTR1")) {
            require(skins < mesh.skinGroups.size());
            readSkinGroup(mesh.skinGroups[skins++], child, mesh, limits.transformCount);
        } else if (chunkTagIs(child, "ZMR1")) {
            require(morphs < mesh.morphGroups.size());
            readMorphGroup(mesh.morphGroups[morphs++], child);
        }
        // "STP1" and "STP2" strips, and anything else, are passed over.
    }
    require(skins == mesh.skinGroups.size() && morphs == mesh.morphGroups.size());
    chunkClose(child);
}

void readLod(ObjectLod& lod, Chunk& parent, const ObjectLimits& limits) {
    Chunk child;
    openChildren(child, parent);
    require(chunkFind(child, "INFO"));
    lod.lodValue = readInt(child);
    lod.meshes.resize(checkedChildCount(parent, readInt(child)));
    requireConsumed(child);
    for (size_t i = 0; i < lod.meshes.size(); ++i) {
        require(i == 0 ? chunkFind(child, "MSH1") : chunkFindNext(child, "MSH1"));
        readMesh(lod.meshes[i], child, limits);
    }
    chunkClose(child);
}

void readBox(ObjectBox& box, Chunk& chunk) {
    box.valueA = readInt(chunk);
    box.valueB = readInt(chunk);
    for (Vec3F& corner : box.corners)
        corner = readVector(chunk);
    requireConsumed(chunk);
}

void readJoint(SkeletonJoint& joint, Chunk& chunk) {
    joint.valueA = readInt(chunk);
    joint.valueB = readInt(chunk);
    joint.valueC = readInt(chunk);
    joint.values = readInts(chunk, readInt(chunk));
    requireConsumed(chunk);
}

void readLink(SkeletonLink& link, Chunk& chunk) {
    for (int32_t& value : link.values)
        value = readInt(chunk);
    readExact(chunk, link.bytes, 8);
    link.valueB = readInt(chunk);
    link.vector = readVector(chunk);
    link.valueC = readInt(chunk);
    readExact(chunk, &link.flag, 1);
    requireConsumed(chunk);
}

void readSkeleton(Skeleton& skeleton, Chunk& parent) {
    Chunk child;
    openAtInfo(child, parent);
    const int32_t jointCount = readInt(child), linkCount = readInt(child);
    const int32_t indexCount = readInt(child);
    skeleton.value = readInt(child);
    skeleton.indices = readInts(child, indexCount);
    requireConsumed(child);
    skeleton.joints.resize(checkedChildCount(parent, jointCount));
    skeleton.links.resize(checkedChildCount(parent, linkCount));
    size_t joints = 0, links = 0;
    while (chunkNext(child)) {
        if (chunkTagIs(child, "JNT1")) {
            require(joints < skeleton.joints.size());
            readJoint(skeleton.joints[joints++], child);
        } else if (chunkTagIs(child, "LNK1")) {
            require(links < skeleton.links.size());
            readLink(skeleton.links[links++], child);
        }
    }
    require(joints == skeleton.joints.size() && links == skeleton.links.size());
    chunkClose(child);
}

void readObjectInfo(ModelObject& object, Chunk& info, Chunk& parent) {
    const int32_t lodCount = readInt(info), boxCount = readInt(info);
    object.reservedCount = readInt(info);
    const int32_t materialCount = readInt(info);
    object.transformCount1 = readInt(info);
    object.transformCount2 = readInt(info);
    readExact(info, object.name, kObjectNameBytes);
    requireConsumed(info);
    object.lods.resize(checkedChildCount(parent, lodCount));
    object.boxes.resize(checkedChildCount(parent, boxCount));
    object.materials.resize(checkedChildCount(parent, materialCount));
    object.transforms.resize(checkedChildCount(parent, int64_t{object.transformCount1} +
                                                           int64_t{object.transformCount2}));
}

void readObject(ModelObject& object, Chunk& parent) {
    Chunk child;
    openAtInfo(child, parent);
    readObjectInfo(object, child, parent);
    const ObjectLimits limits = {object.materials.size(), object.transforms.size()};
    size_t materials = 0, transforms = 0, lods = 0, boxes = 0;
    while (chunkNext(child)) {
        if (chunkTagIs(child, "CSTR") && !object.string) {
            object.string = readString(child);
        } else if (chunkTagIs(child, "MTR1") && materials < object.materials.size()) {
            readMaterial(object.materials[materials++], child);
        } else if (chunkTagIs(child, "TRA1") && transforms < object.transforms.size()) {
            readTransform(object.transforms[transforms], static_cast<int32_t>(transforms), child);
            ++transforms;
        } else if (chunkTagIs(child, "LOD1") && lods < object.lods.size()) {
            readLod(object.lods[lods++], child, limits);
        } else if (chunkTagIs(child, "BOX1") && boxes < object.boxes.size()) {
            readBox(object.boxes[boxes++], child);
        } else if (chunkTagIs(child, "PHY1") && !object.skeleton) {
            readSkeleton(object.skeleton.emplace(), child);
        }
    }
    chunkClose(child);
}

// Copies, lights and cameras: an INFO first, then the name in a "CSTR" after it.
template <typename ReadInfo> ModelString readInfoThenName(Chunk& parent, ReadInfo readInfo) {
    Chunk child;
    openAtInfo(child, parent);
    readInfo(child);
    requireConsumed(child);
    ModelString name;
    if (chunkFindNext(child, "CSTR"))
        name = readString(child);
    chunkClose(child);
    return name;
}

void readCopy(ObjectCopy& copy, Chunk& parent) {
    copy.name = readInfoThenName(parent, [&](Chunk& info) { readMatrix(info, copy.matrix); });
}

void readLight(ModelLight& light, Chunk& parent) {
    light.name = readInfoThenName(parent, [&](Chunk& info) {
        light.valueA = readInt(info);
        readExact(info, light.bytes, 3);
        light.valueB = readInt(info);
        readMatrix(info, light.matrix);
    });
}

void readCamera(ModelCamera& camera, Chunk& parent) {
    camera.name = readInfoThenName(parent, [&](Chunk& info) {
        readMatrix(info, camera.matrix);
        camera.value = readInt(info);
    });
}

void readGround(GroundPlane& ground, Chunk& parent) {
    Chunk child;
    openChildren(child, parent);
    require(chunkFind(child, "INFO"));
    ground.valueA = readInt(child);
    ground.valueB = readInt(child);
    ground.valueC = readInt(child);
    ground.columns = readInt(child);
    ground.rows = readInt(child);
    ground.valueD = readInt(child);
    const int32_t materialCount = readInt(child);
    ground.valueE = readInt(child);
    ground.valueF = readInt(child);
    ground.valueG = readInt(child);
    require(ground.columns >= 0 && ground.rows >= 0);
    const int64_t gridVertices = (int64_t{ground.rows} + 1) * (int64_t{ground.columns} + 1);
    const int64_t cells = int64_t{ground.rows} * ground.columns;
    ground.vertexInts = readInts(child, gridVertices);
    ground.vertexBytes = readByteArray(child, gridVertices);
    ground.cellInts1 = readInts(child, cells);
    ground.cellInts2 = readInts(child, cells);
    ground.cellInts3 = readInts(child, cells);
    ground.cellBytes = readByteArray(child, cells);
    requireConsumed(child);
    ground.materials.resize(checkedChildCount(parent, materialCount));
    for (size_t i = 0; i < ground.materials.size(); ++i) {
        require(i == 0 ? chunkFind(child, "MTR1") : chunkFindNext(child, "MTR1"));
        readMaterial(ground.materials[i], child);
    }
    chunkClose(child);
}

void readGlow(GlowSprite& glow, Chunk& parent) {
    Chunk child;
    openChildren(child, parent);
    require(child.size != 0); // the leading chunk, whatever its tag
    glow.vector = readVector(child);
    glow.valueA = readInt(child);
    glow.valueB = readInt(child);
    requireConsumed(child);
    require(chunkFind(child, "MTR1"));
    readMaterial(glow.material, child);
    chunkClose(child);
}

void readHull(ConvexHull& hull, Chunk& parent) {
    Chunk child;
    openChildren(child, parent);
    require(child.size != 0);
    const uint32_t count = checkedCount(child, readInt(child), 11);
    hull.entries = readRecords<HullEntry>(child, count, 11, [](const uint8_t* p) {
        HullEntry entry;
        entry.indexA = static_cast<int32_t>(decodeLe32(p));
        entry.indexB = static_cast<int32_t>(decodeLe32(p + 4));
        std::memcpy(entry.bytes, p + 8, 3);
        return entry;
    });
    requireConsumed(child);
    chunkClose(child);
}

} // namespace

Model* makeModel() {
    return new Model;
}

void loadModel(Model* model, Chunk& top) {
    require(chunkTagIs(top, "ZQFF"));
    // The model is the file's one top-level chunk: anything after it is damage.
    require(uint64_t{top.start} + top.size == top.file->totalSize);
    Chunk child;
    openAtInfo(child, top);
    model->headerA = readInt(child);
    model->headerB = readInt(child);
    requireConsumed(child);
    while (chunkNext(child)) {
        if (chunkTagIs(child, "OBJ1"))
            readObject(model->objects.emplace_back(), child);
        else if (chunkTagIs(child, "CPY1"))
            readCopy(model->copies.emplace_back(), child);
        else if (chunkTagIs(child, "CAM1"))
            readCamera(model->cameras.emplace_back(), child);
        else if (chunkTagIs(child, "LHT1"))
            readLight(model->lights.emplace_back(), child);
        else if (chunkTagIs(child, "GLOW"))
            readGlow(model->glows.emplace_back(), child);
        else if (chunkTagIs(child, "CHUL"))
            readHull(model->hulls.emplace_back(), child);
        else if (chunkTagIs(child, "GND1") && !model->ground)
            readGround(model->ground.emplace(), child);
    }
    chunkClose(child);
}

namespace {

Model* loadModelEntry(PakArchive* archive, const WideString& name) {
    DataStream stream;
    dataStreamOpen(stream, archive, name);
    ChunkFile file;
    makeChunkFile(file, &stream);
    Model* model = makeModel();
    try {
        Chunk top;
        chunkOpenTop(top, &file);
        loadModel(model, top);
        chunkClose(top);
    } catch (...) {
        freeModel(model);
        throw;
    }
    destroyChunkFile(file);
    dataStreamClose(stream);
    return model;
}

} // namespace

Model* loadModelFile(PakArchive* archive, const WideString& name) {
    return withErrorDetail(pakEntryDetail(archive, name),
                           [&] { return loadModelEntry(archive, name); });
}

void freeModel(Model* model) {
    if (!model)
        return;
    model->objects.clear();
    model->copies.clear();
    model->lights.clear();
    model->cameras.clear();
    model->ground.reset();
    model->glows.clear();
    model->hulls.clear();
    delete model;
}

const ObjectLod& primaryLod(const Model& model) {
    if (model.objects.empty() || model.objects[0].lods.empty())
        corrupt();
    return model.objects[0].lods[0];
}

ObjectLod& primaryLod(Model& model) {
    return const_cast<ObjectLod&>(primaryLod(static_cast<const Model&>(model)));
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int32_t findTransformByName(const ModelObject& object, const std::string& name) {
    for (size_t i = 0; i < object.transforms.size(); ++i)
        if (object.transforms[i].name && equalsIgnoringCase(*object.transforms[i].name, name))
            return static_cast<int32_t>(i);
    return -1;
}
