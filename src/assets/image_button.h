// image_button.h: ImageButton, a screen image with up to three decoded faces or a text label.
#pragma once

#include <cstdint>

#include "core/wide_string.h"

constexpr int kImageButtonFaces = 3;

// The face on show: the resting look, the pressed look, and the look of a button that takes no
// press (often no picture at all, so nothing is drawn).
enum class ButtonFace : int32_t { Normal = 0, Pressed = 1, Static = 2 };

struct ImageButton {
    int32_t left;
    int32_t top; // 0 = top screen row
    int32_t width;
    int32_t height;
    // Per face: a plain rectangle's colour when the face has no image, as a pixel word (R in the
    // low byte, A in the top byte); drawn only when A is non-zero.
    uint32_t fillColour[kImageButtonFaces];
    WideString* label;                 // owned; drawn instead of any face when set
    uint32_t* face[kImageButtonFaces]; // owned RGBA pixels, width x height, top row first; or null
    ButtonFace currentFace;
};

// No fill colours, label or faces; the Static face is current.
ImageButton* makeImageButton(int32_t left, int32_t top, int32_t width, int32_t height);
// Replaces the label with a copy of the text; null removes it.
void setImageButtonLabel(ImageButton* button, const char16_t* text);
// Frees the label and the faces, then the button.
void freeImageButton(ImageButton* button);
