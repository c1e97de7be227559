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
