// sound_set.cpp: loading and playing the sound effects.
#include "assets/sound_set.h"

#include <cstring>

#include "assets/file_error.h"
#include "assets/pak_archive.h"
#include "platform/sound_output.h"

const char16_t* const kSoundFileNames[kSoundCount] = {
    u"aplausos.wav",      u"bote bola 1.wav",    u"bote bola 2.wav",
    u"red.wav",           u"fault.wav",          u"out.wav",
    u"let.wav",           u"saque quejido.wav",  u"saque.wav",
    u"golpe normal1.wav", u"golpe normal 2.wav", u"golpe normal 3.wav",
};

namespace {

constexpr uint32_t kLargestSampleRate = 192000;

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// The "fmt " body the player can take as it is: PCM, one or two channels of 16 bits.
bool pcm16Format(const uint8_t* body, uint32_t size) {
    if (size < 16)
        return false;
    const uint16_t format = le16(body), channels = le16(body + 2), blockAlign = le16(body + 12),
                   bits = le16(body + 14);
    const uint32_t rate = le32(body + 4), byteRate = le32(body + 8);
    return format == 1 && (channels == 1 || channels == 2) && bits == 16 &&
           blockAlign == channels * 2 && rate > 0 && rate <= kLargestSampleRate &&
           byteRate == rate * blockAlign;
}

void loadSound(PakArchive* archive, const char16_t* fileName, std::vector<uint8_t>& image) {
    const WideString name = WideString(u"D:\\VELDAR\\Data\\Sounds\\") + fileName;
    const int32_t index = pakFind(archive, name);
    const PakEntry* entry = pakEntry(archive, index);
    if (!entry)
        return;
    image.resize(entry->size);
    const uint32_t got = pakReadAt(archive, index, 0, image.data(), entry->size);
    // Checked now rather than at play time, when nobody could say which sound was broken.
    if (got != entry->size || !wavImageUsable(image.data(), got))
        raiseFileError(kErrorFileDataCorrupt, pakEntryDetail(archive, name));
}

} // namespace

bool wavImageUsable(const uint8_t* bytes, uint32_t size) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    const uint64_t riffEnd = uint64_t{le32(bytes + 4)} + 8;
    if (riffEnd > size)
        return false;
    uint16_t blockAlign = 0; // set by the "fmt " chunk, which must come before the data
    uint64_t at = 12;
    while (at + 8 <= riffEnd) {
        const uint32_t chunkSize = le32(bytes + at + 4);
        const uint64_t body = at + 8;
        if (body + chunkSize > riffEnd)
            return false;
        if (std::memcmp(bytes + at, "fmt ", 4) == 0) {
            if (blockAlign != 0 || !pcm16Format(bytes + body, chunkSize))
                return false;
            blockAlign = le16(bytes + body + 12);
        } else if (std::memcmp(bytes + at, "data", 4) == 0) {
            return blockAlign != 0 && chunkSize % blockAlign == 0;
        }
        at = body + chunkSize + (chunkSize & 1); // chunks keep even offsets
    }
    return false; // no sound data
}

SoundSet* makeSoundSet(PakArchive* archive, SoundOutput* output) {
    auto* set = new SoundSet;
    set->output = output;
    try {
        if (archive)
            for (int i = 0; i < kSoundCount; ++i)
                loadSound(archive, kSoundFileNames[i], set->sounds[i]);
    } catch (...) {
        delete set;
        throw;
    }
    return set;
}

void destroySoundSet(SoundSet* set) {
    if (!set)
        return;
    stopSound(set);
    delete set;
}

void playSound(SoundSet* set, int id) {
    if (!set || set->muted || id < 0 || id >= kSoundCount)
        return;
    const std::vector<uint8_t>& image = set->sounds[id];
    soundOutputPlay(set->output, id, image.empty() ? nullptr : image.data(),
                    static_cast<uint32_t>(image.size()));
}

void stopSound(SoundSet* set) {
    if (set)
        soundOutputStop(set->output);
}

void setSoundMuted(SoundSet* set, uint8_t muted) {
    set->muted = muted;
    if (muted)
        stopSound(set);
}
