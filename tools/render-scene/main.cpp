// main.cpp: renders a game state (a match moment, a free-running match or the player-choice
// screen) from data.pak to PNG, through the game's own engine and drawing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets/file_error.h"
#include "core/wide_string.h"
#include "scenes/scene_states.h"
#include "view/engine3d.h"
#include "writers/png_writer.h"

namespace {

struct RenderOptions {
    std::string data;
    std::string out = "scene.png";
    std::string goldens; // folder: write every golden state there instead
    SceneRequest request;
};

void usage() {
    std::fprintf(stderr,
                 "usage: render-scene [--data data.pak] [--scene serve|rally|point_over|close|"
                 "selection|free]\n"
                 "                    [--court 1-5] [--seed N] [--seconds S] [--out scene.png]\n"
                 "       render-scene [--data data.pak] --goldens FOLDER\n"
                 "  free plays computer against computer for S seconds from the seed.\n"
                 "  --goldens rewrites every golden image; do it only on purpose, then look.\n");
}

bool parseKind(const std::string& name, SceneKind& kind) {
    const struct {
        const char* name;
        SceneKind kind;
    } kinds[] = {{"serve", SceneKind::Serve},          {"rally", SceneKind::Rally},
                 {"point_over", SceneKind::PointOver}, {"close", SceneKind::Close},
                 {"selection", SceneKind::Selection},  {"free", SceneKind::FreePlay}};
    for (const auto& k : kinds)
        if (name == k.name) {
            kind = k.kind;
            return true;
        }
    return false;
}

bool parse(int argc, char** argv, RenderOptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (arg == "--data")
            o.data = value;
        else if (arg == "--out")
            o.out = value;
        else if (arg == "--goldens")
            o.goldens = value;
        else if (arg == "--scene") {
            if (!parseKind(value, o.request.kind))
                return false;
        } else if (arg == "--court") {
            o.request.stadium = std::atoi(value.c_str()) - 1;
            if (o.request.stadium < 0 || o.request.stadium > 4)
                return false;
        } else if (arg == "--seed")
            o.request.seed = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        else if (arg == "--seconds") {
            o.request.seconds = std::atof(value.c_str());
            if (!(o.request.seconds >= 0.0 && o.request.seconds <= 36000.0))
                return false;
        } else
            return false;
    }
    return true;
}

// data.pak beside this executable, where the build writes it.
std::string defaultDataPath() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "data.pak" : (self.parent_path() / "data.pak").string();
}

bool renderRig(SceneRig* rig, const SceneRequest& request, const std::string& out) {
    const bool reached = setUpScene(*rig, request);
    if (reached) {
        drawSceneFrame(*rig);
        if (!writeFrameBufferPng(out, rig->resources.engine->frame.drawBuffer)) {
            std::fprintf(stderr, "render-scene: cannot write %s\n", out.c_str());
            return false;
        }
        std::printf("%s\n", out.c_str());
    } else {
        std::fprintf(stderr, "render-scene: the match never reached that moment\n");
    }
    return reached;
}

// The rig is freed however the rendering ends, a picture that fails to load included.
bool renderOne(const std::string& data, const SceneRequest& request, const std::string& out) {
    SceneRig* rig = makeSceneRig(data);
    bool reached = false;
    try {
        reached = renderRig(rig, request, out);
    } catch (...) {
        destroySceneRig(rig);
        throw;
    }
    destroySceneRig(rig);
    return reached;
}

} // namespace

int main(int argc, char** argv) {
    RenderOptions o;
    if (!parse(argc, argv, o)) {
        usage();
        return 2;
    }
    if (o.data.empty())
        o.data = defaultDataPath();
    try {
        if (o.goldens.empty())
            return renderOne(o.data, o.request, o.out) ? 0 : 1;
        std::filesystem::create_directories(o.goldens);
        for (const NamedScene& scene : goldenScenes())
            if (!renderOne(o.data, scene.request,
                           (std::filesystem::path(o.goldens) / (scene.name + ".png")).string()))
                return 1;
        return 0;
    } catch (const FileError& error) {
        std::fprintf(stderr, "render-scene: %s\n", toUtf8(fileErrorText(error)).c_str());
        return 1;
    }
}
