// person_options.h: the scripted person's command line.
#pragma once

#include <cstdint>
#include <string>

// When the person taps to aim a return: right after the other player's stroke, once the ball
// has crossed the net, or once it has bounced on the person's side.
enum class ReturnCue { Stroke, Net, Bounce };

struct PersonOptions {
    int matches = 10; // per level
    int firstLevel = 0;
    int lastLevel = 4;
    int setsToWin = 1;
    uint32_t seed = 1;
    double reactionMin = 0.20; // seconds from what the person sees to the tap
    double reactionMax = 0.30;
    double tapNoise = 2.5; // pixels, standard deviation on each axis
    double serveAt = 0.9;  // the meter's folded value the person serves at
    ReturnCue cue = ReturnCue::Net;
    bool json = false;
    std::string pakPath; // empty: data.pak beside the program
};

// Fills options from argv; false with a message in error for anything it cannot use.
bool parsePersonOptions(int argc, char** argv, PersonOptions& options, std::string& error);
const char* cueName(ReturnCue cue);

extern const char* const kPersonUsage;
