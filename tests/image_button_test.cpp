// Screen image buttons: their initial state and the owned label.
#include "assets/image_button.h"
#include "owned.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageButton, StartsEmptyOnFaceTwoAndOwnsItsLabel) {
    const Owned<ImageButton, freeImageButton> owned{makeImageButton(26, 273, 105, 33)};
    ImageButton* button = owned.get();
    EXPECT_EQ(button->currentFace, ButtonFace::Static);
    for (int i = 0; i < kImageButtonFaces; ++i) {
        EXPECT_EQ(button->face[i], nullptr);
        EXPECT_EQ(button->fillColour[i], 0u);
    }
    EXPECT_EQ(button->label, nullptr);
    char16_t text[] = u"Quit";
    setImageButtonLabel(button, text);
    text[0] = u'X';
    ASSERT_NE(button->label, nullptr);
    EXPECT_EQ(*button->label, u"Quit"); // a copy, not the caller's text
    setImageButtonLabel(button, u"Play");
    EXPECT_EQ(*button->label, u"Play");
    setImageButtonLabel(button, nullptr);
    EXPECT_EQ(button->label, nullptr);
    button->face[1] = new uint32_t[105 * 33];
    setImageButtonLabel(button, u"kept until freed"); // the sanitizer build checks both are freed
}

} // namespace
