// The model reader: every record through a round trip, the format's odd cases, and damaged files.
#include "assets/chunk_file.h"
#include "rig_fixture.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

const WideString& kModelName = kRigModelName;

Material colouredMaterial(const char* name, uint8_t r, uint8_t g, uint8_t b) {
    Material material;
    material.name = name;
    material.colour[0] = r, material.colour[1] = g, material.colour[2] = b;
    return material;
}

// One object: two materials, a root and a child transform, one level of detail with one mesh
// of four vertices and two faces carried by a skin group on the child.
Model sampleModel() {
    Model model;
    model.headerA = 7;
    model.headerB = -3;
    ModelObject& object = model.objects.emplace_back();
    std::strcpy(object.name, "Tenista");
    object.transformCount1 = 1;
    object.materials = {colouredMaterial("Skin", 200, 150, 120),
                        colouredMaterial("Shirt", 0, 0, 255)};
    object.materials[1].extraStrings = {std::string("texture.bmp"), std::string("")};
    object.transforms.resize(2);
    object.transforms[0].rest = translation(0, -1, 0);
    object.transforms[0].name = "Cadera";
    object.transforms[1].rest = translation(0, -2, 0);
    object.transforms[1].parent = 0;
    object.transforms[1].name = "Cabeza";
    Mesh mesh;
    mesh.visible = 1;
    mesh.transformIndex = 1;
    mesh.vertices = {{0, 2, 0}, {1, 2, 0}, {0, 3, 0}, {1, 3, 0}};
    mesh.pairs = {{1, 2}};
    mesh.faceMaterials = {0, 1};
    mesh.faces = {{{0, 1, 2}}, {{1, 3, 2}}};
    mesh.faceSet2 = mesh.faces;
    mesh.faceSet3 = mesh.faces;
    mesh.vectorB = {0, 0, 1};
    mesh.skinGroups.push_back({1, {0, 1, 2, 3}, 1, {1, 1, 0.5f, 0.25f}});
    mesh.morphGroups.push_back({9, {3}, {{0.5f, 0, 0}}});
    object.lods.push_back({5, {mesh}});
    object.boxes.resize(1);
    object.boxes[0].corners[7] = {1, 2, 3};
    object.skeleton.emplace();
    object.skeleton->indices = {4, 5};
    object.skeleton->joints.push_back({1, 2, 3, {6, 7}});
    object.skeleton->links.emplace_back().flag = 0xAB;
    return model;
}

struct ModelFixture : ::testing::Test {
    PakFixture pak;
    OwnedModel model;
    void load(const std::vector<uint8_t>& bytes) {
        model.reset();
        pak.open({{kModelName, bytes}});
        model.reset(loadModelFile(pak.archive, kModelName));
    }
    void expectCorrupt(const std::vector<uint8_t>& bytes) {
        pak.open({{kModelName, bytes}});
        EXPECT_FILE_ERROR(loadModelFile(pak.archive, kModelName), kErrorFileDataCorrupt);
    }
};

TEST_F(ModelFixture, EveryRecordSurvivesARoundTrip) {
    Model written = sampleModel();
    written.copies.push_back({{}, std::string("copy")});
    written.lights.emplace_back().valueB = 11;
    written.cameras.emplace_back().value = 12;
    written.cameras[0].name = "cam";
    GroundPlane& ground = written.ground.emplace();
    ground.columns = 2, ground.rows = 1;
    ground.vertexInts.assign(6, 4);
    ground.vertexBytes.assign(6, 5);
    ground.cellInts1 = ground.cellInts2 = ground.cellInts3 = {1, 2};
    ground.cellBytes = {8, 9};
    ground.materials = {colouredMaterial("Clay", 1, 2, 3)};
    written.glows.push_back({{1, 2, 3}, 4, 5, colouredMaterial("Glow", 9, 9, 9)});
    written.hulls.push_back({{{1, 2, {3, 4, 5}}, {6, 7, {8, 9, 10}}}});
    const std::vector<uint8_t> bytes = buildModelFile(written);
    load(bytes);
    // Written again from what was read, the file comes out byte for byte: nothing was lost or
    // moved on the way.
    EXPECT_EQ(buildModelFile(*model), bytes);
    ASSERT_EQ(model->objects.size(), 1u);
    const ModelObject& object = model->objects[0];
    EXPECT_EQ(*object.materials[1].extraStrings[0], "texture.bmp");
    EXPECT_EQ(object.transforms[1].rest[13], -2.0f);
    EXPECT_EQ(findTransformByName(object, "CABEZA"), 1);
    EXPECT_EQ(findTransformByName(object, "Pie"), -1);
    EXPECT_EQ(primaryLod(*model).meshes.at(0).skinGroups[0].weights[3], 0.25f);
    EXPECT_FALSE(model->lights.at(0).name.has_value());
}

