// profile_editor.cpp: the profile editor's buttons, keyboard, swatches and skill points.
#include "app/profile_editor.h"

#include "app/game_app.h"
#include "assets/image_button.h"
#include "assets/model.h"
#include "frontend/keyboard_layout.h"
#include "frontend/player_profile.h"
#include "frontend/profile_store.h"
#include "frontend/screen_entry.h"
#include "view/engine3d.h"

#include <algorithm>

namespace {

constexpr int32_t kNameCharacters = kProfileNameLength - 1;
constexpr int32_t kKeyboardTopFirstName = 98;
constexpr int32_t kKeyboardTopLastName = 112;

PlayerProfile& editedProfile(GameApp* app) {
    return app->store.profiles[app->editor.slot];
}

char16_t* editedName(GameApp* app) {
    PlayerProfile& p = editedProfile(app);
    return app->editor.field == NameField::Last ? p.lastName : p.firstName;
}

ImageButton* editorButton(GameApp* app, ButtonAction action) {
    return buttonDoing(NewPlayer, app->buttons, action);
}

int32_t nameLength(const char16_t* name) {
    int32_t n = 0;
    while (n < kNameCharacters && name[n] != 0)
        ++n;
    return n;
}

void showEditedName(GameApp* app) {
    const ButtonAction field = app->editor.field == NameField::Last ? ButtonAction::EditLastName
                                                                    : ButtonAction::EditFirstName;
    if (ImageButton* b = editorButton(app, field))
        setImageButtonLabel(b, editedName(app));
}

void setAllFaces(GameApp* app, ButtonFace face) {
    for (ImageButton* b : app->buttons)
        if (b)
            b->currentFace = face;
}

void openKeyboard(GameApp* app, NameField field) {
    setAllFaces(app, ButtonFace::Static);
    if (ImageButton* keyboard = editorButton(app, ButtonAction::TypeKey)) {
        keyboard->currentFace = ButtonFace::Normal;
        keyboard->top = field == NameField::Last ? kKeyboardTopLastName : kKeyboardTopFirstName;
    }
    app->editor.field = field;
}

void typeKey(GameApp* app, ImageButton* keyboard) {
    const KeyboardKey key =
        keyboardKeyAt(app->press.x, app->press.y, keyboard->left, keyboard->top);
    char16_t* name = editedName(app);
    const int32_t length = nameLength(name);
    switch (key.kind) {
    case KeyKind::Character:
        if (length < kNameCharacters) {
            name[length] = key.character;
            name[length + 1] = 0;
            showEditedName(app);
        }
        break;
    case KeyKind::Done:
        // No saved name is ever empty.
        if (length == 0) {
            name[0] = u' ';
            name[1] = 0;
            showEditedName(app);
        }
        setAllFaces(app, ButtonFace::Normal);
        keyboard->currentFace = ButtonFace::Static;
        break;
    case KeyKind::Delete:
        if (length > 0) {
            name[length - 1] = 0;
            showEditedName(app);
        }
        break;
    case KeyKind::None:
        break;
    }
}

// One swatch: its palette index steps round; the profile, the figure and the swatch follow.
struct Swatch {
    ButtonAction action;
    int32_t ProfileEditor::*index;
    int32_t count;
    int32_t palette;
    uint32_t PlayerProfile::*colour;
    int material;
};

constexpr Swatch kSwatches[4] = {
    {ButtonAction::NextSkinColour, &ProfileEditor::skinIndex, 3, kSkinPalette,
     &PlayerProfile::skinColour, kSkinMaterial},
    {ButtonAction::NextHairColour, &ProfileEditor::hairIndex, 3, kHairPalette,
     &PlayerProfile::hairColour, kHairMaterial},
    {ButtonAction::NextColour3, &ProfileEditor::colour3Index, 4, kClothingPalette,
     &PlayerProfile::colour3, kColour3Material},
    {ButtonAction::NextColour4, &ProfileEditor::colour4Index, 4, kClothingPalette,
     &PlayerProfile::colour4, kColour4Material},
};

void stepSwatch(GameApp* app, const Swatch& s, ImageButton* swatch) {
    int32_t& index = app->editor.*s.index;
    index = index + 1 >= s.count ? 0 : index + 1;
    const uint32_t colour = kProfilePalette[s.palette + index];
    editedProfile(app).*s.colour = colour;
    setMaterialColour(*app->resources.engine->playerModels[0], s.material, colour);
    swatch->fillColour[0] = colour;
}

void changeSkillPoint(ProfileEditor& editor, int32_t skill, bool give) {
    int32_t& points = editor.skillPoints[skill];
    if (!give && points > 0) {
        points -= 1;
        editor.pointsSpent -= 1;
    } else if (give && editor.pointsSpent < kSkillPointsBudget && points < kSkillMaxPoints) {
        points += 1;
        editor.pointsSpent += 1;
    }
}

void cancelEditor(GameApp* app) {
    const ScreenId back =
        app->editor.returnScreen == TournamentPlayer ? MainMenu : app->editor.returnScreen;
    // The editor dressed figure 1 as the new profile: whoever is shown next gets their own
    // colours back.
    applyProfile(app, 1);
    applyProfile(app, 2);
    changeScreen(app, back);
}

void confirmEditor(GameApp* app) {
    PlayerProfile& p = editedProfile(app);
    p.skills = skillsFromPoints(app->editor.skillPoints);
    p.level = 0;
    saveProfiles(app->store);
    if (app->editor.returnScreen == ExhibitionPlayer2)
        app->store.options.player2Profile = app->editor.slot;
    else
        app->store.options.player1Profile = app->editor.slot;
    applyProfile(app, 1);
    applyProfile(app, 2);
    changeScreen(app, app->editor.returnScreen);
}

} // namespace

void startProfileEditor(GameApp* app, int32_t slot, ScreenId returnTo) {
    ProfileEditor& editor = app->editor;
    editor = ProfileEditor{};
    editor.slot = slot;
    editor.returnScreen = returnTo;
    std::fill(std::begin(editor.skillPoints), std::end(editor.skillPoints), kStartingSkillPoints);
    editor.pointsSpent = kSkillPointsBudget;
    setProfileColours(*app->resources.engine->playerModels[0], app->store.profiles[slot]);
}

void performEditorAction(GameApp* app, const ButtonLayout& row, ImageButton* button) {
    switch (row.action) {
    case ButtonAction::EditFirstName:
    case ButtonAction::EditLastName:
        openKeyboard(app, row.action == ButtonAction::EditFirstName ? NameField::First
                                                                    : NameField::Last);
        break;
    case ButtonAction::Cancel:
        cancelEditor(app);
        break;
    case ButtonAction::Ok:
        confirmEditor(app);
        break;
    case ButtonAction::TypeKey:
        typeKey(app, button);
        break;
    case ButtonAction::TakePoint:
    case ButtonAction::GivePoint:
        if (row.index >= 0 && row.index < kSkillCount)
            changeSkillPoint(app->editor, row.index, row.action == ButtonAction::GivePoint);
        break;
    default:
        for (const Swatch& swatch : kSwatches)
            if (swatch.action == row.action)
                stepSwatch(app, swatch, button);
        break;
    }
}
