// The built player model, read by the game's own model reader: its parts, skin, size and facing.
#include "assets/asset_names.h"
#include "built_data.h"
#include "figure_assets.h"
#include "writers/key_writer.h"

#include <algorithm>
#include <vector>

namespace {

struct BuiltFigure : ::testing::Test {
    OwnedPak archive{openBuiltData()};
    OwnedModel model{loadModelFile(archive.get(), kPlayerModelName)};
    const ModelObject& object() const { return model->objects[0]; }
    const std::vector<Mesh>& meshes() const { return primaryLod(*model).meshes; }
};

TEST_F(BuiltFigure, OneObjectOneLevelUnderAThousandTriangles) {
    ASSERT_EQ(model->objects.size(), 1u);
    ASSERT_EQ(object().lods.size(), 1u);
    size_t triangles = 0;
    for (const Mesh& mesh : meshes())
        triangles += mesh.faces.size();
    EXPECT_LE(triangles, 1000u);
    EXPECT_GE(meshes().size(), 3u);
}

// What drawing reads of each mesh instead of its faces: the materials' runs, each maximal, and
// the vertex range the faces use.
TEST_F(BuiltFigure, MaterialRunsAndVertexRangeDescribeTheFaces) {
    for (const Mesh& mesh : meshes()) {
        std::vector<int32_t> expanded;
        for (const MaterialRun& run : mesh.materialRuns) {
            EXPECT_TRUE(expanded.empty() || expanded.back() != run.material);
            expanded.resize(run.end, run.material);
        }
        EXPECT_EQ(expanded, mesh.faceMaterials);
        std::vector<int32_t> used;
        for (const MeshFace& face : mesh.faces)
            used.insert(used.end(), face.v, face.v + 3);
        ASSERT_FALSE(used.empty());
        EXPECT_EQ(mesh.lowestFaceVertex,
                  static_cast<uint32_t>(*std::min_element(used.begin(), used.end())));
        EXPECT_EQ(mesh.highestFaceVertex,
                  static_cast<uint32_t>(*std::max_element(used.begin(), used.end())));
    }
}

TEST_F(BuiltFigure, MaterialsInTheOrderTheFrontEndRecolours) {
    ASSERT_GE(object().materials.size(), 7u);
    EXPECT_EQ(materialNamed(*model, "Piel"), 0);
    EXPECT_EQ(materialNamed(*model, "Pantalon"), 1);
    EXPECT_EQ(materialNamed(*model, "Camiseta"), 2);
    EXPECT_EQ(materialNamed(*model, "Pelo"), 3);
    // Material 6 is repainted grey by the game: it is the racket's frame, on the racket only.
    EXPECT_EQ(materialNamed(*model, "Raqueta"), 6);
    for (size_t m = 0; m < meshes().size(); ++m)
        for (int material : meshes()[m].faceMaterials) {
            EXPECT_LT(material, static_cast<int>(object().materials.size()));
            if (material == 6) {
                EXPECT_EQ(m, 2u);
            }
        }
    // The body shows every recoloured material.
    for (int material = 0; material < 4; ++material)
        EXPECT_NE(std::count(meshes()[0].faceMaterials.begin(), meshes()[0].faceMaterials.end(),
                             material),
                  0)
            << material;
}

TEST_F(BuiltFigure, SkeletonRootFirstAndParentsBeforeChildren) {
    const auto& transforms = object().transforms;
    ASSERT_FALSE(transforms.empty());
    EXPECT_EQ(transforms[0].name, "Orientador");
    EXPECT_EQ(transforms[0].parent, -1);
    for (size_t i = 1; i < transforms.size(); ++i) {
        EXPECT_GE(transforms[i].parent, 0) << i;
        EXPECT_LT(transforms[i].parent, static_cast<int>(i)) << i;
    }
    for (const char* bone : {"Pelvis", "Columna", "Cabeza", "Brazo_D", "Antebrazo_D", "Mano_D",
                             "Brazo_I", "Antebrazo_I", "Mano_I", "Muslo_D", "Pierna_D", "Pie_D",
                             "Muslo_I", "Pierna_I", "Pie_I", "Raqueta", "Bola"})
        EXPECT_GE(findTransformByName(object(), bone), 0) << bone;
}

TEST_F(BuiltFigure, BodyWeightsSumToOneAndBallAndRacketAreRigid) {
    const Mesh& body = meshes()[0];
    ASSERT_FALSE(body.skinGroups.empty());
    std::vector<float> sums(body.vertices.size(), 0.0f);
    for (const SkinGroup& group : body.skinGroups) {
        ASSERT_NE(group.hasWeights, 0);
        for (size_t k = 0; k < group.vertices.size(); ++k)
            sums[group.vertices[k]] += group.weights[k];
    }
    for (size_t v = 0; v < sums.size(); ++v)
        EXPECT_NEAR(sums[v], 1.0f, 1e-5f) << v;
    // Joints bend: some vertices are shared between two bones.
    EXPECT_TRUE(std::any_of(body.skinGroups.begin(), body.skinGroups.end(), [](const auto& g) {
        return std::any_of(g.weights.begin(), g.weights.end(),
                           [](float w) { return w > 0.0f && w < 1.0f; });
    }));
    EXPECT_EQ(meshes()[1].transformIndex, findTransformByName(object(), "Bola"));
    EXPECT_TRUE(meshes()[1].skinGroups.empty());
    EXPECT_EQ(meshes()[1].visible, 0);
    EXPECT_EQ(meshes()[2].transformIndex, findTransformByName(object(), "Raqueta"));
    EXPECT_NE(meshes()[2].visible, 0);
}

TEST_F(BuiltFigure, AboutOneEightyTallOnTheGroundFacingPlusZRacketOnPlusX) {
    const Mesh& body = meshes()[0];
    float low = 1e9f, high = -1e9f;
    for (const Vec3F& v : body.vertices) {
        low = std::min(low, v.y);
        high = std::max(high, v.y);
    }
    EXPECT_NEAR(low, 0.0f, 0.5f);
    EXPECT_NEAR(high, 180.0f, 5.0f);
    // The toes reach further forward (+z) than the heels back.
    float toe = -1e9f, heel = 1e9f;
    for (const Vec3F& v : body.vertices)
        if (v.y < 2.0f) {
            toe = std::max(toe, v.z);
            heel = std::min(heel, v.z);
        }
    EXPECT_GT(toe, -2.0f * heel);
    float racketX = 0.0f;
    for (const Vec3F& v : meshes()[2].vertices)
        racketX += v.x;
    EXPECT_GT(racketX / meshes()[2].vertices.size(), 15.0f);
}

// The rest matrices and the track keys agree on the bone frames: an animation holding every
// bone at its bind place bakes back to the model's rest vertices.
TEST_F(BuiltFigure, RestPoseKeyBakesToTheRestVertices) {
    KeyFileRecord file;
    KeyFrameRecord frame;
    const auto& transforms = object().transforms;
    for (const ObjectTransform& t : transforms) {
        ASSERT_EQ(t.rest[0] + t.rest[5] + t.rest[10], 3.0f) << "bind poses are unturned";
        file.trackNames.push_back(*t.name);
        // A rest matrix without a turn holds minus the joint; the key places the joint relative
        // to its parent's.
        Vec3F joint = {-t.rest[12], -t.rest[13], -t.rest[14]};
        if (t.parent >= 0) {
            const auto& p = transforms[t.parent].rest;
            joint = {joint.x + p[12], joint.y + p[13], joint.z + p[14]};
        }
        const float unturned[4] = {1, 0, 0, 0};
        frame.keys.push_back(makeTrackKey(unturned, joint));
    }
    file.frames.push_back(frame);
    PakFixture pak({{u"rest.key", buildKeyFile(file)}});
    OwnedAnimation rest{loadKeyAnimation(pak.archive, u"rest.key", model.get())};
    int vertex = 0;
    for (const Mesh& mesh : meshes())
        for (const Vec3F& v : mesh.vertices) {
            const Vec3F baked = bakedVertex(*rest, 0, vertex++);
            EXPECT_NEAR(baked.x, v.x, 0.01f);
            EXPECT_NEAR(baked.y, v.y, 0.01f);
            EXPECT_NEAR(baked.z, v.z, 0.01f);
        }
}

} // namespace
