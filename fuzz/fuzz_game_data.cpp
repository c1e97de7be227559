// fuzz_game_data.cpp: any bytes as the whole data.pak, through everything the game loads from
// it: the engine (model, animations, fonts), the sounds, every screen's pictures, and one frame
// of a match. Slow per input; meant for whole damaged archives more than for long runs.
// With DROVANA_REPORT_ERRORS set, the error that stopped the loading is printed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/file_error.h"
#include "frontend/player_profile.h"
#include "frontend/screen_entry.h"
#include "fuzz_input.h"
#include "scenes/scene_states.h"
#include "view/engine3d.h"

namespace {

void enterEveryScreen(SceneRig& rig) {
    ScreenEntryContext context;
    context.shownProfile = &kDefaultRoster[0];
    for (int32_t id = kFirstScreen; id <= kLastScreen; ++id)
        enterScreenFromTable(rig.resources.engine->jpeg, rig.resources.engine->frame.backdrop,
                             rig.resources.pak, static_cast<ScreenId>(id), context, rig.buttons);
}

void loadEverything(const std::string& path) {
    SceneRig* rig = makeSceneRig(path);
    try {
        enterEveryScreen(*rig);
        SceneRequest request;
        request.kind = SceneKind::FreePlay;
        request.seconds = 2.0;
        setUpScene(*rig, request);
        drawSceneFrame(*rig);
    } catch (...) {
        destroySceneRig(rig);
        throw;
    }
    destroySceneRig(rig);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool report = std::getenv("DROVANA_REPORT_ERRORS") != nullptr;
    try {
        loadEverything(memoryFilePath(data, size));
        if (report)
            std::fprintf(stderr, "loaded\n");
    } catch (const FileError& error) {
        if (report)
            std::fprintf(stderr, "error: %s\n", toUtf8(fileErrorText(error)).c_str());
    }
    return 0;
}
