// court_pictures.h: the five match backdrops and the five stadium previews.
#pragma once

#include "court_scene.h"
#include "data_set.h"
#include "menu_backdrops.h"
#include "render/camera.h"
#include "typeset.h"

// Screen positions through one of the game's cameras (its view and projection matrices).
Projector cameraProjector(const FxMatrix& view, const FxMatrix& projection);

// About how tall the player figure stands, in metres.
constexpr double kFigureHeight = 1.85;
// Where the close camera shows a player standing at feet.
FigureSpot figureSpot(const CameraSetup& camera, const WorldPoint& feet);

// The match backdrops, drawn through the match camera.
void addCourtPictures(DataSet& data, const CameraSetup& camera);
void addStadiumPreviews(DataSet& data, const TypeSet& types);
