// profile_editor.h: the profile editor: names typed on the on-screen keyboard, colour swatches
// and skill points.
#pragma once

#include <cstdint>

struct ButtonLayout;
struct GameApp;
struct ImageButton;

// The name the on-screen keyboard types into.
enum class NameField : int32_t { First, Last };

// The editor's state for a slot just prepared by createProfile: five points a skill, the first
// colours, and the preview figure dressed as the new profile.
void startProfileEditor(GameApp* app, int32_t slot);
// What the released editor button does: the name fields open the keyboard, Cancel and Ok leave,
// the swatches and the skill halves change the new profile.
void performEditorAction(GameApp* app, const ButtonLayout& row, ImageButton* button);
