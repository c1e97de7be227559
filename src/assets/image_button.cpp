// image_button.cpp: making, labelling and freeing screen image buttons.
#include "assets/image_button.h"

ImageButton* makeImageButton(int32_t left, int32_t top, int32_t width, int32_t height) {
    auto* button = new ImageButton{};
    button->left = left;
    button->top = top;
    button->width = width;
    button->height = height;
    button->currentFace = ButtonFace::Static;
    return button;
}

void setImageButtonLabel(ImageButton* button, const char16_t* text) {
    delete button->label;
    button->label = text ? new WideString(text) : nullptr;
}

void freeImageButton(ImageButton* button) {
    if (!button)
        return;
    delete button->label;
    for (uint32_t* face : button->face)
        delete[] face;
    delete button;
}
