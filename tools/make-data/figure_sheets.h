// figure_sheets.h: contact sheets of the player figure's twenty animations, rendered through the
// game's own readers, bake and renderer, for people to check each movement.
#pragma once

#include <string>

// Reads the model and animations from data.pak and writes one PNG per animation into folder:
// every frame in order, ten to a row, through the close camera of the player-choice screens,
// the frame where the racket meets the ball framed in red. Returns the number of sheets; throws
// std::runtime_error on unreadable data or an unwritable folder.
int writeFigureSheets(const std::string& pakPath, const std::string& folder);
