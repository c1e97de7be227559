// sim_options.h: the simulator's command line.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
    int matches = 1;
    int setsToWin = 1;
    int level = 0;
    int player1Slot = 0;
    int player2Slot = 4;
    int surface = 0;
    uint32_t seed = 1;
    bool json = false;
    bool matrix = false;    // every pair of the built-in profiles instead of one pairing
    bool allLevels = false; // the matrix at each of the five levels
};

// Fills options from argv; false with a message in error for anything it cannot use.
bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);