TEST_F(ModelFixture, InfoOnlyModelHasNothingAndNoPrimaryLod) {
    load(buildModelFile(Model{}));
    EXPECT_TRUE(model->objects.empty());
    EXPECT_TRUE(model->hulls.empty());
    EXPECT_FALSE(model->ground.has_value());
    EXPECT_FILE_ERROR(primaryLod(*model), kErrorFileDataCorrupt);
}

// ZQFF { INFO, extra... } for tests that place chunks by hand.
std::vector<uint8_t> modelWith(const std::function<void(ChunkWriter&)>& body) {
    ChunkWriter w;
    beginChunk(w, "ZQFF");
    beginChunk(w, "INFO");
    putInt32(w, 0);
    putInt32(w, 0);
    endChunk(w);
    body(w);
    endChunk(w);
    return finishChunks(w);
}

TEST_F(ModelFixture, OnlyTheFirstGroundCountsAndAnyHullIsRead) {
    GroundPlane first, second;
    first.valueA = 1;
    first.vertexInts = {0};
    first.vertexBytes = {0};
    second = first;
    second.valueA = 2;
    load(modelWith([&](ChunkWriter& w) {
        writeGroundChunk(w, first);
        writeGroundChunk(w, second);
        writeHullChunk(w, {{{1, 2, {3, 4, 5}}}});
    }));
    EXPECT_EQ(model->ground->valueA, 1);
    EXPECT_EQ(model->hulls.size(), 1u);
}

TEST_F(ModelFixture, MissingMaterialChildrenLeaveZeroColours) {
    const Model sample = sampleModel();
    ModelObject object = sample.objects[0];
    object.materials.push_back(colouredMaterial("never written", 9, 9, 9));
    load(modelWith([&](ChunkWriter& w) {
        beginChunk(w, "OBJ1");
        writeObjectInfoChunk(w, object); // material count 3
        writeMaterialChunk(w, object.materials[0]);
        writeMaterialChunk(w, object.materials[1]);
        for (const ObjectTransform& t : object.transforms)
            writeTransformChunk(w, t);
        endChunk(w);
    }));
    const ModelObject& read = model->objects.at(0);
    ASSERT_EQ(read.materials.size(), 3u);
    EXPECT_EQ(read.materials[1].colour[2], 255);
    EXPECT_EQ(read.materials[2].colour[0], 0);
    EXPECT_FALSE(read.materials[2].name.has_value());
    ASSERT_EQ(read.lods.size(), 1u); // counted but never written: empty, not garbage
    EXPECT_TRUE(read.lods[0].meshes.empty());
}

// The sample object with its one mesh written by `writeMesh`.
std::vector<uint8_t>
modelWithMesh(const std::function<void(ChunkWriter&, const Mesh&)>& writeMesh) {
    const Model sample = sampleModel();
    const ModelObject& object = sample.objects[0];
    return modelWith([&](ChunkWriter& w) {
        beginChunk(w, "OBJ1");
        writeObjectInfoChunk(w, object);
        for (const Material& m : object.materials)
            writeMaterialChunk(w, m);
        for (const ObjectTransform& t : object.transforms)
            writeTransformChunk(w, t);
        beginChunk(w, "LOD1");
        beginChunk(w, "INFO");
        putInt32(w, 0);
        putInt32(w, 1);
        endChunk(w);
        writeMesh(w, object.lods[0].meshes[0]);
        endChunk(w);
        endChunk(w);
    });
}

