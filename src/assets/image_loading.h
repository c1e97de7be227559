// image_loading.h: loading screen backdrops, button faces with their masks, and the PGM fonts.
#pragma once

#include <cstdint>

#include "core/wide_string.h"
#include "render/frame_buffer.h"

struct ImageButton;
struct JpegDecoder;
struct PakArchive;

// Decodes a 240 x 320 picture into the backdrop, bottom row first like the frame buffer.
void loadBackground(JpegDecoder* decoder, PakArchive* archive, const WideString& name,
                    uint32_t* backdrop);

// Decodes a picture of the button's size into face slot `face` (0 .. 2), top row first, reusing
// the slot's buffer when it already has one; then, when maskName is not null, decodes that grey
// picture into the face's alpha. Without a mask every pixel keeps A = 255.
void loadFace(JpegDecoder* decoder, ImageButton* button, PakArchive* archive, int face,
              const WideString& name, const char16_t* maskName);

// Reads the PGM header (three lines, "#" comment lines not counted), which must say "P5", 128 x 96
// and 255, then exactly kFontBitmapBytes grey samples. Anything else raises "File data corrupt"
// and leaves the destination as it was.
void loadFont(PakArchive* archive, const WideString& name, uint8_t* destination);
