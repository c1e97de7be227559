// court_pictures.h: the five match backdrops and the five stadium previews.
#pragma once

#include "court_scene.h"
#include "data_set.h"
#include "typeset.h"

// The screen position of a world point through the match camera of the game.
bool projectThroughMatchCamera(const WorldPoint& p, Point& out);

void addCourtPictures(DataSet& data);
void addStadiumPreviews(DataSet& data, const TypeSet& types);
