// The .key reader: tracks, events of every kind, and damaged or hostile files.
#include "rig_fixture.h"
#include "writers/chunk_writer.h"

#include <functional>

namespace {

OwnedAnimation loadFrom(RigFixture& rig, const std::vector<uint8_t>& bytes) {
    rig.open({{u"A.key", bytes}});
    return rig.load(u"A.key");
}

void expectKeyCorrupt(const std::vector<uint8_t>& bytes) {
    RigFixture rig;
    rig.open({{u"A.key", bytes}});
    EXPECT_FILE_ERROR(loadKeyAnimation(rig.pak.archive, u"A.key", rig.model), kErrorKeyFileCorrupt);
}

TEST(KeyAnimation, ReadsTracksAndEveryKindOfEvent) {
    KeyFileRecord file = keyFileWithFrames(2);
    file.trackNames.push_back("Raqueta"); // no such transform: its keys are read and ignored
    for (KeyFrameRecord& frame : file.frames)
        frame.keys.emplace_back();
    for (int32_t kind = KeyEventVisibility; kind <= KeyEventGenerateEnd; ++kind)
        file.frames[1].events.push_back({kind, "first", kind == 2 ? "second" : "", kind * 10});
    RigFixture rig;
    const OwnedAnimation animation = loadFrom(rig, buildKeyFile(file));
    EXPECT_EQ(animation->frameCount, 2);
    EXPECT_EQ(animation->trackCount, 3);
    EXPECT_EQ(animation->trackMap, (std::vector<int32_t>{0, 1, -1}));
    EXPECT_TRUE(animation->eventLists[0].empty());
    const std::vector<KeyEvent>& events = animation->eventLists[1];
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[0].name, "first");
    EXPECT_EQ(events[0].value, 10);
    EXPECT_EQ(events[1].secondName, "second");
    EXPECT_EQ(events[2].value, 30);
    EXPECT_EQ(events[4].value, 50);
    EXPECT_EQ(events[5].name, "first");
    EXPECT_EQ(events[8].kind, KeyEventGenerateEnd);
}

// The bytes of a valid two-frame file with one change made by `damage`.
std::vector<uint8_t> damagedFile(const std::function<void(std::vector<uint8_t>&)>& damage) {
    KeyFileRecord file = keyFileWithFrames(2);
    file.frames[0].events.push_back({KeyEventSound, "Golpe", "", 0});
    std::vector<uint8_t> bytes = buildKeyFile(file);
    damage(bytes);
    return bytes;
}

// Layout: FKEY(8) INFO(8) T@16 F@20, names at 24 (15 bytes each: "cadera", "CABEZA"),
// first frame at 54: KEY1(8), two keys (80), event count at 142, the event at 146.
TEST(KeyAnimation, WrongTagsAndHostileCountsAreCorrupt) {
    damagedFile([](auto& b) {
        ASSERT_EQ(std::string(b.begin() + 54, b.begin() + 58), "KEY1");
        ASSERT_EQ(b[142], 1);
        ASSERT_EQ(std::string(b.begin() + 146, b.begin() + 150), "SND1");
    });
    const std::vector<std::function<void(std::vector<uint8_t>&)>> damages = {
        [](auto& b) { b[0] = 'X'; },                  // file tag
        [](auto& b) { b[8] = 'X'; },                  // info tag
        [](auto& b) { b[54] = 'X'; },                 // frame tag
        [](auto& b) { b[146] = 'X'; },                // event tag outside the table
        [](auto& b) { putLe32(b, 16, 0xFFFFFFFF); },  // negative track count
        [](auto& b) { putLe32(b, 20, 0); },           // no frames: looping never ends
        [](auto& b) { putLe32(b, 20, 0xFFFFFFFF); },  // negative frame count
        [](auto& b) { putLe32(b, 20, 1000); },        // more frames than the file holds
        [](auto& b) { putLe32(b, 16, 0x10000000); },  // absurd track count
        [](auto& b) { putLe32(b, 142, 0xFFFFFFFF); }, // negative event count
        [](auto& b) { putLe32(b, 142, 0x40000000); }, // absurd event count
        [](auto& b) { putLe32(b, 28, 7); },           // name record shorter than its header
        [](auto& b) { putLe32(b, 28, 100000); },      // name record past the file's end
        [](auto& b) { b.resize(b.size() - 3); },      // cut inside the last frame
    };
    for (const auto& damage : damages)
        expectKeyCorrupt(damagedFile(damage));
}

TEST(KeyAnimation, TrackNamesAreLimitedTo256Bytes) {
    // Written by hand: the writer refuses such names.
    for (uint32_t nameBytes : {256u, 257u}) {
        ChunkWriter w;
        putChunkHeader(w, "FKEY", 0);
        putChunkHeader(w, "INFO", 0);
        putInt32(w, 1);
        putInt32(w, 1);
        putChunkHeader(w, "NAME", 8 + nameBytes);
        putBytes(w, std::string(nameBytes, '\0').data(), nameBytes);
        putTag(w, "KEY1");
        putUint32(w, 0);
        putFloat(w, 1.0f);
        putBytes(w, std::vector<uint8_t>(36).data(), 36);
        putInt32(w, 0);
        if (nameBytes == 256) {
            RigFixture rig;
            loadFrom(rig, w.bytes);
        } else {
            expectKeyCorrupt(w.bytes);
        }
    }
    KeyFileRecord file;
    file.trackNames = {std::string(256, 'a')};
    EXPECT_THROW(buildKeyFile(file), std::invalid_argument);
}

TEST(KeyAnimation, AnOrientadorWithoutItsTransformIsCorrupt) {
    KeyFileRecord file = keyFileWithFrames(1, true);
    Model noOrientador = rigModel();
    noOrientador.objects[0].transforms[2].name = "Otro";
    RigFixture rig;
    rig.open({{u"A.key", buildKeyFile(file)}}, noOrientador);
    EXPECT_FILE_ERROR(loadKeyAnimation(rig.pak.archive, u"A.key", rig.model), kErrorKeyFileCorrupt);
}

TEST(KeyAnimation, NeedsAModelWithAPrimaryLevelOfDetail) {
    RigFixture rig;
    rig.open({{u"A.key", buildKeyFile(keyFileWithFrames(1))}});
    Model empty;
    EXPECT_FILE_ERROR(loadKeyAnimation(rig.pak.archive, u"A.key", &empty), kErrorFileDataCorrupt);
    EXPECT_FILE_ERROR(loadKeyAnimation(rig.pak.archive, u"B.key", rig.model), kErrorCannotOpenFile);
}

} // namespace

namespace {

TEST(KeyAnimation, BytesBeyondWhatTheCountsCoverAreCorruptAndNamed) {
    RigFixture rig;
    std::vector<uint8_t> bytes = buildKeyFile(keyFileWithFrames(2));
    bytes.insert(bytes.end(), 40, 0); // room for a key the counts do not announce
    rig.open({{u"D:\\VELDAR\\Data\\Model\\Tenista_Saque.key", bytes}});
    EXPECT_FILE_ERROR_TEXT(
        loadKeyAnimation(rig.pak.archive, u"D:\\VELDAR\\Data\\Model\\Tenista_Saque.key", rig.model),
        "KEY file corrupt: Tenista_Saque.key in " + rig.pak.path());
}

} // namespace
