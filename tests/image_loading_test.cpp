// Decoding pictures out of the archive: backdrops, faces with masks, damaged files and fonts.
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/jpeg_source.h"
#include "pak_fixture.h"
#include "writers/jpeg_encoder.h"

#include <cstring>
#include <string>

namespace {

constexpr int kFaceWidth = 105, kFaceHeight = 33;

// Flat colour with the top `topRows` rows in a second colour; RGBA bytes.
std::vector<uint8_t> twoToneRgba(int width, int height, int topRows, uint32_t top, uint32_t rest) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(&rgba[(static_cast<size_t>(y) * width + x) * 4], y < topRows ? &top : &rest,
                        4);
    return rgba;
}

std::vector<uint8_t> colourJpeg(int width, int height, int topRows = 0, uint32_t top = 0xFF0000FF,
                                uint32_t rest = 0xFFFF0000) {
    return encodeJpegColour(twoToneRgba(width, height, topRows, top, rest).data(), width, height,
                            100);
}

// Left 48 columns black (transparent), the rest white.
std::vector<uint8_t> maskJpeg(int width, int height) {
    std::vector<uint8_t> grey(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grey[static_cast<size_t>(y) * width + x] = x < 48 ? 0 : 255;
    return encodeJpeg(grey.data(), width, height, 1, 100);
}

uint8_t byteAt(const uint32_t* pixels, int width, int x, int y, int channel) {
    return reinterpret_cast<const uint8_t*>(
        pixels)[(static_cast<size_t>(y) * width + x) * 4 + channel];
}

using OwnedButton = Owned<ImageButton, freeImageButton>;

struct ImageFixture : ::testing::Test {
    PakFixture pak;
    Owned<JpegDecoder, destroyJpegDecoder> decoderOwned{makeJpegDecoder()};
    OwnedButton buttonOwned{makeImageButton(26, 273, kFaceWidth, kFaceHeight)};
    JpegDecoder* decoder = decoderOwned.get();
    ImageButton* button = buttonOwned.get();
};

TEST_F(ImageFixture, BackdropIsStoredBottomRowFirst) {
    pak.open({{u"D:\\VELDAR\\Data\\Main.jpg", colourJpeg(240, 320, 16)}});
    std::vector<uint32_t> backdrop(240 * 320);
    loadBackground(decoder, pak.archive, u"D:\\VELDAR\\Data\\Main.jpg", backdrop.data());
    // The picture's top rows (red) are the backdrop's last rows; the rest is blue.
    EXPECT_GE(byteAt(backdrop.data(), 240, 10, 319, 0), 250);
    EXPECT_LE(byteAt(backdrop.data(), 240, 10, 319, 2), 5);
    EXPECT_LE(byteAt(backdrop.data(), 240, 10, 0, 0), 5);
    EXPECT_GE(byteAt(backdrop.data(), 240, 10, 0, 2), 250);
    EXPECT_EQ(byteAt(backdrop.data(), 240, 10, 0, 3), 255);
}

TEST_F(ImageFixture, FacesReuseTheirBufferAndTakeAlphaFromTheMask) {
    pak.open({{u"Face.jpg", colourJpeg(kFaceWidth, kFaceHeight, 8)},
              {u"Face_m.jpg", maskJpeg(kFaceWidth, kFaceHeight)}});
    loadFace(decoder, button, pak.archive, 0, u"Face.jpg", nullptr);
    uint32_t* first = button->face[0];
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < kFaceWidth * kFaceHeight; ++i)
        ASSERT_EQ(first[i] >> 24, 255u);
    EXPECT_GE(byteAt(first, kFaceWidth, 3, 0, 0), 250); // top row first: red on top
    EXPECT_GE(byteAt(first, kFaceWidth, 3, 20, 2), 250);

    loadFace(decoder, button, pak.archive, 0, u"Face.jpg", u"Face_m.jpg");
    EXPECT_EQ(button->face[0], first);
    EXPECT_EQ(byteAt(first, kFaceWidth, 10, 20, 3), 0);   // black mask pixel
    EXPECT_EQ(byteAt(first, kFaceWidth, 90, 20, 3), 255); // white mask pixel
    EXPECT_GE(byteAt(first, kFaceWidth, 10, 20, 2), 250); // colour untouched by the mask
}

