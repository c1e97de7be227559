// screen_entry.cpp: a screen's buttons made from its table and found again by their rows.
#include "frontend/screen_entry.h"

#include "assets/asset_names.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/model.h"
#include "frontend/player_profile.h"
#include "frontend/screen_tables.h"

namespace {

constexpr int kRacketMaterial = 6;
constexpr uint32_t kLightGrey = 0xFFD0D0D0u;

int32_t chosenIndex(const FaceChoice& choice, const ScreenEntryContext& context) {
    switch (choice.selector) {
    case FaceSelector::Stadium:
        return context.stadium;
    case FaceSelector::SetsToWin:
        return context.setsToWin - 1;
    case FaceSelector::Level:
        return context.level;
    case FaceSelector::SoundOff:
        return context.soundOff;
    case FaceSelector::RankingsPage:
        return context.rankingsPage;
    case FaceSelector::PracticeDrill:
        return context.practiceDrill;
    case FaceSelector::TournamentRoundAbove:
        return context.tournamentRound > choice.threshold ? 0 : -1; // a laurel not won
    }
    return -1;
}

// A value outside the pictures loads nothing, and the face stays empty.
const FaceImage* chosenImage(const FaceChoice& choice, const ScreenEntryContext& context) {
    const int32_t pick = chosenIndex(choice, context);
    if (pick < 0 || pick >= static_cast<int32_t>(choice.images.size()))
        return nullptr;
    return &choice.images[static_cast<size_t>(pick)];
}

void loadFaceImage(JpegDecoder* jpeg, PakArchive* archive, ImageButton* button, int face,
                   const FaceImage& image) {
    loadFace(jpeg, button, archive, face, buttonEntryName(image.image),
             image.mask ? buttonEntryName(image.mask).c_str() : nullptr);
}

WideString labelText(const ButtonLayout& layout, const PlayerProfile* shown) {
    switch (layout.label) {
    case LabelSource::Text:
        return layout.text ? layout.text : u"";
    case LabelSource::FirstName:
        return shown ? shown->firstName : u"";
    case LabelSource::LastName:
        return shown ? shown->lastName : u"";
    case LabelSource::LevelName:
        if (!shown)
            return u"";
        return kLevelNames[shown->level >= 0 && shown->level < kLevelCount ? shown->level : 0];
    default:
        return u"";
    }
}

uint32_t fillOf(FillSource fill, const PlayerProfile* profile) {
    if (!profile)
        return 0;
    switch (fill) {
    case FillSource::SkinColour:
        return profile->skinColour;
    case FillSource::HairColour:
        return profile->hairColour;
    case FillSource::Colour3:
        return profile->colour3;
    case FillSource::Colour4:
        return profile->colour4;
    default:
        return 0;
    }
}

void makeButton(JpegDecoder* jpeg, PakArchive* archive, const ButtonLayout& layout,
                const ScreenEntryContext& context, std::vector<ImageButton*>& buttons) {
    const ScreenRect& r = layout.rect;
    ImageButton* button = makeImageButton(r.left, r.top, r.width, r.height);
    buttons.push_back(button); // owned by the list from here, so a failed load frees it
    for (int face = 0; face < kImageButtonFaces; ++face) {
        const FaceImage* image = &layout.faces[face];
        if (layout.choice && layout.choice->face == face)
            image = chosenImage(*layout.choice, context);
        if (image && image->image)
            loadFaceImage(jpeg, archive, button, face, *image);
    }
    const WideString text = labelText(layout, context.shownProfile);
    if (layout.label != LabelSource::None && layout.label != LabelSource::Hud && !text.empty())
        setImageButtonLabel(button, text.c_str());
    button->fillColour[0] = fillOf(layout.fill, context.shownProfile);
    const bool builtIn = context.shownProfile && context.shownProfile->builtIn;
    button->currentFace = layout.startRule == StartRule::HiddenWhenBuiltIn && builtIn
                              ? ButtonFace::Static
                              : layout.startFace;
}

ImageButton* buttonInSlot(const std::vector<ImageButton*>& buttons, int32_t slot) {
    return slot >= 0 && static_cast<size_t>(slot) < buttons.size()
               ? buttons[static_cast<size_t>(slot)]
               : nullptr;
}

} // namespace

