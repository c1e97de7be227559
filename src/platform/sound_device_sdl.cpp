// sound_device_sdl.cpp: SDL audio playback of WAV images.
#include <SDL.h>

#include "platform/sound_device.h"
#include "platform/sound_output.h"

SoundOutput* soundOutputOpenSdl() {
    auto* output = new SoundOutput;
    output->headless = false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return output;
    SDL_AudioSpec wanted{};
    wanted.freq = 22050;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    SDL_AudioSpec obtained{};
    output->device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (output->device != 0) {
        output->deviceFrequency = obtained.freq;
        output->deviceFormat = obtained.format;
        output->deviceChannels = obtained.channels;
        SDL_PauseAudioDevice(output->device, 0);
    }
    return output;
}

void soundDeviceClose(SoundOutput* output) {
    if (output->device != 0)
        SDL_CloseAudioDevice(output->device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void soundDeviceStop(SoundOutput* output) {
    if (output->device != 0)
        SDL_ClearQueuedAudio(output->device);
}

namespace {

// Converts the WAV image to the device's format and queues it on the cleared device.
bool queueWav(SoundOutput* output, const uint8_t* wav, uint32_t size) {
    SDL_RWops* stream = SDL_RWFromConstMem(wav, static_cast<int>(size));
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!stream || !SDL_LoadWAV_RW(stream, 1, &format, &samples, &length))
        return false;
    SDL_AudioCVT cvt;
    const int built =
        SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, output->deviceFormat,
                          output->deviceChannels, output->deviceFrequency);
    if (built < 0) {
        SDL_FreeWAV(samples);
        return false;
    }
    if (built == 0) {
        const bool queued = SDL_QueueAudio(output->device, samples, length) == 0;
        SDL_FreeWAV(samples);
        return queued;
    }
    cvt.len = static_cast<int>(length);
    auto* buffer = static_cast<Uint8*>(SDL_malloc(static_cast<size_t>(cvt.len) * cvt.len_mult));
    bool queued = false;
    if (buffer) {
        SDL_memcpy(buffer, samples, length);
        cvt.buf = buffer;
        queued = SDL_ConvertAudio(&cvt) == 0 &&
                 SDL_QueueAudio(output->device, buffer, static_cast<Uint32>(cvt.len_cvt)) == 0;
        SDL_free(buffer);
    }
    SDL_FreeWAV(samples);
    return queued;
}

} // namespace

bool soundDevicePlay(SoundOutput* output, const uint8_t* wav, uint32_t size) {
    return output->device != 0 && queueWav(output, wav, size);
}
