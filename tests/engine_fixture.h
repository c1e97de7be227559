// engine_fixture.h: a small archive with everything the engine loads (a board-shaped figure,
// twenty animations of it, two fonts) and an engine made on it, for engine, scene and posing tests.
#pragma once

#include <string>
#include <vector>

#include "assets/asset_names.h"
#include "rig_fixture.h"
#include "view/engine3d.h"

using OwnedEngine = Owned<Engine3D, destroyEngine3D>;

// The figure's material colours, by material index.
inline constexpr uint8_t kBoardFront[4] = {200, 30, 30, 255};
inline constexpr uint8_t kBoardBack[4] = {30, 30, 200, 255};
inline constexpr uint8_t kRacketColour[4] = {30, 200, 30, 255};

// A board 100 cm wide and 180 cm high in the model's x-y plane (two faces, two materials) on
// "Cadera", and a hidden triangle (the "racket") on "Raqueta" to its right, at model +x.
inline Model boardFigure() {
    Model model;
    ModelObject& object = model.objects.emplace_back();
    object.materials.resize(3);
    for (int k = 0; k < 4; ++k) {
        object.materials[0].colour[k] = kBoardFront[k];
        object.materials[1].colour[k] = kBoardBack[k];
        object.materials[2].colour[k] = kRacketColour[k];
    }
    object.transforms = {{translation(0, 0, 0), -1, std::string("Cadera")},
                         {translation(0, 0, 0), 0, std::string("Raqueta")}};
    Mesh board;
    board.visible = 1;
    board.transformIndex = 0;
    board.vertices = {{-50, 0, 0}, {50, 0, 0}, {50, 180, 0}, {-50, 180, 0}};
    board.faces = {{{0, 1, 2}}, {{0, 2, 3}}};
    board.faceMaterials = {0, 1};
    Mesh racket;
    racket.visible = 0;
    racket.transformIndex = 1;
    racket.vertices = {{60, 100, 0}, {90, 100, 0}, {75, 140, 0}};
    racket.faces = {{{0, 1, 2}}};
    racket.faceMaterials = {2};
    object.lods.push_back({0, {board, racket}});
    return model;
}

// `frames` frames of the figure at rest; animation 0 shows the racket in its first frame.
inline std::vector<uint8_t> boardAnimation(int animId, int frames) {
    KeyFileRecord file;
    file.trackNames = {"Cadera", "Raqueta"};
    file.frames.assign(static_cast<size_t>(frames),
                       KeyFrameRecord{{KeyTrackKey{}, KeyTrackKey{}}, {}});
    if (animId == 0)
        file.frames[0].events.push_back({KeyEventVisibility, "raqueta", "", 1});
    return buildKeyFile(file);
}

// A PGM of 128 x 96 grey levels: every cell's top-left pixel holds 100 + the cell's number.
inline std::vector<uint8_t> fixtureFont(int shade) {
    const std::string header = "P5\n# fixture\n128 96\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    std::vector<uint8_t> pixels(128 * 96, 0);
    for (int cell = 0; cell < 96; ++cell)
        pixels[static_cast<size_t>((cell >> 4) * 16 * 128 + (cell & 15) * 8)] =
            static_cast<uint8_t>(shade + cell);
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

// Animation i has 5 + i frames.
inline std::vector<PakWriterEntry> engineFixtureEntries() {
    std::vector<PakWriterEntry> entries = {{kPlayerModelName, buildModelFile(boardFigure())}};
    for (int i = 0; i < kAnimationCount; ++i)
        entries.push_back({animationEntryName(i), boardAnimation(i, 5 + i)});
    entries.push_back({u"D:\\VELDAR\\Data\\FONT8x16.pgm", fixtureFont(100)});
    entries.push_back({u"D:\\VELDAR\\Data\\FONT6x12.pgm", fixtureFont(50)});
    return entries;
}

inline std::vector<PakWriterEntry> withoutEntry(std::vector<PakWriterEntry> entries,
                                                const WideString& name) {
    std::erase_if(entries, [&](const PakWriterEntry& e) { return e.name == name; });
    return entries;
}

struct EngineFixture : ::testing::Test {
    PakFixture pak{engineFixtureEntries()};
    OwnedEngine engine{makeEngine3D(pak.archive)};
};
