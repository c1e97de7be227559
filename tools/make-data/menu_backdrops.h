// menu_backdrops.h: the full-screen pictures of every screen but the courts.
#pragma once

#include "data_set.h"
#include "typeset.h"

// Where the close camera shows the standing player on the selection and editor screens: the
// backdrops light a spot on the floor under it.
struct FigureSpot {
    float x, y;   // feet, screen pixels
    float height; // pixels from feet to head
};

void addMenuBackdrops(DataSet& data, const TypeSet& types, FigureSpot selectionSpot,
                      FigureSpot editorSpot);

// Feet and height of the figure that the close camera shows on the selection screens (player at
// (-0.5, 0, 6)) and on the profile editor (player at (0, 0, -1)).
constexpr FigureSpot kSelectionFigure = {100.0f, 201.0f, 70.0f};
constexpr FigureSpot kEditorFigure = {120.0f, 166.0f, 56.0f};
