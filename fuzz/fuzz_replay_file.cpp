// fuzz_replay_file.cpp: any bytes as a replay file. The checksum is public, so the target signs
// the inputs of even length as a forger would and the checks behind it are what is fuzzed; a
// file that passes them is read to its end as a player reads it, and must hold what the checks
// promised.
#include <cstdint>
#include <string>
#include <vector>

#include "core/display.h"
#include "frontend/replay_file.h"

namespace {

void sign(std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4)
        return;
    const uint32_t sum = replayChecksum(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(sum >> (8 * i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    if (size % 2 == 0)
        sign(bytes);
    ReplayFile replay;
    std::string error;
    if (!parseReplayBytes(std::move(bytes), "fuzz.replay", replay, error)) {
        if (error.rfind("fuzz.replay: ", 0) != 0)
            __builtin_trap(); // every refusal names the file
        return 0;
    }
    ReplayReader reader;
    startReplayReader(replay, reader);
    for (uint32_t i = 0; i < replay.outcome.stepCount; ++i) {
        const Fixed dt = readReplayStep(reader);
        if (dt < 0 || dt > kReplayMaxStep)
            __builtin_trap();
    }
    uint32_t lastStep = 0;
    for (uint32_t i = 0; i < replay.outcome.eventCount; ++i) {
        const ReplayEvent e = readReplayEvent(reader);
        const bool stylus =
            e.kind == ReplayEventKind::StylusDown || e.kind == ReplayEventKind::StylusUp;
        if (e.step < lastStep || e.step > replay.outcome.stepCount ||
            (stylus && (e.x < 0 || e.x >= kScreenWidth || e.y < 0 || e.y >= kScreenHeight)))
            __builtin_trap(); // the player would be handed what the checks refused
        lastStep = e.step;
    }
    return 0;
}
