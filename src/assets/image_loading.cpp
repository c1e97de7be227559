// image_loading.cpp: the game's picture and font loaders on top of the decoder and streams.
#include "assets/image_loading.h"

#include <cassert>
#include <string>
#include <vector>

#include "assets/data_stream.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"

namespace {

constexpr int kPgmHeaderLines = 3;    // magic, dimensions, maximum value
constexpr size_t kPgmLineLimit = 256; // far beyond any real header line
// The font bitmap the text drawing indexes: 16 x 6 cells of 8 x 16 grey levels.
constexpr uint32_t kFontPgmWidth = 128;
constexpr uint32_t kFontPgmHeight = kFontBitmapBytes / kFontPgmWidth;

// Reads on to and including the next line feed, which is not kept; the stream ending first, or a
// line that never ends, is a damaged font.
std::string readLine(DataStream& stream) {
    std::string line;
    for (;;) {
        char byte = 0;
        if (dataStreamRead(stream, &byte, 1) != 1 || line.size() >= kPgmLineLimit)
            raiseFileError(kErrorFileDataCorrupt);
        if (byte == '\n')
            return line;
        line += byte;
    }
}

std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line + ' ')
        if (c == ' ' || c == '\t' || c == '\r') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    return words;
}

// The three counted lines must describe exactly the bitmap the text drawing indexes.
void checkPgmHeader(const std::string (&lines)[kPgmHeaderLines]) {
    const std::vector<std::string> expected[kPgmHeaderLines] = {
        {"P5"}, {std::to_string(kFontPgmWidth), std::to_string(kFontPgmHeight)}, {"255"}};
    for (int i = 0; i < kPgmHeaderLines; ++i)
        if (wordsOf(lines[i]) != expected[i])
            raiseFileError(kErrorFileDataCorrupt);
}

} // namespace

void loadBackground(JpegDecoder* decoder, PakArchive* archive, const WideString& name,
                    uint32_t* backdrop) {
    const int32_t index = pakFindRequired(archive, name);
    withErrorDetail(pakEntryDetail(archive, name), [&] {
        jpegDecodeColour(decoder, archive, index, backdrop, kScreenWidth, kScreenHeight, true);
    });
}

void loadFace(JpegDecoder* decoder, ImageButton* button, PakArchive* archive, int face,
              const WideString& name, const char16_t* maskName) {
    assert(face >= 0 && face < 3);
    if (button->width <= 0 || button->height <= 0)
        raiseFileError(kErrorJpegFile, pakEntryDetail(archive, name)); // no picture fits no pixels
    if (!button->face[face])
        button->face[face] =
            new uint32_t[static_cast<size_t>(button->width) * static_cast<size_t>(button->height)];
    const int32_t index = pakFindRequired(archive, name);
    withErrorDetail(pakEntryDetail(archive, name), [&] {
        jpegDecodeColour(decoder, archive, index, button->face[face], button->width, button->height,
                         false);
    });
    if (!maskName)
        return;
    const int32_t maskIndex = pakFindRequired(archive, maskName);
    withErrorDetail(pakEntryDetail(archive, maskName), [&] {
        jpegDecodeMask(decoder, archive, maskIndex, button->face[face], button->width,
                       button->height);
    });
}

void loadFont(PakArchive* archive, const WideString& name, uint8_t* destination) {
    DataStream stream;
    dataStreamOpen(stream, archive, name);
    withErrorDetail(pakEntryDetail(archive, name), [&] {
        std::string lines[kPgmHeaderLines];
        for (int counted = 0; counted < kPgmHeaderLines;) {
            std::string line = readLine(stream);
            if (line.empty() || line[0] != '#')
                lines[counted++] = std::move(line);
        }
        checkPgmHeader(lines);
        // Every pixel must be there, and nothing after them: the samples are read whole.
        if (dataStreamSize(stream) - stream.position != kFontBitmapBytes)
            raiseFileError(kErrorFileDataCorrupt);
        dataStreamRead(stream, destination, kFontBitmapBytes);
    });
    dataStreamClose(stream);
}
