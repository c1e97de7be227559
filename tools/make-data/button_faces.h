// button_faces.h: every button face and mask below the Btns folder.
#pragma once

#include <string>

#include "data_set.h"
#include "typeset.h"

// The full entry name of a picture below the button folder.
WideString buttonPictureName(const std::string& relative);

// Shared Back/Main/Next/Cancel/Ok, arrows, close, menu, selection, options and rankings faces.
void addMenuFaces(DataSet& data, const TypeSet& types);
// Scoreboard, serve ball, power meter, practice arrows and drill captions.
void addMatchFaces(DataSet& data, const TypeSet& types);
// The laurel of the trophies screen.
void addTrophyFaces(DataSet& data);