void freeScreenButtons(std::vector<ImageButton*>& buttons) {
    for (ImageButton* b : buttons)
        freeImageButton(b);
    buttons.clear();
}

void enterScreenFromTable(JpegDecoder* jpeg, uint32_t* backdrop, PakArchive* archive,
                          ScreenId screen, const ScreenEntryContext& context,
                          std::vector<ImageButton*>& buttons) {
    freeScreenButtons(buttons);
    const ScreenLayout* layout = findScreenLayout(screen);
    if (!layout)
        return;
    // A stadium outside the pictures keeps the old backdrop.
    const size_t stadium = static_cast<size_t>(context.stadium);
    const char16_t* picture = layout->backdrop ? layout->backdrop
                              : stadium < layout->backdropByStadium.size()
                                  ? layout->backdropByStadium[stadium]
                                  : nullptr;
    if (picture)
        loadBackground(jpeg, archive, dataEntryName(picture), backdrop);
    for (const ButtonLayout& button : layout->buttons)
        makeButton(jpeg, archive, button, context, buttons);
}

void reloadChosenFaces(JpegDecoder* jpeg, PakArchive* archive, ScreenId screen,
                       const std::vector<ImageButton*>& buttons,
                       const ScreenEntryContext& context) {
    forEachScreenButton(screen, buttons, [&](const ButtonLayout& row, ImageButton* button) {
        if (!row.choice)
            return;
        if (const FaceImage* image = chosenImage(*row.choice, context))
            loadFaceImage(jpeg, archive, button, row.choice->face, *image);
    });
}

void showShownPlayer(ScreenId screen, const ScreenEntryContext& context,
                     const std::vector<ImageButton*>& buttons) {
    forEachScreenButton(screen, buttons, [&](const ButtonLayout& row, ImageButton* button) {
        if (row.label == LabelSource::FirstName || row.label == LabelSource::LastName ||
            row.label == LabelSource::LevelName)
            setImageButtonLabel(button, labelText(row, context.shownProfile).c_str());
        if (row.startRule == StartRule::HiddenWhenBuiltIn && context.shownProfile)
            button->currentFace =
                context.shownProfile->builtIn ? ButtonFace::Static : row.startFace;
    });
}

ImageButton* buttonDoing(ScreenId screen, const std::vector<ImageButton*>& buttons,
                         ButtonAction action, int32_t index) {
    return buttonInSlot(buttons, slotDoing(screen, action, index));
}

ImageButton* buttonShowing(ScreenId screen, const std::vector<ImageButton*>& buttons,
                           LabelSource label, int32_t index) {
    return buttonInSlot(buttons, slotShowing(screen, label, index));
}

ReleasedButton releasePressedButton(ScreenId screen, const std::vector<ImageButton*>& buttons) {
    ReleasedButton released;
    forEachScreenButton(screen, buttons, [&](const ButtonLayout& row, ImageButton* button) {
        if (released.row || row.action == ButtonAction::None ||
            button->currentFace != ButtonFace::Pressed)
            return;
        button->currentFace = ButtonFace::Normal;
        released = {&row, button};
    });
    return released;
}

void setMaterialColour(Model& model, int material, uint32_t colour) {
    auto& materials = model.objects[0].materials;
    if (material < 0 || static_cast<size_t>(material) >= materials.size())
        return;
    for (int k = 0; k < 4; ++k)
        materials[static_cast<size_t>(material)].colour[k] =
            static_cast<uint8_t>(colour >> (8 * k));
}

void setProfileColours(Model& model, const PlayerProfile& profile) {
    setMaterialColour(model, kSkinMaterial, profile.skinColour);
    setMaterialColour(model, kColour4Material, profile.colour4);
    setMaterialColour(model, kColour3Material, profile.colour3);
    setMaterialColour(model, kHairMaterial, profile.hairColour);
}

void dressPlayerModel(Model& model, const PlayerProfile& profile) {
    setMaterialColour(model, kRacketMaterial, kLightGrey);
    ObjectLod& lod = primaryLod(model);
    if (lod.meshes.size() > 1)
        lod.meshes[1].visible = 0;
    setProfileColours(model, profile);
}
