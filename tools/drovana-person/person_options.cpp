// person_options.cpp: reads the scripted person's command line.
#include "person_options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kPersonUsage =
    "usage: drovana-person [--matches N] [--level 0..4 | --all-levels] [--sets 1..3] [--seed N]\n"
    "                      [--reaction MIN MAX] [--tap-noise PX] [--serve-at M]\n"
    "                      [--cue stroke|net|bounce] [--data FILE] [--json]\n";

namespace {

bool parseNumber(const char* text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == 0 && std::isfinite(value) && value >= low && value <= high;
}

bool parseWhole(const char* text, double low, double high, int& value) {
    double number = 0;
    if (!parseNumber(text, low, high, number) || number != std::floor(number))
        return false;
    value = static_cast<int>(number);
    return true;
}

bool parseCue(const char* text, ReturnCue& cue) {
    for (ReturnCue c : {ReturnCue::Stroke, ReturnCue::Net, ReturnCue::Bounce})
        if (std::strcmp(text, cueName(c)) == 0) {
            cue = c;
            return true;
        }
    return false;
}

} // namespace

const char* cueName(ReturnCue cue) {
    switch (cue) {
    case ReturnCue::Stroke:
        return "stroke";
    case ReturnCue::Net:
        return "net";
    case ReturnCue::Bounce:
        return "bounce";
    }
    return "?";
}

bool parsePersonOptions(int argc, char** argv, PersonOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int level = 0, seed = 0;
        bool ok = true;
        if (arg == "--matches" && hasValue) {
            ok = parseWhole(argv[++i], 1, 10000, o.matches);
        } else if (arg == "--level" && hasValue) {
            ok = parseWhole(argv[++i], 0, 4, level);
            o.firstLevel = o.lastLevel = level;
        } else if (arg == "--all-levels") {
            o.firstLevel = 0;
            o.lastLevel = 4;
        } else if (arg == "--sets" && hasValue) {
            ok = parseWhole(argv[++i], 1, 3, o.setsToWin);
        } else if (arg == "--seed" && hasValue) {
            ok = parseWhole(argv[++i], 0, 2147483647, seed);
            o.seed = static_cast<uint32_t>(seed);
        } else if (arg == "--reaction" && i + 2 < argc) {
            ok = parseNumber(argv[i + 1], 0, 5, o.reactionMin) &&
                 parseNumber(argv[i + 2], o.reactionMin, 5, o.reactionMax);
            i += 2;
        } else if (arg == "--tap-noise" && hasValue) {
            ok = parseNumber(argv[++i], 0, 50, o.tapNoise);
        } else if (arg == "--serve-at" && hasValue) {
            ok = parseNumber(argv[++i], 0, 1, o.serveAt);
        } else if (arg == "--cue" && hasValue) {
            ok = parseCue(argv[++i], o.cue);
        } else if (arg == "--data" && hasValue) {
            o.pakPath = argv[++i];
        } else if (arg == "--json") {
            o.json = true;
        } else {
            error = "unknown option or missing value: " + arg;
            return false;
        }
        if (!ok) {
            error = "bad value for " + arg;
            return false;
        }
    }
    return true;
}
