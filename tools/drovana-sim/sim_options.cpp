// sim_options.cpp: parsing and checking the simulator's command line.
#include "sim_options.h"

#include <cstdlib>
#include <cstring>

namespace {

bool parseNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

} // namespace

bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& error) {
    struct Flag {
        const char* name;
        long low, high;
        long* value;
    };
    long matches = options.matches, sets = options.setsToWin, level = options.level,
         p1 = options.player1Slot, p2 = options.player2Slot, surface = options.surface,
         seed = options.seed;
    const Flag flags[] = {
        {"--matches", 1, 1000000, &matches},
        {"--sets", 1, 3, &sets},
        {"--level", 0, 4, &level},
        {"--p1", 0, 4, &p1},
        {"--p2", 0, 4, &p2},
        {"--surface", 0, 4, &surface},
        {"--seed", 0, 4294967295L, &seed},
    };
    const struct Switch {
        const char* name;
        bool* value;
    } switches[] = {
        {"--json", &options.json},
        {"--matrix", &options.matrix},
        {"--all-levels", &options.allLevels},
    };
    for (int i = 1; i < argc; ++i) {
        bool isSwitch = false;
        for (const Switch& s : switches)
            if (std::strcmp(argv[i], s.name) == 0)
                isSwitch = *s.value = true;
        if (isSwitch)
            continue;
        const Flag* flag = nullptr;
        for (const Flag& f : flags)
            if (std::strcmp(argv[i], f.name) == 0)
                flag = &f;
        if (!flag) {
            error = std::string("unknown option ") + argv[i];
            return false;
        }
        if (i + 1 >= argc || !parseNumber(argv[i + 1], flag->low, flag->high, *flag->value)) {
            error = std::string(flag->name) + " needs a number from " + std::to_string(flag->low) +
                    " to " + std::to_string(flag->high);
            return false;
        }
        ++i;
    }
    if (options.allLevels && !options.matrix) {
        error = "--all-levels needs --matrix";
        return false;
    }
    options.matches = static_cast<int>(matches);
    options.setsToWin = static_cast<int>(sets);
    options.level = static_cast<int>(level);
    options.player1Slot = static_cast<int>(p1);
    options.player2Slot = static_cast<int>(p2);
    options.surface = static_cast<int>(surface);
    options.seed = static_cast<uint32_t>(seed);
    return true;
}
