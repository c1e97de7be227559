// figure_files.h: the player figure's model file and its twenty animation files for data.pak.
#pragma once

#include <vector>

#include "assets/model.h"
#include "figure_animations.h"
#include "figure_model.h"
#include "writers/key_writer.h"
#include "writers/pak_writer.h"

// The figure as the game's model records: one object, one level of detail.
Model figureModelRecords(const FigureModel& figure);
// One clip as the records of its .key file: a track per bone, the ball's visibility events.
KeyFileRecord figureKeyRecords(const FigureClip& clip);

// Adds "D:\VELDAR\Data\Model\Tenista3.NFO" and the twenty .key files.
void addFigureFiles(std::vector<PakWriterEntry>& entries);
