// profile_editor.h: the profile editor: names typed on the on-screen keyboard, colour swatches
// and skill points.
#pragma once

#include <cstdint>

#include "frontend/profile_store.h"
#include "frontend/screen_id.h"

struct ButtonLayout;
struct GameApp;
struct ImageButton;

// The name the on-screen keyboard types into.
enum class NameField : int32_t { First, Last };

// Every point is handed out at the start: a bar gains a point only after another lost one.
constexpr int32_t kSkillPointsBudget = kSkillCount * kStartingSkillPoints;

// The editor's own state while it shows; the profile itself is edited in its slot of the store.
struct ProfileEditor {
    int32_t slot = 0;                 // the profile being made
    ScreenId returnScreen = NoScreen; // where Cancel and Ok lead
    NameField field = NameField::First;
    // Palette indices of the four swatches: skin, hair and the two clothing colours.
    int32_t skinIndex = 0;
    int32_t hairIndex = 0;
    int32_t colour3Index = 0;
    int32_t colour4Index = 1;
    SkillPoints skillPoints = {};
    int32_t pointsSpent = 0; // at most kSkillPointsBudget
};

// The editor's state for a slot just prepared by createProfile: five points a skill, the first
// colours, and the preview figure dressed as the new profile. Cancel and Ok return to returnTo
// (the main menu for Cancel from the tournament).
void startProfileEditor(GameApp* app, int32_t slot, ScreenId returnTo);
// What the released editor button does: the name fields open the keyboard, Cancel and Ok leave,
// the swatches and the skill halves change the new profile.
void performEditorAction(GameApp* app, const ButtonLayout& row, ImageButton* button);
