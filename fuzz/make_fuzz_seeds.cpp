// make_fuzz_seeds.cpp: the fuzz targets' seed corpora, taken from the real data.pak's entries
// and from files the game writes, one folder per target.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_names.h"
#include "assets/pak_archive.h"
#include "frontend/players_file.h"
#include "frontend/profile_store.h"
#include "frontend/replay_file.h"
#include "writers/pak_writer.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> entryBytes(PakArchive* pak, int32_t index) {
    std::vector<uint8_t> bytes(pakEntry(pak, index)->size);
    pakReadAt(pak, index, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

void writeSeed(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(folder);
    writeBytesFile((folder / name).string(), bytes);
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string baseName(const std::string& name) {
    const size_t slash = name.find_last_of('\\');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Width and height from the picture's start-of-frame marker; 0 x 0 when there is none.
void jpegSize(const std::vector<uint8_t>& b, int& width, int& height) {
    width = height = 0;
    for (size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC1 || b[i + 1] == 0xC2)) {
            height = b[i + 5] << 8 | b[i + 6];
            width = b[i + 7] << 8 | b[i + 8];
            return;
        }
}

std::vector<uint8_t> jpegSeed(const std::vector<uint8_t>& jpeg, bool mask) {
    int width = 0, height = 0;
    jpegSize(jpeg, width, height);
    std::vector<uint8_t> seed = {static_cast<uint8_t>(mask ? 1 : 0), static_cast<uint8_t>(width),
                                 static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(height),
                                 static_cast<uint8_t>(height >> 8)};
    seed.insert(seed.end(), jpeg.begin(), jpeg.end());
    return seed;
}

std::vector<uint8_t> playersSeed(bool withUserProfile) {
    ProfileStore store;
    makeDefaultProfiles(store);
    if (withUserProfile) {
        store.profiles[5] = store.profiles[1];
        store.profiles[5].builtIn = 0;
        store.options.player1Profile = 5;
    }
    std::vector<uint8_t> bytes(kPlayersFileSize);
    encodePlayersFile(store.options, store.profiles,
                      *reinterpret_cast<PlayersFileBytes*>(bytes.data()));
    return bytes;
}

// A short recording as the game writes one: steps of a wandering frame clock with a late frame
// split in two, taps and a drag, the window losing and regaining focus, the close at the end.
std::vector<uint8_t> replaySeed(ReplayMode mode, bool withEvents) {
    ReplayWriter writer;
    ReplayStart start;
    start.mode = mode;
    start.options = {0, mode == ReplayMode::Practice ? 4 : 1, 2, 1, 3, 0};
    start.players[0] = kDefaultRoster[0];
    start.players[1] = kDefaultRoster[mode == ReplayMode::Practice ? 4 : 1];
    seedRandom(start.random, 17);
    using K = ReplayEventKind;
    for (uint32_t step = 0; step < 240; ++step) {
        if (withEvents && step % 40 == 5) {
            const int x = static_cast<int>(step % 240), y = static_cast<int>(step % 320);
            writeReplayEvent(writer, {K::StylusDown, step, x, y});
            writeReplayEvent(writer, {K::StylusUp, step, x, step % 80 == 5 ? y + 7 : y});
        }
        if (withEvents && step == 100)
            writeReplayEvent(writer, {K::FocusLost, step, 0, 0});
        if (withEvents && step == 130)
            writeReplayEvent(writer, {K::FocusGained, step, 0, 0});
        writeReplayStep(writer, step == 150 ? kReplayMaxStep : 1090 + static_cast<Fixed>(step % 5));
    }
    if (withEvents) {
        writeReplayEvent(writer, {K::StylusDown, 240, 234, 5});
        writeReplayEvent(writer, {K::StylusUp, 240, 234, 5});
    }
    return finishReplayFile(writer, 0x1234, start, ReplayEnd::Closed, 0x5678, 0x9ABC);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-fuzz-seeds data.pak FOLDER\n");
        return 2;
    }
    PakArchive* pak = pakOpen(fromUtf8(argv[1]), 1);
    if (pak->entryCount == 0) {
        std::fprintf(stderr, "make-fuzz-seeds: %s holds no entries\n", argv[1]);
        pakClose(pak);
        return 1;
    }
    const fs::path out = argv[2];
    std::vector<PakWriterEntry> small;
    int colours = 0, masks = 0;
    for (int32_t i = 0; i < pak->entryCount; ++i) {
        const std::string name = toUtf8(pakEntryName(pak->directory[i]));
        const std::string base = baseName(name);
        const std::vector<uint8_t> bytes = entryBytes(pak, i);
        if (endsWith(name, ".NFO")) {
            writeSeed(out / "fuzz_model", base, bytes);
            writeSeed(out / "fuzz_chunk_file", base, bytes);
        } else if (endsWith(name, ".key")) {
            writeSeed(out / "fuzz_key_animation", base, bytes);
        } else if (endsWith(name, ".pgm")) {
            writeSeed(out / "fuzz_font", base, bytes);
        } else if (endsWith(name, ".wav")) {
            writeSeed(out / "fuzz_wav", base, bytes);
        } else if (endsWith(name, ".jpg") && bytes.size() < 16384) {
            const bool mask = endsWith(name, "_m.jpg");
            int& taken = mask ? masks : colours;
            if (taken++ < 6)
                writeSeed(out / "fuzz_jpeg", base, jpegSeed(bytes, mask));
        }
        if (bytes.size() < 2048 && small.size() < 6)
            small.push_back({pakEntryName(pak->directory[i]), bytes});
    }
    writeSeed(out / "fuzz_pak_archive", "small.pak", buildPak(small));
    writeSeed(out / "fuzz_pak_archive", "empty.pak", buildPak({}));
    writeSeed(out / "fuzz_players_file", "defaults.dat", playersSeed(false));
    writeSeed(out / "fuzz_players_file", "user.dat", playersSeed(true));
    writeSeed(out / "fuzz_replay_file", "exhibition.replay",
              replaySeed(ReplayMode::Exhibition, true));
    writeSeed(out / "fuzz_replay_file", "practice.replay", replaySeed(ReplayMode::Practice, true));
    writeSeed(out / "fuzz_replay_file", "steps-only.replay",
              replaySeed(ReplayMode::Tournament, false));
    pakClose(pak);
    return 0;
}
