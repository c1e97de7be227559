// main.cpp: make-data writes data.pak (every picture, mask, font and sound of the game), or
// contact sheets.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "app_icon.h"
#include "assets/asset_names.h"
#include "bitmap_fonts.h"
#include "button_faces.h"
#include "contact_sheets.h"
#include "court_pictures.h"
#include "data_set.h"
#include "figure_files.h"
#include "figure_sheets.h"
#include "frontend/screen_assets.h"
#include "keyboard_picture.h"
#include "menu_backdrops.h"
#include "sound_effects.h"
#include "statistics_art.h"

namespace {

void addFonts(DataSet& data, const TypeSet& types) {
    addEntry(data, kFont8x16Name, fontPgm(fontBitmap(types, 8, 16)));
    addEntry(data, kFont6x12Name, fontPgm(fontBitmap(types, 6, 12)));
}

// Every picture the screens ask for must exist at the size its button or the screen has.
void checkAgainstScreenTables(const DataSet& data) {
    for (const ScreenAsset& asset : screenAssets()) {
        const auto found = data.pictureSizes.find(asset.name);
        if (found == data.pictureSizes.end())
            throw std::runtime_error("no picture for " + toUtf8(asset.name));
        if (found->second.width != asset.width || found->second.height != asset.height)
            throw std::runtime_error("wrong size for " + toUtf8(asset.name));
    }
}

DataSet buildData() {
    TypeSet types = makeTypeSet();
    DataSet data;
    try {
        addFonts(data, types);
        addMenuFaces(data, types);
        addMatchFaces(data, types);
        addTrophyFaces(data);
        addKeyboard(data, types);
        addStadiumPreviews(data, types);
        const CameraSetup camera = makeCameraSetup();
        addCourtPictures(data, camera);
        // Where the selection screens and the editor show their player (the game's positions).
        addMenuBackdrops(data, types, figureSpot(camera, {-0.5, 0.0, 6.0}),
                         figureSpot(camera, {0.0, 0.0, -1.0}));
        addStatisticsArt(data, types);
        addSoundEffects(data.entries);
        addFigureFiles(data.entries);
    } catch (...) {
        destroyTypeSet(types);
        throw;
    }
    destroyTypeSet(types);
    checkAgainstScreenTables(data);
    return data;
}

int usage() {
    std::fprintf(stderr, "usage: make-data <data.pak>\n"
                         "       make-data --contact-sheets <data.pak> <folder>\n"
                         "       make-data --icons <folder>\n"
                         "       make-data --web-icons <folder>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--contact-sheets") {
            const int written =
                writeContactSheets(argv[2], argv[3]) + writeFigureSheets(argv[2], argv[3]);
            std::printf("make-data: %d contact sheets in %s\n", written, argv[3]);
            return 0;
        }
        // The launcher icons lie beside data.pak, not in it: the game never reads them.
        if (argc == 3 && std::string(argv[1]) == "--icons") {
            if (!writeAppIcons(argv[2])) {
                std::fprintf(stderr, "make-data: cannot write the icons in %s\n", argv[2]);
                return 1;
            }
            return 0;
        }
        if (argc == 3 && std::string(argv[1]) == "--web-icons") {
            if (!writeWebIcons(argv[2])) {
                std::fprintf(stderr, "make-data: cannot write the web icons in %s\n", argv[2]);
                return 1;
            }
            return 0;
        }
        if (argc != 2)
            return usage();
        const auto start = std::chrono::steady_clock::now();
        const DataSet data = buildData();
        if (!writePakFile(argv[1], data.entries)) {
            std::fprintf(stderr, "make-data: cannot write %s\n", argv[1]);
            return 1;
        }
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        size_t bytes = 0;
        for (const auto& e : data.entries)
            bytes += e.data.size();
        std::printf("make-data: %zu entries, %zu bytes of data, %lld ms\n", data.entries.size(),
                    bytes, static_cast<long long>(ms));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-data: %s\n", e.what());
        return 1;
    }
}
