// profile_editor.h: the profile editor: names typed on the on-screen keyboard, colour swatches
// and skill points.
#pragma once

#include <cstdint>

struct GameApp;

// The editor's state for a slot just prepared by createProfile: five points a skill, the first
// colours, and the preview figure dressed as the new profile.
void startProfileEditor(GameApp* app, int32_t slot);
// The release of a button of the editor's screen.
void releaseProfileEditor(GameApp* app);
