// match_scene.cpp: the order and the values of every 3D pass; the pipeline does the rest.
#include "view/match_scene.h"

#include <algorithm>

#include "assets/model.h"
#include "assets/pose.h"
#include "match/match.h"
#include "match/vector_math.h"
#include "render/render_context.h"
#include "view/engine3d.h"
#include "view/match_hud.h"

namespace {

// Net geometry in metres, all in the plane z = 0.
constexpr Fixed kNetHalfWidth = fx(6.4);
constexpr Fixed kPostInner = fx(6.3);
constexpr Fixed kMeshLeftTop = fx(6.6); // the mesh's top-left corner leans outward
constexpr Fixed kStickOuter = fx(5.03);
constexpr Fixed kStickInner = fx(4.93);
constexpr Fixed kNetTop = fx(1.07);
constexpr Fixed kStrapHalfWidth = fx(0.035);
constexpr Fixed kMeshBottom = fx(-0.1);
constexpr Fixed kBounceMarkHalf = fx(0.06);
constexpr Fixed kUprightLimit = fx(0.9); // beyond it the streak's side vector is taken in xy

constexpr Rgba kNetColour = {200, 200, 200, 255};
constexpr Rgba kBounceMarkColour = {0, 0, 0, 128};
constexpr Rgba kShadowColour = {26, 26, 26, 96};
constexpr Rgba kBallColour = {242, 242, 153, 255};
constexpr int32_t kStreakMinAlpha = 128;
constexpr int32_t kStreakShadowMinAlpha = 48;

struct NetQuad {
    Fixed x[4], y[4];
};

// Tape, strap, left post, right post, left stick, right stick; corners in drawing order.
constexpr NetQuad kNetParts[] = {
    {{-kNetHalfWidth, kNetHalfWidth, kNetHalfWidth, -kNetHalfWidth},
     {kFxOne, kFxOne, kNetTop, kNetTop}},
    {{-kStrapHalfWidth, -kStrapHalfWidth, kStrapHalfWidth, kStrapHalfWidth},
     {0, kFxOne, kFxOne, 0}},
    {{-kNetHalfWidth, -kPostInner, -kPostInner, -kNetHalfWidth}, {kNetTop, kNetTop, 0, 0}},
    {{kPostInner, kNetHalfWidth, kNetHalfWidth, kPostInner}, {kNetTop, kNetTop, 0, 0}},
    {{-kStickOuter, -kStickInner, -kStickInner, -kStickOuter}, {kNetTop, kNetTop, 0, 0}},
    {{kStickInner, kStickOuter, kStickOuter, kStickInner}, {kNetTop, kNetTop, 0, 0}},
};

void setColour(RenderContext* rc, Rgba c) {
    rcColor4(rc, c.r, c.g, c.b, c.a);
}

void loadCamera(RenderContext* rc, const FxMatrix& view, const FxMatrix& projection) {
    rcMatrixMode(rc, GL_MODELVIEW);
    rcLoadMatrix(rc, view);
    rcMatrixMode(rc, GL_PROJECTION);
    rcLoadMatrix(rc, projection);
}

// Leaves the context as the 2D drawing that follows expects it.
void endPass(RenderContext* rc) {
    rcDisable(rc, GL_BLEND);
    rcMatrixMode(rc, GL_MODELVIEW);
    rcLoadIdentity(rc);
    rcMatrixMode(rc, GL_PROJECTION);
    rcLoadIdentity(rc);
    rcDisable(rc, GL_DEPTH_TEST);
}

void enableBlending(RenderContext* rc) {
    rcEnable(rc, GL_BLEND);
    rcBlendFunc(rc, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawNet(RenderContext* rc) {
    rcBegin(rc, GL_QUADS);
    setColour(rc, kNetColour);
    for (const NetQuad& quad : kNetParts)
        for (int k = 0; k < 4; ++k)
            rcVertex(rc, quad.x[k], quad.y[k], 0);
    rcEnd(rc);
}

void drawBounceMark(RenderContext* rc, const Vec3& mark) {
    setColour(rc, kBounceMarkColour);
    const Fixed x0 = fxSub(mark.x, kBounceMarkHalf), x1 = fxAdd(mark.x, kBounceMarkHalf);
    const Fixed z0 = fxSub(mark.z, kBounceMarkHalf), z1 = fxAdd(mark.z, kBounceMarkHalf);
    rcVertex(rc, x0, 0, z0);
    rcVertex(rc, x1, 0, z0);
    rcVertex(rc, x1, 0, z1);
    rcVertex(rc, x0, 0, z1);
}

void drawNetMesh(RenderContext* rc) {
    setColour(rc, kShadowColour);
    rcVertex(rc, -kNetHalfWidth, kMeshBottom, 0);
    rcVertex(rc, kNetHalfWidth, kMeshBottom, 0);
    rcVertex(rc, kNetHalfWidth, kNetTop, 0);
    rcVertex(rc, -kMeshLeftTop, kNetTop, 0);
}

FigurePlacement placementOf(const MatchPlayer& player) {
    return {player.position, player.facing};
}

// The model's x axis, its y axis and its z axis as columns 0, 1, 2; each product is one fxMul,
// so -dz * s is fxMul(-dz, s), not the negated product (they differ by a raw unit).
FxMatrix figureMatrix(const FigurePlacement& at, const Vec3& yColumn) {
    const Fixed dx = at.facing.x, dz = at.facing.z;
    FxMatrix m = {};
    m.m[0] = fxMul(fxNeg(dz), kModelScale);
    m.m[2] = fxMul(dx, kModelScale);
    m.m[4] = yColumn.x;
    m.m[5] = yColumn.y;
    m.m[6] = yColumn.z;
    m.m[8] = fxMul(dx, kModelScale);
    m.m[10] = fxMul(dz, kModelScale);
    m.m[12] = at.position.x;
    m.m[13] = at.position.y;
    m.m[14] = at.position.z;
    m.m[15] = kFxOne;
    return m;
}

// Pose vertices are stored as flat (x, y, z) triples, the layout of the vertex array.
static_assert(sizeof(Vec3) == 3 * sizeof(Fixed));
const Vec3* meshVertexArray(const Pose& pose, size_t mesh) {
    return reinterpret_cast<const Vec3*>(pose.meshVertices[mesh].data());
}

const uint32_t* faceIndices(const Mesh& mesh, size_t firstFace) {
    return reinterpret_cast<const uint32_t*>(mesh.faces[firstFace].v);
}

int32_t indexCount(size_t faces) {
    return static_cast<int32_t>(3 * faces);
}

template <typename DrawMesh>
void forEachVisibleMesh(RenderContext* rc, const Pose& pose, const FxMatrix& model, DrawMesh draw) {
    rcMatrixMode(rc, GL_MODELVIEW);
    rcPushMatrix(rc);
    rcMultMatrix(rc, model);
    const ObjectLod& lod = primaryLod(*pose.model);
    const size_t meshes = std::min(lod.meshes.size(), pose.meshVertices.size());
    for (size_t i = 0; i < meshes; ++i) {
        const Mesh& mesh = lod.meshes[i];
        if (!mesh.visible || mesh.faces.empty())
            continue;
        rcVertexPointer(rc, 3, GL_FLOAT, 0, meshVertexArray(pose, i));
        rcLockArrays(rc);
        draw(mesh);
        rcUnlockArrays(rc);
    }
    rcPopMatrix(rc);
}

// Corner k of the streak box: end A or B, then the signs of s and w.
struct BoxCorner {
    bool endB;
    int sSign, wSign;
};
constexpr BoxCorner kStreakCorners[24] = {
    {false, -1, -1}, {false, -1, 1}, {false, 1, 1}, {false, 1, -1}, // end A
    {true, -1, -1},  {true, -1, 1},  {true, 1, 1},  {true, 1, -1},  // end B
    {false, -1, -1}, {true, -1, -1}, {true, -1, 1}, {false, -1, 1}, // side -s
    {false, 1, -1},  {true, 1, -1},  {true, 1, 1},  {false, 1, 1},  // side +s
    {false, -1, -1}, {true, -1, -1}, {true, 1, -1}, {false, 1, -1}, // side -w
    {false, -1, 1},  {true, -1, 1},  {true, 1, 1},  {false, 1, 1},  // side +w
};

// Offsets of the still ball's cube in units of its half-size, signs of x, y, z.
constexpr int8_t kCubeCorners[24][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, // z - d
    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},  // z + d
    {-1, 1, -1},  {1, 1, -1},  {1, 1, 1},  {-1, 1, 1},  // y + d
    {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, // y - d
    {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}, // x - d
    {1, -1, -1},  {1, -1, 1},  {1, 1, 1},  {1, 1, -1},  // x + d
};
constexpr int8_t kGroundSquare[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

Fixed offset(Fixed base, int sign, Fixed amount) {
    return sign > 0 ? fxAdd(base, amount) : fxSub(base, amount);
}

// Each component divided on its own; the rest of the arithmetic is the match's (vector_math.h).
Vec3 divide(const Vec3& v, Fixed k) {
    return {fxDiv(v.x, k), fxDiv(v.y, k), fxDiv(v.z, k)};
}

void shadowVertex(RenderContext* rc, const Vec3& p) {
    rcVertex(rc, p.x, 0, fxAdd(p.z, fxMul(p.y, kShadowShear)));
}

void drawStillBall(RenderContext* rc, const Vec3& p, Fixed d) {
    setColour(rc, kBallColour);
    for (const auto& c : kCubeCorners)
        rcVertex(rc, offset(p.x, c[0], d), offset(p.y, c[1], d), offset(p.z, c[2], d));
    setColour(rc, kShadowColour);
    const Fixed cz = fxAdd(p.z, fxMul(p.y, kShadowShear));
    for (const auto& c : kGroundSquare)
        rcVertex(rc, offset(p.x, c[0], d), 0, offset(cz, c[1], d));
}

void drawStreak(RenderContext* rc, const Vec3& p, const Vec3& q, const Vec3& v, Fixed len,
                Fixed d) {
    const StreakAlpha alpha = streakAlpha(d, len);
    const Vec3 u = divide(v, len);
    Vec3 s = (u.y > -kUprightLimit && u.y < kUprightLimit) ? Vec3{fxNeg(u.z), 0, u.x}
                                                           : Vec3{u.y, fxNeg(u.x), 0};
    s = divide(s, fxSqrt(vDot(s, s)));
    Vec3 w = vCross(u, s);
    s = vScale(s, d);
    w = vScale(w, d);
    const Vec3 du = vScale(u, d);
    const Vec3 a = vSub(q, du);
    const Vec3 b = vAdd(p, du);

    Vec3 corners[24];
    for (int k = 0; k < 24; ++k) {
        const BoxCorner& c = kStreakCorners[k];
        const Vec3 sideS = c.sSign > 0 ? s : Vec3{fxNeg(s.x), fxNeg(s.y), fxNeg(s.z)};
        const Vec3 sideW = c.wSign > 0 ? w : Vec3{fxNeg(w.x), fxNeg(w.y), fxNeg(w.z)};
        corners[k] = vAdd(vAdd(c.endB ? b : a, sideS), sideW);
    }
    rcColor4(rc, kBallColour.r, kBallColour.g, kBallColour.b, static_cast<uint8_t>(alpha.ball));
    for (const Vec3& corner : corners)
        rcVertex(rc, corner.x, corner.y, corner.z);
    rcColor4(rc, kShadowColour.r, kShadowColour.g, kShadowColour.b,
             static_cast<uint8_t>(alpha.shadow));
    for (const Vec3& corner : corners)
        shadowVertex(rc, corner);
}

FxMatrix figureModelMatrix(const FigurePlacement& at) {
    return figureMatrix(at, {0, kModelScale, 0});
}

FxMatrix figureShadowMatrix(const FigurePlacement& at) {
    return figureMatrix(at, {0, 0, fxMul(kModelScale, kShadowShear)});
}

// Runs of faces with one material share a colour; a mesh's runs go to the renderer together,
// kRunsAtOnce at a time.
constexpr size_t kRunsAtOnce = 64;

IndexRange faceVertexRange(const Mesh& mesh) {
    return {mesh.lowestFaceVertex, mesh.highestFaceVertex};
}

void drawFigure(RenderContext* rc, const FigurePlacement& at, const Pose& pose) {
    const ModelObject& object = pose.model->objects[0];
    forEachVisibleMesh(rc, pose, figureModelMatrix(at), [&](const Mesh& mesh) {
        const size_t faces = mesh.faces.size();
        ColourRun runs[kRunsAtOnce];
        size_t runCount = 0, first = 0; // the first face of the runs held
        for (const MaterialRun& run : mesh.materialRuns) {
            const uint8_t* c = object.materials[static_cast<size_t>(run.material)].colour;
            runs[runCount++] = {indexCount(run.end - first), {c[0], c[1], c[2], 255}};
            if (runCount < kRunsAtOnce && run.end < faces)
                continue;
            // A mesh drawn at once has its known range; the part of a longer one looks for its own.
            if (first == 0 && run.end == faces)
                rcDrawRangeColourRuns(rc, faceVertexRange(mesh), faceIndices(mesh, first), runs,
                                      static_cast<int32_t>(runCount));
            else
                rcDrawColourRuns(rc, faceIndices(mesh, first), runs,
                                 static_cast<int32_t>(runCount));
            runCount = 0;
            first = run.end;
        }
    });
}

void drawFigureShadow(RenderContext* rc, const FigurePlacement& at, const Pose& pose) {
    forEachVisibleMesh(rc, pose, figureShadowMatrix(at), [&](const Mesh& mesh) {
        setColour(rc, kShadowColour);
        rcDrawRangeElements(rc, GL_TRIANGLES, faceVertexRange(mesh), indexCount(mesh.faces.size()),
                            GL_UNSIGNED_INT, faceIndices(mesh, 0));
    });
}

} // namespace

FxMatrix playerModelMatrix(const MatchPlayer& player) {
    return figureModelMatrix(placementOf(player));
}

FxMatrix playerShadowMatrix(const MatchPlayer& player) {
    return figureShadowMatrix(placementOf(player));
}

StreakAlpha streakAlpha(Fixed halfSize, Fixed distance) {
    const int32_t a = fxDiv(fxMul(fxFromInt(255), halfSize), fxAdd(distance, halfSize)) >> 16;
    const int32_t a2 = (3 * a) >> 4;
    return {std::clamp(a, kStreakMinAlpha, 255), std::clamp(a2, kStreakShadowMinAlpha, 255)};
}

void drawPlayer(RenderContext* rc, const MatchPlayer& player, const Pose& pose) {
    drawFigure(rc, placementOf(player), pose);
}

void drawPlayerShadow(RenderContext* rc, const MatchPlayer& player, const Pose& pose) {
    drawFigureShadow(rc, placementOf(player), pose);
}

void drawBall(RenderContext* rc, const Ball& ball, const Vec3& previous) {
    const Vec3& p = ball.position;
    const Vec3 v = vSub(p, previous);
    const Fixed len = fxSqrt(vDot(v, v));
    if (len < kStillBallDistance)
        drawStillBall(rc, p, ball.diameter);
    else
        drawStreak(rc, p, previous, v, len, ball.diameter);
}

void drawMatchScene(Engine3D& engine, const Match& match) {
    RenderContext* rc = engine.frame.renderContext;
    rcShadeModel(rc, GL_FLAT);
    loadCamera(rc, engine.camera.matchView, engine.camera.projection);
    rcEnable(rc, GL_DEPTH_TEST);

    drawNet(rc);
    drawPlayer(rc, match.players[0], *engine.playerPoses[0]);
    drawPlayer(rc, match.players[1], *engine.playerPoses[1]);

    // The translucent items, unsorted, after the opaque ones and still depth-tested.
    enableBlending(rc);
    rcBegin(rc, GL_QUADS);
    if (match.bounceMarkVisible)
        drawBounceMark(rc, match.bounceMark);
    if (!match.ball.dead)
        drawBall(rc, match.ball, match.ballPrevPosition);
    drawNetMesh(rc);
    rcEnd(rc);
    drawPlayerShadow(rc, match.players[0], *engine.playerPoses[0]);
    drawPlayerShadow(rc, match.players[1], *engine.playerPoses[1]);
    endPass(rc);

    drawMatchMessage(engine.frame, match);
    rcFinish(rc);
}

void drawNetScene(RenderContext* rc, const CameraSetup& camera) {
    rcShadeModel(rc, GL_FLAT);
    loadCamera(rc, camera.matchView, camera.projection);
    rcEnable(rc, GL_DEPTH_TEST);
    drawNet(rc);
    enableBlending(rc);
    rcBegin(rc, GL_QUADS);
    drawNetMesh(rc);
    rcEnd(rc);
    endPass(rc);
}

void drawFigureView(Engine3D& engine, const FigurePlacement& at, const Pose& pose) {
    RenderContext* rc = engine.frame.renderContext;
    rcShadeModel(rc, GL_FLAT);
    loadCamera(rc, engine.camera.previewView, engine.camera.projection);
    rcEnable(rc, GL_DEPTH_TEST);
    drawFigure(rc, at, pose);
    enableBlending(rc);
    drawFigureShadow(rc, at, pose);
    endPass(rc);
    rcFinish(rc);
}