TEST_F(ModelFixture, StripsAreSkippedAndSkinGroupsMustMatchTheirCount) {
    load(modelWithMesh([](ChunkWriter& w, const Mesh& mesh) {
        beginChunk(w, "MSH1");
        ChunkWriter info;
        writeMeshInfoChunk(info, mesh);
        info.bytes[8 + 7 * 4] = 5; // strip count 5
        putBytes(w, info.bytes.data(), info.bytes.size());
        for (const char* tag : {"STP1", "STP2"}) {
            beginChunk(w, tag);
            beginChunk(w, "INFO");
            putInt32(w, 1);
            putBytes(w, std::vector<uint8_t>(16).data(), tag[3] == '1' ? 12 : 16);
            endChunk(w);
            endChunk(w);
        }
        writeSkinGroupChunk(w, mesh.skinGroups[0]);
        writeMorphGroupChunk(w, mesh.morphGroups[0]);
        endChunk(w);
    }));
    EXPECT_EQ(primaryLod(*model).meshes[0].stripCount, 0);
    EXPECT_EQ(primaryLod(*model).meshes[0].skinGroups.size(), 1u);

    expectCorrupt(modelWithMesh([](ChunkWriter& w, const Mesh& mesh) {
        Mesh twoGroups = mesh;
        twoGroups.skinGroups.push_back(mesh.skinGroups[0]);
        beginChunk(w, "MSH1");
        writeMeshInfoChunk(w, twoGroups);
        writeSkinGroupChunk(w, mesh.skinGroups[0]); // only one of the two
        writeMorphGroupChunk(w, mesh.morphGroups[0]);
        endChunk(w);
    }));
}

TEST_F(ModelFixture, WrongOrMissingRequiredChunksAreCorrupt) {
    ChunkWriter w;
    putChunk(w, "ZQFX", {});
    expectCorrupt(finishChunks(w));
    ChunkWriter v; // ZQFF whose first child is not INFO
    beginChunk(v, "ZQFF");
    putChunk(v, "OBJ1", {});
    endChunk(v);
    expectCorrupt(finishChunks(v));
    expectCorrupt(modelWithMesh([](ChunkWriter&, const Mesh&) {})); // LOD promises a mesh
    expectCorrupt(modelWith([](ChunkWriter& x) {
        beginChunk(x, "OBJ1"); // a material without its name
        ModelObject object;
        object.materials.resize(1);
        writeObjectInfoChunk(x, object);
        beginChunk(x, "MTR1");
        putChunk(x, "INFO", std::vector<uint8_t>(28));
        endChunk(x);
        endChunk(x);
    }));
}

TEST_F(ModelFixture, IndicesOutOfRangeAreCorrupt) {
    const std::vector<std::function<void(Model&)>> damages = {
        [](Model& m) { m.objects[0].lods[0].meshes[0].faces[1].v[2] = 4; },
        [](Model& m) { m.objects[0].lods[0].meshes[0].faces[0].v[0] = -1; },
        [](Model& m) { m.objects[0].lods[0].meshes[0].faceMaterials[0] = 2; },
        [](Model& m) { m.objects[0].lods[0].meshes[0].skinGroups[0].vertices[3] = 4; },
        [](Model& m) { m.objects[0].lods[0].meshes[0].skinGroups[0].transformIndex = 2; },
        [](Model& m) { m.objects[0].lods[0].meshes[0].transformIndex = 2; },
        [](Model& m) { m.objects[0].transforms[0].parent = 1; }, // parent after its child
        [](Model& m) { m.objects[0].transforms[1].parent = 1; }, // its own parent
    };
    for (const auto& damage : damages) {
        Model damaged = sampleModel();
        damage(damaged);
        expectCorrupt(buildModelFile(damaged));
    }
}

