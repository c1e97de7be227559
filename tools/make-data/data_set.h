// data_set.h: the entries of data.pak as the builder collects them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "writers/pak_writer.h"

struct PictureSize {
    int width, height;
};

struct DataSet {
    std::vector<PakWriterEntry> entries;
    std::map<WideString, PictureSize> pictureSizes; // every JPEG, by full name
};

// Throws std::invalid_argument for a name added twice.
void addEntry(DataSet& data, const WideString& name, std::vector<uint8_t> bytes);
// Colour JPEG of a backdrop or face.
void addPicture(DataSet& data, const WideString& name, const Canvas& canvas);
// One-component JPEG from the canvas's red channel (white opaque, black transparent).
void addMask(DataSet& data, const WideString& name, const Canvas& canvas);
// A mask straight from a coverage array.
void addCoverageMask(DataSet& data, const WideString& name, const std::vector<float>& coverage,
                     int width, int height);
bool hasEntry(const DataSet& data, const WideString& name);
