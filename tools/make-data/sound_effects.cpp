// sound_effects.cpp: the designs of the bounces, the net, the strokes, the serves, the grunt and
// the applause, and the three calls.
#include "sound_effects.h"

#include <cmath>
#include <stdexcept>

#include "assets/sound_set.h"
#include "sound_synthesis.h"
#include "spoken_calls.h"
#include "writers/wav_writer.h"

namespace {

// Each design has its own seed so changing one sound leaves the others' bytes alone.
enum : uint32_t {
    kSeedApplause = 0xA11A05E5u,
    kSeedBounce = 0xB0B0B0B0u,
    kSeedNet = 0x4E7E4E7Eu,
    kSeedStroke = 0x57120CEu,
    kSeedServe = 0x5E2E5E2Eu,
    kSeedGrunt = 0x6A6A6A6Au,
};

// A ball on the court: a short falling thump with a little grit from the surface.
Signal bounce(float startHz, float endHz, float tau, float grit, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    Signal out = dampedSine(startHz, endHz, 0.04f, tau, 0.2f);
    mixInto(out, noiseBurst(noise, 1300.0f, 1.2f, 0.0005f, 0.006f, 0.05f), 0, grit);
    mixInto(out, dampedSine(startHz * 2.7f, endHz * 2.7f, 0.02f, tau * 0.3f, 0.08f), 0, 0.25f);
    return out;
}

// The strings meeting the ball: a bright "pock" of the string bed over a hollow frame knock.
// `force` from 0 (soft) to 1 (hard) makes it louder, brighter and heavier.
Signal racketHit(float force, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    const float length = 0.22f + 0.08f * force;
    Signal out = dampedSine(610.0f + 120.0f * force, 560.0f, 0.03f, 0.018f + 0.01f * force, length);
    mixInto(out, dampedSine(1240.0f, 1180.0f, 0.02f, 0.012f, length), 0, 0.35f + 0.35f * force);
    mixInto(out, dampedSine(2650.0f, 2600.0f, 0.02f, 0.006f, 0.1f), 0, 0.1f + 0.3f * force);
    mixInto(out, noiseBurst(noise, 2400.0f + 1200.0f * force, 1.0f, 0.0004f, 0.003f, 0.04f), 0,
            0.8f + 0.8f * force);
    mixInto(out, dampedSine(170.0f, 120.0f, 0.05f, 0.03f, length), 0, 0.2f + 0.5f * force);
    return out;
}

// Air cut by a racket swung hard: noise whose band rises and swells toward the hit.
Signal swish(NoiseSource& noise, float seconds) {
    Signal out(samplesFor(seconds));
    Biquad band = makeBandPass(500.0, 1.5);
    for (size_t i = 0; i < out.size(); ++i) {
        const float x = static_cast<float>(i) / static_cast<float>(out.size());
        if (i % 32 == 0)
            retuneBandPass(band, 500.0 + 2500.0 * x * x, 1.5);
        out[i] = runBiquad(band, nextNoise(noise)) * x * x * x;
    }
    return out;
}

Signal serve(float force, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    const float swishTime = 0.18f;
    Signal out = swish(noise, swishTime);
    for (float& s : out)
        s *= 0.35f;
    mixInto(out, racketHit(force, seed + 1), samplesFor(swishTime), 1.0f);
    return out;
}

// A voiced "hah" under effort: a glottal pulse train falling in pitch, shaped by the formants
// of an open vowel, with breath noise.
Signal grunt(uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    const float seconds = 0.42f;
    Signal source(samplesFor(seconds));
    double phase = 0.0;
    Biquad tilt = makeLowPass(1800.0, 0.7);
    for (size_t i = 0; i < source.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const double hz = 175.0 - 55.0 * (t / seconds) + 3.0 * std::sin(2.0 * 3.14159 * 6.0 * t);
        phase += hz / kSampleRate;
        phase -= std::floor(phase);
        // A pulse that opens slowly and shuts fast, like vocal folds.
        const float pulse = phase < 0.6 ? static_cast<float>(phase / 0.6)
                                        : static_cast<float>(1.0 - (phase - 0.6) / 0.4) * 0.2f;
        const float breath = nextNoise(noise) * 0.25f;
        const float envelope = attackDecay(t, 0.03f, 0.16f);
        source[i] = runBiquad(tilt, pulse - 0.5f + breath) * envelope;
    }
    Signal out(source.size(), 0.0f);
    const double formants[3][3] = {{720.0, 6.0, 1.0}, {1150.0, 8.0, 0.55}, {2600.0, 10.0, 0.2}};
    for (const auto& f : formants) {
        Biquad band = makeBandPass(f[0], f[1]);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += runBiquad(band, source[i]) * static_cast<float>(f[2]);
    }
    return out;
}

Signal serveWithGrunt(uint32_t seed) {
    Signal out = normalised(serve(1.0f, seed), 1.0f);
    mixInto(out, normalised(grunt(seed + 7), 0.8f), samplesFor(0.17f), 1.0f);
    return out;
}

// Ball into the net: a soft thud, the mesh rustling and the cord rattling briefly.
Signal netHit(uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    Signal out = dampedSine(140.0f, 90.0f, 0.06f, 0.05f, 0.45f);
    mixInto(out, noiseBurst(noise, 450.0f, 0.8f, 0.008f, 0.09f, 0.45f), 0, 2.5f);
    mixInto(out, noiseBurst(noise, 1600.0f, 2.0f, 0.002f, 0.02f, 0.1f), samplesFor(0.05f), 0.6f);
    mixInto(out, noiseBurst(noise, 1400.0f, 2.0f, 0.002f, 0.02f, 0.1f), samplesFor(0.12f), 0.4f);
    return out;
}

// A crowd clapping: hundreds of short claps, dense at first and thinning out, over a murmur.
Signal applause(uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    const float seconds = 2.1f;
    Signal out(samplesFor(seconds), 0.0f);
    const int claps = 420;
    for (int c = 0; c < claps; ++c) {
        // Later claps are rarer: squaring a uniform number crowds the start.
        const float u = nextUniform(noise);
        const float start = (seconds - 0.1f) * u * u + 0.02f * nextUniform(noise);
        const float centre = 800.0f + 1600.0f * nextUniform(noise);
        const float gain = 0.4f + 0.6f * nextUniform(noise);
        mixInto(
            out,
            noiseBurst(noise, centre, 1.8f, 0.001f, 0.006f + 0.006f * nextUniform(noise), 0.06f),
            samplesFor(start), gain);
    }
    Biquad murmur = makeLowPass(700.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        out[i] += runBiquad(murmur, nextNoise(noise)) * 0.25f * attackDecay(t, 0.2f, 0.9f);
    }
    return out;
}

std::vector<int16_t> makeSamples(int id) {
    switch (id) {
    case SoundApplause:
        return finishSound(applause(kSeedApplause), 0.7f, 0.03f, 0.5f);
    case SoundBounce1:
        return finishSound(bounce(230.0f, 130.0f, 0.022f, 0.5f, kSeedBounce), 0.8f, 0.003f, 0.05f);
    case SoundBounce2:
        return finishSound(bounce(180.0f, 100.0f, 0.035f, 0.3f, kSeedBounce + 1), 0.65f, 0.003f,
                           0.05f);
    case SoundNet:
        return finishSound(netHit(kSeedNet), 0.7f, 0.002f, 0.1f);
    case SoundFault:
        return speakCall("Fault");
    case SoundOut:
        return speakCall("Out");
    case SoundLet:
        return speakCall("Let");
    case SoundServeGrunt:
        return finishSound(serveWithGrunt(kSeedGrunt), 0.9f, 0.01f, 0.08f);
    case SoundServe:
        return finishSound(serve(0.9f, kSeedServe), 0.85f, 0.01f, 0.05f);
    case SoundStroke1:
        return finishSound(racketHit(0.0f, kSeedStroke), 0.55f, 0.003f, 0.05f);
    case SoundStroke2:
        return finishSound(racketHit(0.5f, kSeedStroke + 1), 0.7f, 0.003f, 0.05f);
    case SoundStroke3:
        return finishSound(racketHit(1.0f, kSeedStroke + 2), 0.9f, 0.003f, 0.05f);
    default:
        throw std::invalid_argument("no such sound");
    }
}

} // namespace

std::vector<uint8_t> makeSoundEffect(int id) {
    return buildWav(makeSamples(id));
}

void addSoundEffects(std::vector<PakWriterEntry>& entries) {
    for (int id = 0; id < kSoundCount; ++id)
        entries.push_back(
            {WideString(u"D:\\VELDAR\\Data\\Sounds\\") + kSoundFileNames[id], makeSoundEffect(id)});
}
