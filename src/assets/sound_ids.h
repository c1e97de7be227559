// sound_ids.h: the twelve sound effects by id, the order of their files in the archive.
#pragma once

enum SoundId : int {
    SoundApplause = 0,
    SoundBounce1 = 1,
    SoundBounce2 = 2,
    SoundNet = 3,
    SoundFault = 4,
    SoundOut = 5,
    SoundLet = 6,
    SoundServeGrunt = 7,
    SoundServe = 8,
    SoundStroke1 = 9,
    SoundStroke2 = 10,
    SoundStroke3 = 11,
};

constexpr int kSoundCount = 12;
