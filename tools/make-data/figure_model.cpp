// figure_model.cpp: the player's body, ball and racket as low-polygon shapes bound to the
// skeleton. The figure is 30 to 60 pixels tall and flat-shaded, so every triangle goes to its
// outline and to the borders between its colours.
#include "figure_model.h"

#include <cmath>
#include <map>
#include <utility>

#include "figure_skeleton.h"

const FigureMaterialInfo kFigureMaterials[kFigureMaterialCount] = {
    {"Piel", 230, 180, 140},    {"Pantalon", 40, 60, 160},     {"Camiseta", 240, 240, 240},
    {"Pelo", 70, 45, 25},       {"Zapatillas", 245, 245, 245}, {"Bola", 220, 240, 60},
    {"Raqueta", 208, 208, 208}, {"Empunadura", 40, 40, 40},    {"Cordaje", 250, 250, 210},
};

namespace {

constexpr float kPi = 3.14159265358979f;

using Weights = std::vector<std::pair<int, float>>;

// Vertices carry their bone weights until the mesh is finished into skin groups.
struct MeshBuilder {
    FigureMesh mesh;
    std::vector<Weights> weights;
};

int addVertex(MeshBuilder& b, V3 p, const Weights& w) {
    b.mesh.vertices.push_back(p);
    b.weights.push_back(w);
    return static_cast<int>(b.mesh.vertices.size()) - 1;
}

void addTriangle(MeshBuilder& b, int material, int a, int c, int d) {
    b.mesh.faces.push_back({material, {a, c, d}});
}

void addQuad(MeshBuilder& b, int material, int a, int c, int d, int e) {
    addTriangle(b, material, a, c, d);
    addTriangle(b, material, a, d, e);
}

Weights only(int bone) {
    return {{bone, 1.0f}};
}

Weights blend(int a, int b, float weightOfB = 0.5f) {
    return {{a, 1.0f - weightOfB}, {b, weightOfB}};
}

// One horizontal cross-section of a limb or the trunk: an ellipse of `sides` corners.
struct Ring {
    V3 centre;
    float radiusX, radiusZ;
    Weights weights;
};

std::vector<int> addRing(MeshBuilder& b, const Ring& ring, int sides, float turn) {
    std::vector<int> indices;
    for (int k = 0; k < sides; ++k) {
        const float a = 2.0f * kPi * (static_cast<float>(k) + turn) / static_cast<float>(sides);
        const V3 p = ring.centre + V3{ring.radiusX * std::cos(a), 0.0f, ring.radiusZ * std::sin(a)};
        indices.push_back(addVertex(b, p, ring.weights));
    }
    return indices;
}

// Joins consecutive rings with quads; segment i takes materials[i].
std::vector<std::vector<int>> addTube(MeshBuilder& b, const std::vector<Ring>& rings,
                                      const std::vector<int>& materials, int sides,
                                      float turn = 0.0f) {
    std::vector<std::vector<int>> made;
    for (const auto& ring : rings)
        made.push_back(addRing(b, ring, sides, turn));
    for (size_t i = 0; i + 1 < made.size(); ++i)
        for (int k = 0; k < sides; ++k) {
            const int n = (k + 1) % sides;
            addQuad(b, materials[i], made[i][k], made[i][n], made[i + 1][n], made[i + 1][k]);
        }
    return made;
}

void addCap(MeshBuilder& b, const std::vector<int>& ring, V3 tip, const Weights& w, int material) {
    const int centre = addVertex(b, tip, w);
    for (size_t k = 0; k < ring.size(); ++k)
        addTriangle(b, material, ring[k], ring[(k + 1) % ring.size()], centre);
}

V3 joint(int bone) {
    return kFigureBones[bone].joint;
}

void addTrunk(MeshBuilder& b) {
    const std::vector<Ring> rings = {
        {{0, 83, 0}, 15.0f, 10.0f, only(BonePelvis)},
        {{0, 97, 0}, 16.0f, 10.5f, only(BonePelvis)},
        {{0, 106, 0.5f}, 15.0f, 10.0f, blend(BonePelvis, BoneSpine)},
        {{0, 120, 0.5f}, 14.5f, 10.0f, only(BoneSpine)},
        {{0, 138, 0.5f}, 17.5f, 11.0f, only(BoneSpine)},
        {{0, 148, 0}, 15.0f, 8.0f, only(BoneSpine)},
    };
    const auto made = addTube(b, rings,
                              {MaterialClothing2, MaterialClothing1, MaterialClothing1,
                               MaterialClothing1, MaterialClothing1},
                              8, 0.5f);
    addCap(b, made.front(), {0, 80, 0}, only(BonePelvis), MaterialClothing2);
    addCap(b, made.back(), {0, 151, 0}, only(BoneSpine), MaterialClothing1);
}

void addHeadAndNeck(MeshBuilder& b) {
    addTube(b,
            {{{0, 145, 0}, 5.5f, 5.5f, only(BoneSpine)}, {{0, 158, 0}, 5.0f, 5.0f, only(BoneHead)}},
            {MaterialSkin}, 6);
    // An egg, wider at the back of the skull; hair covers the crown and the back.
    const V3 centre{0, 167, 0.5f};
    const float latitudes[] = {-62, -30, 5, 38, 68};
    const float widths[] = {0.55f, 0.92f, 1.0f, 0.9f, 0.5f};
    std::vector<std::vector<int>> rings;
    const int sides = 8;
    for (int i = 0; i < 5; ++i) {
        const float lat = latitudes[i] * kPi / 180.0f;
        const Ring r{centre + V3{0, 12.0f * std::sin(lat), 0}, 9.0f * widths[i], 10.5f * widths[i],
                     only(BoneHead)};
        rings.push_back(addRing(b, r, sides, 0.5f));
    }
    for (int i = 0; i + 1 < 5; ++i)
        for (int k = 0; k < sides; ++k) {
            const int n = (k + 1) % sides;
            const V3 mid = (b.mesh.vertices[rings[i][k]] + b.mesh.vertices[rings[i][n]]) * 0.5f;
            const bool back = mid.z < centre.z;
            const int material = i >= 3 || (back && i >= 1) ? MaterialHair : MaterialSkin;
            addQuad(b, material, rings[i][k], rings[i][n], rings[i + 1][n], rings[i + 1][k]);
        }
    addCap(b, rings.front(), centre + V3{0, -12.5f, 1.5f}, only(BoneHead), MaterialSkin);
    addCap(b, rings.back(), centre + V3{0, 13.0f, -0.5f}, only(BoneHead), MaterialHair);
}

void addArm(MeshBuilder& b, int upper, int fore, int hand, float side) {
    const V3 s = joint(upper), e = joint(fore), w = joint(hand);
    const std::vector<Ring> rings = {
        {s + V3{0, 4, 0}, 6.0f, 6.0f, only(upper)},  {lerp(s, e, 0.35f), 5.6f, 5.6f, only(upper)},
        {lerp(s, e, 0.4f), 4.6f, 4.6f, only(upper)}, {e, 4.2f, 4.2f, blend(upper, fore)},
        {lerp(e, w, 0.45f), 4.2f, 4.0f, only(fore)}, {w + V3{0, 1, 0}, 3.2f, 3.0f, only(fore)},
    };
    addTube(b, rings,
            {MaterialClothing1, MaterialClothing1, MaterialSkin, MaterialSkin, MaterialSkin}, 6);
    // The hand: a flat block, thin across the palm, ending in a rounded fist.
    const std::vector<Ring> hands = {
        {w + V3{0, 1, 0}, 2.6f, 3.8f, only(hand)},
        {w + V3{side * 0.3f, -7, 0.5f}, 2.8f, 4.4f, only(hand)},
        {w + V3{side * 0.3f, -14, 0.5f}, 2.2f, 3.4f, only(hand)},
    };
    const auto made = addTube(b, hands, {MaterialSkin, MaterialSkin}, 4, 0.5f);
    addCap(b, made.back(), w + V3{side * 0.3f, -16, 0.5f}, only(hand), MaterialSkin);
}

void addLeg(MeshBuilder& b, int thigh, int shin, int foot) {
    const V3 h = joint(thigh), k = joint(shin), a = joint(foot);
    const std::vector<Ring> rings = {
        {h + V3{0, 6, 0}, 8.5f, 8.5f, only(thigh)},
        {lerp(h, k, 0.32f), 9.0f, 8.5f, only(thigh)},
        {lerp(h, k, 0.38f), 7.0f, 7.0f, only(thigh)},
        {k, 5.4f, 5.6f, blend(thigh, shin)},
        {lerp(k, a, 0.38f) + V3{0, 0, -0.8f}, 5.5f, 5.8f, only(shin)},
        {lerp(k, a, 0.75f), 4.0f, 4.0f, only(shin)},
        {a + V3{0, 2, 0}, 3.8f, 3.8f, blend(shin, foot, 0.7f)},
    };
    addTube(
        b, rings,
        {MaterialClothing2, MaterialSkin, MaterialSkin, MaterialSkin, MaterialShoes, MaterialShoes},
        6);
    // The shoe: a wedge from a high heel to a low toe.
    const Weights w = only(foot);
    const float x = a.x;
    const int hb0 = addVertex(b, {x - 4.5f, 0, -6}, w), hb1 = addVertex(b, {x + 4.5f, 0, -6}, w);
    const int tb0 = addVertex(b, {x - 4.8f, 0, 18}, w), tb1 = addVertex(b, {x + 4.8f, 0, 18}, w);
    const int ht0 = addVertex(b, {x - 4.2f, 12, -5}, w), ht1 = addVertex(b, {x + 4.2f, 12, -5}, w);
    const int tt0 = addVertex(b, {x - 3.8f, 6, 17}, w), tt1 = addVertex(b, {x + 3.8f, 6, 17}, w);
    const int m = MaterialShoes;
    addQuad(b, m, hb0, hb1, tb1, tb0); // sole
    addQuad(b, m, ht0, ht1, tt1, tt0); // instep
    addQuad(b, m, hb0, hb1, ht1, ht0); // heel
    addQuad(b, m, tb0, tb1, tt1, tt0); // toe
    addQuad(b, m, hb0, tb0, tt0, ht0); // inner side
    addQuad(b, m, hb1, tb1, tt1, ht1); // outer side
}

// Weights gathered per bone into the skin groups the model file stores.
void finishSkin(MeshBuilder& b) {
    std::map<int, FigureSkinGroup> groups;
    for (size_t v = 0; v < b.weights.size(); ++v)
        for (const auto& [bone, weight] : b.weights[v]) {
            auto& g = groups[bone];
            g.bone = bone;
            g.vertices.push_back(static_cast<int>(v));
            g.weights.push_back(weight);
        }
    for (auto& [bone, group] : groups)
        b.mesh.skin.push_back(std::move(group));
}

FigureMesh buildBody() {
    MeshBuilder b;
    addTrunk(b);
    addHeadAndNeck(b);
    addArm(b, BoneUpperArmR, BoneForeArmR, BoneHandR, 1.0f);
    addArm(b, BoneUpperArmL, BoneForeArmL, BoneHandL, -1.0f);
    addLeg(b, BoneThighR, BoneShinR, BoneFootR);
    addLeg(b, BoneThighL, BoneShinL, BoneFootL);
    finishSkin(b);
    return b.mesh;
}

// A ball small enough to sit in the palm: two hexagonal pyramids.
FigureMesh buildBall() {
    MeshBuilder b;
    const V3 c = joint(BoneBall);
    const Ring equator{c, kBallRadius, kBallRadius, {}};
    const auto ring = addRing(b, equator, 6, 0.0f);
    addCap(b, ring, c + V3{0, kBallRadius, 0}, {}, MaterialBall);
    addCap(b, ring, c + V3{0, -kBallRadius, 0}, {}, MaterialBall);
    b.mesh.bone = BoneBall;
    b.mesh.visible = 0; // shown only by the serve animations
    return b.mesh;
}

// Held in the racket hand, pointing down along the arm, strings facing across (x).
FigureMesh buildRacket() {
    MeshBuilder b;
    const V3 g = joint(BoneRacket);
    const std::vector<Ring> handle = {
        {g + V3{0, 8, 0}, 1.5f, 1.3f, {}},
        {g + V3{0, -13, 0}, 1.1f, 1.1f, {}},
    };
    const auto made = addTube(b, handle, {MaterialGrip}, 4, 0.5f);
    addCap(b, made.front(), g + V3{0, 8.5f, 0}, {}, MaterialGrip);
    // The throat, a flat wedge into the head.
    const V3 head = g + kRacketHeadCentre;
    const int t0 = addVertex(b, g + V3{0, -13, -1.1f}, {});
    const int t1 = addVertex(b, g + V3{0, -13, 1.1f}, {});
    const int t2 = addVertex(b, head + V3{0, 13.0f, 6.5f}, {});
    const int t3 = addVertex(b, head + V3{0, 13.0f, -6.5f}, {});
    addQuad(b, MaterialRacket, t0, t1, t2, t3);
    // Head: frame ring around a filled string bed, in the plane x = grip x.
    const int sides = 12;
    std::vector<int> outer, inner;
    for (int k = 0; k < sides; ++k) {
        const float a = 2.0f * kPi * static_cast<float>(k) / sides;
        outer.push_back(addVertex(b, head + V3{0, 15.5f * std::cos(a), 12.5f * std::sin(a)}, {}));
        inner.push_back(addVertex(b, head + V3{0, 14.0f * std::cos(a), 11.0f * std::sin(a)}, {}));
    }
    for (int k = 0; k < sides; ++k) {
        const int n = (k + 1) % sides;
        addQuad(b, MaterialRacket, outer[k], outer[n], inner[n], inner[k]);
    }
    addCap(b, inner, head, {}, MaterialStrings);
    b.mesh.bone = BoneRacket;
    return b.mesh;
}

} // namespace

FigureModel buildFigureModel() {
    FigureModel model;
    model.meshes.push_back(buildBody());
    model.meshes.push_back(buildBall());
    model.meshes.push_back(buildRacket());
    return model;
}

int triangleCount(const FigureModel& model) {
    int count = 0;
    for (const auto& mesh : model.meshes)
        count += static_cast<int>(mesh.faces.size());
    return count;
}