TEST_F(ImageFixture, PicturesThatDoNotFitTheirTargetAreRejected) {
    pak.open({{u"Wide.jpg", colourJpeg(kFaceWidth + 1, kFaceHeight)},
              {u"Tall.jpg", colourJpeg(kFaceWidth, kFaceHeight + 40)},
              {u"Grey.jpg", maskJpeg(kFaceWidth, kFaceHeight)},
              {u"Face.jpg", colourJpeg(kFaceWidth, kFaceHeight)},
              {u"Small.jpg", colourJpeg(200, 300)}});
    for (const char16_t* name : {u"Wide.jpg", u"Tall.jpg", u"Grey.jpg"})
        EXPECT_FILE_ERROR(loadFace(decoder, button, pak.archive, 1, name, nullptr), kErrorJpegFile);
    EXPECT_FILE_ERROR(loadFace(decoder, button, pak.archive, 1, u"Face.jpg", u"Face.jpg"),
                      kErrorJpegFile); // a colour picture is no mask
    std::vector<uint32_t> backdrop(240 * 320);
    EXPECT_FILE_ERROR(loadBackground(decoder, pak.archive, u"Small.jpg", backdrop.data()),
                      kErrorJpegFile);
    EXPECT_FILE_ERROR(loadFace(decoder, button, pak.archive, 1, u"Missing.jpg", nullptr),
                      kErrorCannotOpenFile);
    // The decoder is still good for the next picture.
    loadFace(decoder, button, pak.archive, 1, u"Face.jpg", nullptr);
    EXPECT_EQ(button->face[1][0] >> 24, 255u);
}

TEST_F(ImageFixture, RowLengthCannotOverflowSixteenBits) {
    const OwnedButton strip{makeImageButton(0, 0, 11000, 1)}; // 33000 samples a row
    pak.open({{u"Strip.jpg", colourJpeg(11000, 1)}});
    EXPECT_FILE_ERROR(loadFace(decoder, strip.get(), pak.archive, 0, u"Strip.jpg", nullptr),
                      kErrorJpegFile);
}

