// sound_device_web.h: the browser's audio: opened by the game's sound output, unlocked by the
// platform on the first gesture.
#pragma once

struct SoundOutput;

// Sound through WebAudio; silent (and nothing fails) where the browser has none.
SoundOutput* soundOutputOpenWeb();

// Browsers start audio only inside a user's gesture (a click, a touch's end, a key): the
// platform calls this from those events. Does nothing once audio runs.
void webAudioUnlock();
