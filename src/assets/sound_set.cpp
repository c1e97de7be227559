// sound_set.cpp: loading and playing the sound effects.
#include "assets/sound_set.h"

#include "assets/pak_archive.h"
#include "platform/sound_output.h"

const char16_t* const kSoundFileNames[kSoundCount] = {
    u"aplausos.wav",      u"bote bola 1.wav",    u"bote bola 2.wav",
    u"red.wav",           u"fault.wav",          u"out.wav",
    u"let.wav",           u"saque quejido.wav",  u"saque.wav",
    u"golpe normal1.wav", u"golpe normal 2.wav", u"golpe normal 3.wav",
};

namespace {

void loadSound(PakArchive* archive, const char16_t* fileName, std::vector<uint8_t>& image) {
    const int32_t index = pakFind(archive, WideString(u"D:\\VELDAR\\Data\\Sounds\\") + fileName);
    const PakEntry* entry = pakEntry(archive, index);
    if (!entry)
        return;
    image.resize(entry->size);
    const uint32_t got = pakReadAt(archive, index, 0, image.data(), entry->size);
    if (got != entry->size)
        image.clear(); // a truncated archive: better silent than a cut-off WAV header
}

} // namespace

SoundSet* makeSoundSet(PakArchive* archive, SoundOutput* output) {
    auto* set = new SoundSet;
    set->output = output;
    if (archive)
        for (int i = 0; i < kSoundCount; ++i)
            loadSound(archive, kSoundFileNames[i], set->sounds[i]);
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
