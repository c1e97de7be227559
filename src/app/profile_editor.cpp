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

namespace {

constexpr int32_t kNameCharacters = kProfileNameLength - 1;
constexpr int32_t kPointsBudget = 50;
constexpr int32_t kKeyboardTopFirstName = 98;
constexpr int32_t kKeyboardTopLastName = 112;

PlayerProfile& editedProfile(GameApp* app) {
    return app->store.profiles[app->editProfile];
}

char16_t* editedName(GameApp* app) {
    PlayerProfile& p = editedProfile(app);
    return app->editField == NameField::Last ? p.lastName : p.firstName;
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
    const ButtonAction field = app->editField == NameField::Last ? ButtonAction::EditLastName
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
    app->editField = field;
}

void typeKey(GameApp* app, ImageButton* keyboard) {
    const KeyboardKey key = keyboardKeyAt(app->pressX, app->pressY, keyboard->left, keyboard->top);
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
    int32_t GameApp::*index;
    int32_t count;
    int32_t palette;
    uint32_t PlayerProfile::*colour;
    int material;
};

constexpr Swatch kSwatches[4] = {
    {ButtonAction::NextSkinColour, &GameApp::skinIndex, 3, kSkinPalette, &PlayerProfile::skinColour,
     kSkinMaterial},
    {ButtonAction::NextHairColour, &GameApp::hairIndex, 3, kHairPalette, &PlayerProfile::hairColour,
     kHairMaterial},
    {ButtonAction::NextColour3, &GameApp::colour3Index, 4, kClothingPalette,
     &PlayerProfile::colour3, kColour3Material},
    {ButtonAction::NextColour4, &GameApp::colour4Index, 4, kClothingPalette,
     &PlayerProfile::colour4, kColour4Material},
};

void stepSwatch(GameApp* app, const Swatch& s, ImageButton* swatch) {
    int32_t& index = app->*s.index;
    index = index + 1 >= s.count ? 0 : index + 1;
    const uint32_t colour = kProfilePalette[s.palette + index];
    editedProfile(app).*s.colour = colour;
    setMaterialColour(*app->resources.engine->playerModels[0], s.material, colour);
    swatch->fillColour[0] = colour;
}

void changeSkillPoint(GameApp* app, int32_t skill, bool give) {
    int32_t& points = app->skillPoints[skill];
    if (!give && points > 0) {
        points -= 1;
        app->pointsCounter -= 1;
    } else if (give && app->pointsCounter < kPointsBudget && points < kSkillMaxPoints) {
        points += 1;
        app->pointsCounter += 1;
    }
}

void cancelEditor(GameApp* app) {
    if (app->returnScreen == TournamentPlayer)
        app->returnScreen = MainMenu;
    // The editor dressed figure 1 as the new profile: whoever is shown next gets their own
    // colours back.
    applyProfile(app, 1);
    applyProfile(app, 2);
    changeScreen(app, app->returnScreen);
}

void confirmEditor(GameApp* app) {
    PlayerProfile& p = editedProfile(app);
    p.skills = skillsFromPoints(app->skillPoints);
    p.level = 0;
    saveProfiles(app->store);
    if (app->returnScreen == ExhibitionPlayer2)
        app->store.options.player2Profile = app->editProfile;
    else
        app->store.options.player1Profile = app->editProfile;
    applyProfile(app, 1);
    applyProfile(app, 2);
    changeScreen(app, app->returnScreen);
}

} // namespace

void startProfileEditor(GameApp* app, int32_t slot) {
    app->editProfile = slot;
    app->editField = NameField::First;
    for (int32_t& points : app->skillPoints)
        points = kStartingSkillPoints;
    app->pointsCounter = kPointsBudget;
    app->skinIndex = 0;
    app->hairIndex = 0;
    app->colour3Index = 0;
    app->colour4Index = 1;
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
            changeSkillPoint(app, row.index, row.action == ButtonAction::GivePoint);
        break;
    default:
        for (const Swatch& swatch : kSwatches)
            if (swatch.action == row.action)
                stepSwatch(app, swatch, button);
        break;
    }
}
