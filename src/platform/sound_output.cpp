// sound_output.cpp: one sound at a time on the audio device, and the headless recorder.
#include "platform/sound_output.h"

#include "platform/sound_device.h"

SoundOutput* soundOutputOpenHeadless() {
    return new SoundOutput;
}

void soundOutputClose(SoundOutput* output) {
    if (!output)
        return;
    if (!output->headless)
        soundDeviceClose(output);
    delete output;
}

void soundOutputStop(SoundOutput* output) {
    if (!output)
        return;
    output->playing = -1;
    if (output->headless)
        output->requests.push_back(-1);
    else
        soundDeviceStop(output);
}

void soundOutputPlay(SoundOutput* output, int id, const uint8_t* wav, uint32_t size) {
    if (!output)
        return;
    if (output->headless) {
        output->requests.push_back(id);
        output->playing = wav ? id : -1;
        return;
    }
    output->playing = -1;
    soundDeviceStop(output);
    if (!wav || size == 0 || size > 0x7FFFFFFF)
        return;
    if (soundDevicePlay(output, wav, size))
        output->playing = id;
}
