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

// Every struck sound starts after this much silence, so the fade-in that keeps the file's first
// sample quiet lies wholly before the attack instead of blunting it.
constexpr float kLeadIn = 0.0015f;
constexpr float kStrikeFadeIn = 0.0012f;

// A ball on the court: the hollow "pock" of the ball's shell around `bodyHz` (where small
// speakers still play it), a short higher click off the surface, and a little low weight.
Signal bounce(float bodyHz, float tau, float click, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    Signal out = dampedSine(bodyHz * 1.2f, bodyHz, 0.012f, tau, 0.16f);
    mixInto(out, dampedSine(bodyHz * 2.7f, bodyHz * 2.5f, 0.01f, tau * 0.35f, 0.05f), 0, 0.4f);
    mixInto(out, noiseCrack(noise, 1800.0f, 0.0002f, 0.0012f, 0.02f), 0, click);
    mixInto(out, dampedSine(170.0f, 120.0f, 0.02f, 0.012f, 0.1f), 0, 0.3f);
    return delayed(out, kLeadIn);
}

// The ball on the strings: a broadband crack as the strings catch it, the ball's shell ringing
// briefly, a string "ping" and the frame's knock. `force` from 0 (soft) to 1 (hard) changes
// the character, not only the level: a soft hit is a dull, rounder "thup" with a long contact;
// a hard hit a sharp crack with a bright ping and a heavier frame.
Signal racketHit(float force, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    Signal out =
        noiseCrack(noise, 1500.0f + 1500.0f * force, 0.0003f, 0.003f - 0.001f * force, 0.03f);
    for (float& s : out)
        s *= 0.9f + 0.3f * force;
    // The parts answer the contact one after another, not all at its first instant, as the
    // ball sinks into the strings and leaves them.
    const float shellHz = 780.0f + 380.0f * force;
    mixInto(out, dampedSine(shellHz * 1.15f, shellHz, 0.006f, 0.011f - 0.003f * force, 0.12f),
            samplesFor(0.0012f), 1.0f);
    mixInto(out,
            dampedSine(2500.0f + 900.0f * force, 2450.0f + 850.0f * force, 0.01f, 0.004f, 0.04f),
            samplesFor(0.0004f), 0.25f + 0.45f * force);
    mixInto(out, dampedSine(420.0f, 380.0f, 0.01f, 0.008f, 0.08f), samplesFor(0.0008f),
            0.5f - 0.2f * force);
    mixInto(out, dampedSine(180.0f, 150.0f, 0.02f, 0.012f, 0.08f), samplesFor(0.002f),
            0.15f + 0.25f * force);
    return delayed(out, kLeadIn);
}

// The racket carrying on through the air after the ball has gone: a band of noise falling
// and fading.
Signal followThrough(NoiseSource& noise, float seconds) {
    Signal out(samplesFor(seconds));
    Biquad band = makeBandPass(2400.0, 1.5);
    for (size_t i = 0; i < out.size(); ++i) {
        const float x = static_cast<float>(i) / static_cast<float>(out.size());
        if (i % 32 == 0)
            retuneBandPass(band, 2400.0 - 1800.0 * x, 1.5);
        out[i] = runBiquad(band, nextNoise(noise)) * attackDecay(x * seconds, 0.02f, 0.05f);
    }
    return out;
}

// The hit comes first: the serve is played at the moment of the stroke.
Signal serve(float force, uint32_t seed) {
    NoiseSource noise = makeNoise(seed);
    Signal out = racketHit(force, seed + 1);
    mixInto(out, followThrough(noise, 0.22f), samplesFor(kLeadIn + 0.008f), 0.3f);
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

// The effort is voiced as the ball is struck, so the grunt starts just after the hit.
Signal serveWithGrunt(uint32_t seed) {
    Signal out = normalised(serve(1.0f, seed), 1.0f);
    mixInto(out, normalised(grunt(seed + 7), 0.6f), samplesFor(kLeadIn + 0.025f), 1.0f);
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

// How loud each sound is heard (LUFS over its loudest 100 ms, K-weighted); the table in
// docs/art.md. The hits, heard most often, sit close to the calls, and the stronger a stroke
// the louder it is.
constexpr double kLoudnessApplause = -16.0;
constexpr double kLoudnessBounce = -16.0;
constexpr double kLoudnessNet = -16.0;
constexpr double kLoudnessCall = -14.0;
constexpr double kLoudnessServe = -14.0;
constexpr double kLoudnessStroke[3] = {-18.0, -16.0, -14.0};

std::vector<int16_t> makeSamples(int id) {
    switch (id) {
    case SoundApplause:
        return finishSound(applause(kSeedApplause), kLoudnessApplause, 0.03f, 0.5f);
    case SoundBounce1:
        return finishSound(bounce(470.0f, 0.012f, 0.5f, kSeedBounce), kLoudnessBounce,
                           kStrikeFadeIn, 0.04f);
    case SoundBounce2:
        return finishSound(bounce(390.0f, 0.016f, 0.3f, kSeedBounce + 1), kLoudnessBounce,
                           kStrikeFadeIn, 0.04f);
    case SoundNet:
        return finishSound(netHit(kSeedNet), kLoudnessNet, 0.002f, 0.1f);
    case SoundFault:
        return speakCall("Fault", kLoudnessCall);
    case SoundOut:
        return speakCall("Out", kLoudnessCall);
    case SoundLet:
        return speakCall("Let", kLoudnessCall);
    case SoundServeGrunt:
        return finishSound(serveWithGrunt(kSeedGrunt), kLoudnessServe, kStrikeFadeIn, 0.08f);
    case SoundServe:
        return finishSound(serve(0.9f, kSeedServe), kLoudnessServe, kStrikeFadeIn, 0.05f);
    case SoundStroke1:
        return finishSound(racketHit(0.0f, kSeedStroke), kLoudnessStroke[0], kStrikeFadeIn, 0.04f);
    case SoundStroke2:
        return finishSound(racketHit(0.5f, kSeedStroke + 1), kLoudnessStroke[1], kStrikeFadeIn,
                           0.04f);
    case SoundStroke3:
        return finishSound(racketHit(1.0f, kSeedStroke + 2), kLoudnessStroke[2], kStrikeFadeIn,
                           0.04f);
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