TEST_F(ModelFixture, AbsurdCountsAreRejectedBeforeAllocating) {
    // A 0x7FFFFFFF vertex count in a tiny mesh must not allocate 24 GB.
    for (int field : {3, 6, 8}) { // vertex, face and skin group counts
        expectCorrupt(modelWithMesh([field](ChunkWriter& w, const Mesh& mesh) {
            beginChunk(w, "MSH1");
            ChunkWriter info;
            writeMeshInfoChunk(info, mesh);
            for (int i = 0; i < 4; ++i)
                info.bytes[8 + field * 4 + i] = i == 3 ? 0x7F : 0xFF;
            putBytes(w, info.bytes.data(), info.bytes.size());
            endChunk(w);
        }));
    }
    Model negative = sampleModel();
    negative.objects[0].transformCount1 = 0;
    ChunkWriter w;
    writeModelChunk(w, negative);
    std::vector<uint8_t> bytes = finishChunks(w);
    // The object INFO follows ZQFF(8) + INFO(16) + OBJ1 header(8) + its header(8); lod count -1.
    std::memset(&bytes[40], 0xFF, 4);
    expectCorrupt(bytes);
}

} // namespace

namespace {

// A damaged size anywhere in the tree used to end a walk early and leave the model without its
// transforms or meshes; now every chunk must fill its parent exactly.
TEST_F(ModelFixture, ADamagedChunkSizeAnywhereIsCorrupt) {
    const std::vector<uint8_t> good = buildModelFile(sampleModel());
    for (const char* tag : {"INFO", "MTR1", "TRA1", "LOD1", "MSH1", "ZTR1", "CSTR", "BOX1", "PHY1"})
        for (int delta : {-4, 4}) {
            std::vector<uint8_t> bytes = good;
            const size_t at = static_cast<size_t>(
                std::search(bytes.begin(), bytes.end(), tag, tag + 4) - bytes.begin());
            ASSERT_LT(at, bytes.size()) << tag;
            bytes[at + 4] = static_cast<uint8_t>(bytes[at + 4] + delta);
            SCOPED_TRACE(std::string(tag) + " " + std::to_string(delta));
            expectCorrupt(bytes);
        }
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    pak.open({{kModelName, trailing}});
    EXPECT_FILE_ERROR_TEXT(loadModelFile(pak.archive, kModelName),
                           "File data corrupt: Tenista3.NFO in " + pak.path());
}

TEST_F(ModelFixture, RecordsWithMoreBytesThanTheirCountsAreCorrupt) {
    expectCorrupt(modelWithMesh([](ChunkWriter& w, const Mesh& mesh) {
        beginChunk(w, "MSH1");
        ChunkWriter info;
        writeMeshInfoChunk(info, mesh);
        info.bytes.insert(info.bytes.end(), 12, 0); // room for a vertex the count leaves out
        info.bytes[4] = static_cast<uint8_t>(info.bytes.size());
        info.bytes[5] = static_cast<uint8_t>(info.bytes.size() >> 8);
        putBytes(w, info.bytes.data(), info.bytes.size());
        writeSkinGroupChunk(w, mesh.skinGroups[0]);
        writeMorphGroupChunk(w, mesh.morphGroups[0]);
        endChunk(w);
    }));
    expectCorrupt(modelWithMesh([](ChunkWriter& w, const Mesh& mesh) {
        beginChunk(w, "MSH1"); // one skin group more than the mesh counts
        writeMeshInfoChunk(w, mesh);
        writeSkinGroupChunk(w, mesh.skinGroups[0]);
        writeSkinGroupChunk(w, mesh.skinGroups[0]);
        writeMorphGroupChunk(w, mesh.morphGroups[0]);
        endChunk(w);
    }));
}

} // namespace
