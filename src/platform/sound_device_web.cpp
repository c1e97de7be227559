// sound_device_web.cpp: WebAudio playback of WAV images, one at a time, the next cutting the
// last.
#include "platform/sound_device_web.h"

#include <emscripten.h>

#include "platform/sound_device.h"
#include "platform/sound_output.h"
#include "platform/wav_image.h"

// clang-format off
// The page keeps one audio context; a sound's buffer is made from its samples on every play,
// which costs far less than a frame for the game's short sounds. `started` counts the sounds
// started (the browser tests read it).
EM_JS(void, webAudioOpen, (), {
    const Context = window.AudioContext || window.webkitAudioContext;
    Module.drovanaAudio = { context: Context ? new Context() : null, source: null, started: 0 };
});

EM_JS(void, resumeAudioContext, (), {
    const audio = Module.drovanaAudio;
    if (audio && audio.context && audio.context.state === 'suspended')
        audio.context.resume();
});

EM_JS(void, webAudioStop, (), {
    const audio = Module.drovanaAudio;
    if (!audio || !audio.source)
        return;
    try { audio.source.stop(); } catch (e) {}
    audio.source.disconnect();
    audio.source = null;
});

EM_JS(int, webAudioPlay, (const float* samples, int frames, int channels, int frequency), {
    const audio = Module.drovanaAudio;
    if (!audio || !audio.context || frames <= 0)
        return 0;
    const buffer = audio.context.createBuffer(channels, frames, frequency);
    for (let c = 0; c < channels; ++c) {
        const out = buffer.getChannelData(c);
        for (let i = 0; i < frames; ++i)
            out[i] = HEAPF32[(samples >> 2) + i * channels + c];
    }
    const source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.context.destination);
    source.onended = () => { if (audio.source === source) audio.source = null; };
    source.start();
    audio.source = source;
    ++audio.started;
    return 1;
});

EM_JS(void, webAudioClose, (), {
    const audio = Module.drovanaAudio;
    if (audio && audio.context)
        audio.context.close();
    Module.drovanaAudio = null;
});
// clang-format on

void webAudioUnlock() {
    resumeAudioContext();
}

SoundOutput* soundOutputOpenWeb() {
    auto* output = new SoundOutput;
    output->headless = false;
    webAudioOpen();
    return output;
}

void soundDeviceClose(SoundOutput*) {
    webAudioClose();
}

void soundDeviceStop(SoundOutput*) {
    webAudioStop();
}

bool soundDevicePlay(SoundOutput*, const uint8_t* wav, uint32_t size) {
    WavImage image;
    if (!readWavImage(wav, size, image))
        return false;
    const int frames = static_cast<int>(image.samples.size()) / image.channels;
    return webAudioPlay(image.samples.data(), frames, image.channels, image.frequency) != 0;
}
