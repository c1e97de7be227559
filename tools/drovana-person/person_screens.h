// person_screens.h: the way a person goes from the logo to an exhibition match, by taps on the
// game's own buttons.
#pragma once

#include <string>

struct ScriptSession;

// From the logo: Options (the level and the sets to win), then an exhibition with a new profile
// of the person's own against the level's built-in player, on the first stadium. False with the
// screen that was not reached in error.
bool startExhibition(ScriptSession& session, int level, int setsToWin, std::string& error);
