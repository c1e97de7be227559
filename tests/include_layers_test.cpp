// The folders of src/ form layers (src/layers.txt): every quoted include of a file names its own
// folder or one on an earlier line of that list, never one above or beside it.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folder name to tier: the line of the list it stands on, blank lines and comments skipped.
std::map<std::string, int> readLayers(const fs::path& listFile) {
    std::map<std::string, int> tiers;
    std::ifstream in(listFile);
    std::string line;
    int tier = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string folder;
        bool any = false;
        while (words >> folder) {
            tiers[folder] = tier;
            any = true;
        }
        tier += any ? 1 : 0;
    }
    return tiers;
}

// One message per include that breaks the order, as "path:line: ...", path relative to root.
std::vector<std::string> layerViolations(const fs::path& root, const fs::path& listFile) {
    const std::map<std::string, int> tiers = readLayers(listFile);
    static const std::regex kQuotedInclude(R"(^\s*#\s*include\s*"([^"]*)\")");
    std::vector<std::string> found;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() &&
            (entry.path().extension() == ".h" || entry.path().extension() == ".cpp"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const fs::path relative = fs::relative(file, root);
        const std::string own = relative.begin()->string();
        if (!tiers.count(own)) {
            found.push_back(relative.string() + ": folder " + own + " is not in the layer list");
            continue;
        }
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, kQuotedInclude))
                continue;
            const std::string target = match[1].str();
            const std::string folder = target.substr(0, target.find('/'));
            const std::string where = relative.string() + ":" + std::to_string(number) + ": ";
            if (folder == target || !tiers.count(folder))
                found.push_back(where + "\"" + target + "\" names no layer folder");
            else if (folder != own && tiers.at(folder) >= tiers.at(own))
                found.push_back(where + own + " includes \"" + target + "\" from " + folder +
                                (tiers.at(folder) == tiers.at(own) ? ", beside it" : ", above it"));
        }
    }
    return found;
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(IncludeLayers, EverySourceIncludesOnlyItsOwnLayerAndThoseBelow) {
    const fs::path src = fs::path(DROVANA_SOURCE_DIR) / "src";
    ASSERT_GE(readLayers(src / "layers.txt").size(), 8u);
    for (const std::string& violation : layerViolations(src, src / "layers.txt"))
        ADD_FAILURE() << violation;
}

TEST(IncludeLayers, NamesFileAndLineOfEveryUpwardSidewaysOrUnknownInclude) {
    TempDir dir;
    const fs::path src = dir.path / "src";
    writeFile(src / "layers.txt", "# lowest first\ncore\n\nplatform render\nmatch\n");
    writeFile(src / "core" / "a.h", "#include \"core/b.h\"\n#include <vector>\n");
    writeFile(
        src / "render" / "r.cpp",
        "// r\n#include \"core/a.h\"\n#include \"platform/p.h\"\n  #  include \"match/m.h\"\n");
    writeFile(src / "match" / "m.h", "#include \"render/r.h\"\n#include \"loose.h\"\n");
    writeFile(src / "tools" / "t.cpp", "#include \"core/a.h\"\n");

    const std::vector<std::string> expected = {
        "match/m.h:2: \"loose.h\" names no layer folder",
        "render/r.cpp:3: render includes \"platform/p.h\" from platform, beside it",
        "render/r.cpp:4: render includes \"match/m.h\" from match, above it",
        "tools/t.cpp: folder tools is not in the layer list",
    };
    EXPECT_EQ(layerViolations(src, src / "layers.txt"), expected);
}

} // namespace
