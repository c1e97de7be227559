// image_loading.cpp: the game's picture and font loaders on top of the decoder and streams.
#include "assets/image_loading.h"

#include <cassert>

#include "assets/data_stream.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"

namespace {

constexpr int kPgmHeaderLines = 3; // magic, dimensions, maximum value

// Reads on to and including the next line feed; the stream ending first is a damaged font.
uint8_t readLine(DataStream& stream) {
    uint8_t first = 0;
    uint8_t byte = 0;
    for (bool atStart = true;; atStart = false) {
        if (dataStreamRead(stream, &byte, 1) != 1)
            raiseFileError(kErrorFileDataCorrupt);
        if (atStart)
            first = byte;
        if (byte == '\n')
            return first;
    }
}

} // namespace

void loadBackground(JpegDecoder* decoder, PakArchive* archive, const WideString& name,
                    uint32_t* backdrop) {
    jpegDecodeColour(decoder, archive, pakFind(archive, name), backdrop, kScreenWidth,
                     kScreenHeight, true);
}

void loadFace(JpegDecoder* decoder, ImageButton* button, PakArchive* archive, int face,
              const WideString& name, const char16_t* maskName) {
    assert(face >= 0 && face < 3);
    if (button->width <= 0 || button->height <= 0)
        raiseFileError(kErrorJpegFile); // no picture can fit an empty button
    if (!button->face[face])
        button->face[face] =
            new uint32_t[static_cast<size_t>(button->width) * static_cast<size_t>(button->height)];
    jpegDecodeColour(decoder, archive, pakFind(archive, name), button->face[face], button->width,
                     button->height, false);
    if (maskName)
        jpegDecodeMask(decoder, archive, pakFind(archive, maskName), button->face[face],
                       button->width, button->height);
}

void loadFont(PakArchive* archive, const WideString& name, uint8_t* destination) {
    DataStream stream;
    dataStreamOpen(stream, archive, name);
    for (int counted = 0; counted < kPgmHeaderLines;)
        if (readLine(stream) != '#')
            ++counted;
    dataStreamRead(stream, destination, kFontBitmapBytes);
    dataStreamClose(stream);
}