TEST_F(ImageFixture, EmptyGarbageAndTruncatedEntries) {
    // Noise below the red top rows keeps the scan data large, so the cut falls inside it.
    std::vector<uint8_t> rgba = twoToneRgba(kFaceWidth, kFaceHeight, 8, 0xFF0000FF, 0);
    for (size_t i = kFaceWidth * 8 * 4; i < rgba.size(); ++i)
        rgba[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    std::vector<uint8_t> truncated = encodeJpegColour(rgba.data(), kFaceWidth, kFaceHeight, 100);
    truncated.resize(truncated.size() * 3 / 4);
    pak.open({{u"Empty.jpg", {}},
              {u"Garbage.jpg", std::vector<uint8_t>(5000, 0x5A)},
              {u"Cut.jpg", truncated}});
    EXPECT_FILE_ERROR(loadFace(decoder, button, pak.archive, 0, u"Empty.jpg", nullptr),
                      kErrorJpegFile);
    EXPECT_FILE_ERROR(loadFace(decoder, button, pak.archive, 0, u"Garbage.jpg", nullptr),
                      kErrorJpegFile);
    // A picture cut short decodes what it has, then sees an end-of-image marker.
    loadFace(decoder, button, pak.archive, 0, u"Cut.jpg", nullptr);
    EXPECT_GE(byteAt(button->face[0], kFaceWidth, 3, 0, 0), 250);
}

TEST_F(ImageFixture, SkippingPastTheBufferMovesTheEntryPositionWithoutReading) {
    std::vector<uint8_t> bytes(10000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    pak.open({{u"Raw", bytes}});
    jpegSetSource(&decoder->info, pak.archive, pakFind(pak.archive, u"Raw"));
    jpeg_source_mgr* source = decoder->info.src;
    auto* pakSource = reinterpret_cast<JpegPakSource*>(source);
    source->init_source(&decoder->info);
    ASSERT_TRUE(source->fill_input_buffer(&decoder->info));
    EXPECT_EQ(source->bytes_in_buffer, 4096u);
    source->skip_input_data(&decoder->info, 100); // inside the buffer
    EXPECT_EQ(source->bytes_in_buffer, 3996u);
    EXPECT_EQ(source->next_input_byte[0], bytes[100]);
    source->skip_input_data(&decoder->info, 5000); // 1004 bytes past the buffer
    EXPECT_EQ(source->bytes_in_buffer, 0u);
    EXPECT_EQ(pakSource->position, 4096u + 1004u);
    ASSERT_TRUE(source->fill_input_buffer(&decoder->info));
    EXPECT_EQ(source->bytes_in_buffer, 4096u);
    EXPECT_EQ(source->next_input_byte[0], bytes[5100]);
    source->skip_input_data(&decoder->info, 0x7FFFFFFF); // lands on the end, never wraps
    EXPECT_EQ(pakSource->position, 10000u);
    ASSERT_TRUE(source->fill_input_buffer(&decoder->info)); // the fake end-of-image marker
    EXPECT_EQ(source->bytes_in_buffer, 2u);
    EXPECT_EQ(source->next_input_byte[1], JPEG_EOI);
}

std::vector<uint8_t> pgm(const std::string& header, size_t samples) {
    std::vector<uint8_t> bytes(header.begin(), header.end());
    for (size_t i = 0; i < samples; ++i)
        bytes.push_back(static_cast<uint8_t>(i % 251));
    return bytes;
}

TEST(FontLoading, SkipsTheHeaderAndItsCommentLines) {
    PakFixture pak({{u"D:\\VELDAR\\Data\\FONT8x16.pgm",
                     pgm("P5\n# made by hand\n128 96\n#another\n255\n", kFontBitmapBytes)}});
    std::vector<uint8_t> font(kFontBitmapBytes, 0xEE);
    loadFont(pak.archive, u"D:\\VELDAR\\Data\\FONT8x16.pgm", font.data());
    EXPECT_EQ(font[0], 0);
    EXPECT_EQ(font[300], 300 % 251);
    EXPECT_EQ(font.back(), (kFontBitmapBytes - 1) % 251);
}

// A font is used whole or not at all: the header must describe the bitmap the text drawing
// indexes, and every pixel must be there.
TEST(FontLoading, AnythingButTheWholeBitmapIsCorrupt) {
    PakFixture pak({{u"Small.pgm", pgm("P5\n8 8\n255\n", kFontBitmapBytes)},
                    {u"Deep.pgm", pgm("P5\n128 96\n65535\n", kFontBitmapBytes)},
                    {u"Text.pgm", pgm("P2\n128 96\n255\n", kFontBitmapBytes)},
                    {u"Half.pgm", pgm("P5\n128 96\n255\n", kFontBitmapBytes / 2)},
                    {u"Long.pgm", pgm("P5\n128 96\n255\n", kFontBitmapBytes + 1)},
                    {u"Endless.pgm", pgm("P5 128 96 255", 40)}});
    std::vector<uint8_t> font(kFontBitmapBytes, 0xEE);
    for (const char16_t* name :
         {u"Small.pgm", u"Deep.pgm", u"Text.pgm", u"Half.pgm", u"Long.pgm", u"Endless.pgm"})
        EXPECT_FILE_ERROR(loadFont(pak.archive, name, font.data()), kErrorFileDataCorrupt);
    EXPECT_EQ(font[0], 0xEE); // left as it was
    EXPECT_FILE_ERROR_TEXT(loadFont(pak.archive, u"Half.pgm", font.data()),
                           "File data corrupt: Half.pgm in " + pak.path());
    EXPECT_FILE_ERROR(loadFont(pak.archive, u"Missing.pgm", font.data()), kErrorCannotOpenFile);
}

} // namespace
