// key_animation.cpp: reading .key files: tracks, per-frame keys and events.
#include "assets/key_animation.h"

#include <cmath>
#include <cstring>

#include "assets/animation_bake.h"
#include "assets/data_stream.h"
#include "assets/file_error.h"
#include "assets/float_matrix.h"
#include "assets/model.h"
#include "assets/pak_archive.h"

const char* const kKeyEventTags[10] = {"",     "VIS1", "PCHG", "SMOT", "TOBJ",
                                       "MDAM", "SND1", "SND2", "GENE", "GEND"};

namespace {

// Baked values of one animation (frames x vertices x 3): 256 MB, far beyond the game's own.
constexpr uint64_t kMaxBakedValues = uint64_t{1} << 26;

[[noreturn]] void corrupt() {
    raiseFileError(kErrorKeyFileCorrupt);
}

void require(bool condition) {
    if (!condition)
        corrupt();
}

// The file is read as a plain stream; any field cut short by its end is a damaged file.
void readExact(DataStream& stream, void* buffer, uint32_t count) {
    require(dataStreamRead(stream, buffer, count) == count);
}

uint32_t decodeLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t readInt(DataStream& stream) {
    uint8_t bytes[4];
    readExact(stream, bytes, 4);
    return static_cast<int32_t>(decodeLe32(bytes));
}

void expectTag(DataStream& stream, const char* tag) {
    char read[4];
    readExact(stream, read, 4);
    require(std::memcmp(read, tag, 4) == 0);
}

void skipSize(DataStream& stream) {
    dataStreamSeek(stream, 4, SeekFromCurrent);
}

uint32_t bytesLeft(DataStream& stream) {
    return dataStreamSize(stream) - stream.position;
}

// A tag (not checked), a size S counting its 8 bytes, then S - 8 bytes of text.
std::string readNameRecord(DataStream& stream, uint32_t maxBytes) {
    skipSize(stream);
    const int64_t size = static_cast<uint32_t>(readInt(stream));
    require(size >= 8 && size - 8 <= maxBytes && size - 8 <= bytesLeft(stream));
    std::string text(static_cast<size_t>(size - 8), '\0');
    readExact(stream, text.data(), static_cast<uint32_t>(text.size()));
    text.resize(std::strlen(text.c_str())); // the name ends at its terminator, or the record's end
    return text;
}

int32_t kindOfTag(const char tag[4]) {
    for (int32_t kind = KeyEventVisibility; kind <= KeyEventGenerateEnd; ++kind)
        if (std::memcmp(tag, kKeyEventTags[kind], 4) == 0)
            return kind;
    corrupt();
}

KeyEvent readEvent(DataStream& stream) {
    char tag[4];
    readExact(stream, tag, 4);
    skipSize(stream);
    KeyEvent event;
    event.kind = kindOfTag(tag);
    const uint32_t nameLimit = bytesLeft(stream);
    switch (event.kind) {
    case KeyEventVisibility:
        event.name = readNameRecord(stream, nameLimit);
        event.value = readInt(stream);
        break;
    case KeyEventPartChange:
        event.name = readNameRecord(stream, nameLimit);
        event.secondName = readNameRecord(stream, bytesLeft(stream));
        break;
    case KeyEventSmooth:
    case KeyEventDamage:
        event.value = readInt(stream);
        break;
    case KeyEventTargetObject:
    case KeyEventSound:
    case KeyEventGenerate:
        event.name = readNameRecord(stream, nameLimit);
        break;
    default: // SND2 and GEND carry nothing
        break;
    }
    return event;
}

float decodeFloat(const uint8_t* p) {
    const uint32_t bits = decodeLe32(p);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

// Key matrix = the quaternion's rotation with the translation in row 3.
void readKeys(DataStream& stream, int32_t trackCount, FloatMatrix* keys) {
    std::vector<uint8_t> bytes(static_cast<size_t>(trackCount) * kTrackKeyBytes);
    readExact(stream, bytes.data(), static_cast<uint32_t>(bytes.size()));
    for (int32_t t = 0; t < trackCount; ++t) {
        const uint8_t* key = bytes.data() + static_cast<size_t>(t) * kTrackKeyBytes;
        float f[7];
        for (int i = 0; i < 7; ++i)
            f[i] = decodeFloat(key + 4 * i);
        quaternionToMatrix(f[0], f[1], f[2], f[3], keys[t]);
        setMatrixRow3(keys[t], {f[4], f[5], f[6]});
    }
}

void readCounts(DataStream& stream, KeyAnimation& animation) {
    expectTag(stream, "FKEY");
    skipSize(stream);
    expectTag(stream, "INFO");
    skipSize(stream);
    const int32_t tracks = readInt(stream);
    const int32_t frames = readInt(stream);
    // Frame count 0 would leave looping playback without an end; each track name needs 8 bytes
    // and each frame 12 plus its keys, so the file must be able to hold what it announces.
    require(tracks >= 0 && frames >= 1 && frames <= kMaxKeyFrames);
    const uint64_t least =
        uint64_t{8} * tracks + uint64_t{12 + uint64_t{kTrackKeyBytes} * tracks} * frames;
    require(least <= bytesLeft(stream));
    animation.trackCount = tracks;
    animation.frameCount = frames;
}

void readTracks(DataStream& stream, KeyAnimation& animation, const ModelObject& object) {
    animation.trackMap.assign(static_cast<size_t>(animation.trackCount), -1);
    for (int32_t t = 0; t < animation.trackCount; ++t) {
        const std::string name = readNameRecord(stream, kMaxTrackNameBytes);
        animation.trackMap[t] = findTransformByName(object, name);
        if (equalsIgnoringCase(name, "Orientador"))
            animation.orientationTrack = t;
    }
    // The bake turns the whole figure into this track's frame: it needs a transform.
    require(animation.orientationTrack < 0 || animation.trackMap[animation.orientationTrack] >= 0);
}

void readFrames(DataStream& stream, KeyAnimation& animation, std::vector<FloatMatrix>& keys) {
    animation.eventLists.resize(static_cast<size_t>(animation.frameCount));
    for (int32_t f = 0; f < animation.frameCount; ++f) {
        expectTag(stream, "KEY1");
        skipSize(stream);
        readKeys(stream, animation.trackCount,
                 keys.data() + static_cast<size_t>(f) * animation.trackCount);
        const int32_t events = readInt(stream);
        require(events >= 0 && uint64_t{8} * events <= bytesLeft(stream));
        std::vector<KeyEvent>& list = animation.eventLists[f];
        list.reserve(static_cast<size_t>(events));
        for (int32_t e = 0; e < events; ++e)
            list.push_back(readEvent(stream));
    }
}

} // namespace

namespace {

KeyAnimation* loadKeyEntry(PakArchive* archive, const WideString& name, const Model* model) {
    primaryLod(*model); // a model without one cannot be baked
    const ModelObject& object = model->objects[0];
    auto* animation = new KeyAnimation;
    try {
        DataStream stream;
        dataStreamOpen(stream, archive, name);
        readCounts(stream, *animation);
        require(uint64_t{3} * static_cast<uint64_t>(animation->frameCount) *
                    static_cast<uint64_t>(countPrimaryVertices(*model)) <=
                kMaxBakedValues);
        readTracks(stream, *animation, object);
        std::vector<FloatMatrix> keys(static_cast<size_t>(animation->frameCount) *
                                      static_cast<size_t>(animation->trackCount));
        readFrames(stream, *animation, keys);
        // The counts must account for every byte: more bytes than they cover is damage too.
        require(bytesLeft(stream) == 0);
        dataStreamClose(stream);
        bakeKeyAnimation(*animation, keys.data(), *model);
    } catch (...) {
        freeKeyAnimation(animation);
        throw;
    }
    return animation;
}

} // namespace

KeyAnimation* loadKeyAnimation(PakArchive* archive, const WideString& name, const Model* model) {
    return withErrorDetail(pakEntryDetail(archive, name),
                           [&] { return loadKeyEntry(archive, name, model); });
}

void freeKeyAnimation(KeyAnimation* animation) {
    delete animation;
}
