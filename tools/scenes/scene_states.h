// scene_states.h: fixed game states reached by playing the match from a seed, drawn with the
// game's own engine and screen drawing, for the render-scene tool, golden images and benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/screen_id.h"
#include "view/figure_posing.h"
#include "view/game_resources.h"
#include "view/game_view.h"

struct Engine3D;
struct ImageButton;
struct Match;
struct PakArchive;

// Everything the game object would hold for drawing one screen.
struct SceneRig {
    GameResources resources; // as the game opens them; the sounds stay silent
    ShownFigures figures;
    int32_t skillPoints[kSkillCount] = {};
    std::vector<ImageButton*> buttons;
    ScreenId screen = NoScreen;
};

// Opens the game's resources as the game does (no sound output); the models get the default
// roster's first two profiles' colours, as the game object gives them. Raises FileError.
SceneRig* makeSceneRig(const std::string& pakPath);
void destroySceneRig(SceneRig* rig);

enum class SceneKind {
    Serve,     // player 1 (human) swinging at the toss, just before contact
    Rally,     // computer against computer, the ball in flight after a few strokes
    PointOver, // the pause after a point: the ball still flying, the score message shown
    Close,     // the rally with player 1 moved close to the camera
    Selection, // the exhibition's player-choice screen with its figure
    FreePlay,  // computer against computer for a given time
};

struct SceneRequest {
    SceneKind kind = SceneKind::Rally;
    int stadium = 0;      // court picture and surface, 0..4
    uint32_t seed = 7;    // srand before the match is set up
    double seconds = 0.0; // FreePlay only: simulated time
};

// Enters the screen (backdrop and buttons from the screen tables) and plays the match from the
// seed to the requested moment. False when the moment never came (a bug in the state's search).
bool setUpScene(SceneRig& rig, const SceneRequest& request);

GameView sceneView(SceneRig& rig);
// One frame as the game draws it: afterUpdate, then render.
void drawSceneFrame(SceneRig& rig);

// The states the golden images cover, with their file names (without ".png").
struct NamedScene {
    std::string name;
    SceneRequest request;
};
std::vector<NamedScene> goldenScenes();
