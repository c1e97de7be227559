// match_scene.h: the 3D match (net, players, ball, marks, shadows) through the match camera, and
// the single player figure through the close camera.
#pragma once

#include "core/fixed_point.h"

struct Ball;
struct CameraSetup;
struct Engine3D;
struct Match;
struct MatchPlayer;
struct Pose;
struct RenderContext;

// Model units are centimetres.
constexpr Fixed kModelScale = 655;
// A point at height h casts its shadow 0.707 h further along +z.
constexpr Fixed kShadowShear = 46333;
// A ball that moved less than this (0.02 m) since the last step is drawn still.
constexpr Fixed kStillBallDistance = 1311;

// Where a figure stands (its feet) and which way it faces (x and z only, unit length).
struct FigurePlacement {
    Vec3 position;
    Vec3 facing;
};

// The net, both figures, the translucent pass (bounce mark, ball, net mesh, shadows), then the
// message between points. Leaves both matrices at identity and depth test and blending off.
void drawMatchScene(Engine3D& engine, const Match& match);

// The net alone, as a match draws it, over an empty court (for pictures of the stadiums).
void drawNetScene(RenderContext* rc, const CameraSetup& camera);

// One figure and its shadow through the close camera (selection screens, profile editor).
void drawFigureView(Engine3D& engine, const FigurePlacement& at, const Pose& pose);

// The pose's visible meshes placed at the player's position and facing, one element drawing
// per run of faces sharing a material.
void drawPlayer(RenderContext* rc, const MatchPlayer& player, const Pose& pose);
// The same meshes flattened onto the player's ground plane, sheared along +z, in one colour.
void drawPlayerShadow(RenderContext* rc, const MatchPlayer& player, const Pose& pose);
// Inside an open GL_QUADS primitive: a cube when the ball is (nearly) still, else a translucent
// streak from behind the previous position to beyond the current one; then its shadow.
void drawBall(RenderContext* rc, const Ball& ball, const Vec3& previous);

// The figure's model matrices: column 0 is the player's right (model +x), so the matrix
// mirrors; the shadow's column 1 lays height down along +z.
FxMatrix playerModelMatrix(const MatchPlayer& player);
FxMatrix playerShadowMatrix(const MatchPlayer& player);

// The streak's alpha and its shadow's, from the ball half-size and the distance moved.
struct StreakAlpha {
    int32_t ball;
    int32_t shadow;
};
StreakAlpha streakAlpha(Fixed halfSize, Fixed distance);
