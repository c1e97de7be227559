// main.cpp: drovana-person, a scripted person who plays exhibitions through the game's own
// screens, tapping only what a person could and as late as a person would, and prints how it
// fared against each level.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "assets/file_error.h"
#include "core/wide_string.h"
#include "person_options.h"
#include "person_play.h"
#include "person_report.h"
#include "person_screens.h"
#include "platform/program_folder.h"
#include "session/script_session.h"

namespace {

namespace fs = std::filesystem;

// A fresh home per match: every match is a newcomer's, with a new profile that has learnt
// nothing yet.
struct TempHome {
    fs::path path;
    TempHome() {
        std::string pattern = (fs::temp_directory_path() / "drovana-person-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~TempHome() {
        std::error_code ignored;
        if (!path.empty())
            fs::remove_all(path, ignored);
    }
};

// Each match has its own seed for the game and for the person, so any one can be played again.
uint32_t matchSeed(const PersonOptions& o, int level, int index) {
    return o.seed + static_cast<uint32_t>(level) * 100003u + static_cast<uint32_t>(index) * 7919u;
}

// One match from the logo to its result; false with the reason on stderr.
bool playOne(const PersonOptions& o, int level, int index, PersonLevelFigures& figures) {
    TempHome home;
    if (home.path.empty()) {
        std::fprintf(stderr, "drovana-person: cannot make a temporary folder\n");
        return false;
    }
    SessionSetup setup;
    setup.pakPath = o.pakPath.empty() ? toUtf8(programFolder()) + "data.pak" : o.pakPath;
    setup.playersPath = (home.path / "players.dat").string();
    setup.hasSeed = true;
    setup.seed = matchSeed(o, level, index);
    ScriptSession session;
    bool ok = true;
    try {
        openSession(session, setup);
        std::string error;
        if (startExhibition(session, level, o.setsToWin, error)) {
            std::mt19937 random(setup.seed);
            const PersonTraits traits{o.reactionMin, o.reactionMax, o.tapNoise, o.serveAt, o.cue};
            addPersonMatch(figures, playPersonMatch(session, traits, random));
        } else {
            std::fprintf(stderr, "drovana-person: %s\n", error.c_str());
            ok = false;
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "drovana-person: %s\n", toUtf8(e.message).c_str());
        ok = false;
    }
    closeSession(session);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    PersonOptions options;
    std::string error;
    if (!parsePersonOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "drovana-person: %s\n%s", error.c_str(), kPersonUsage);
        return 2;
    }
    std::vector<PersonLevelFigures> levels;
    for (int level = options.firstLevel; level <= options.lastLevel; ++level) {
        PersonLevelFigures figures;
        figures.level = level;
        for (int i = 0; i < options.matches; ++i)
            if (!playOne(options, level, i, figures))
                return 1;
        levels.push_back(figures);
    }
    if (options.json)
        std::printf("%s\n", personFiguresJson(levels).dump(2).c_str());
    else
        printPersonTable(levels);
    return 0;
}
