// shell.cpp: the frame clock and the split of elapsed time into game steps.
#include "app/shell.h"

uint64_t readClock(ShellState& shell) {
    return platformReadClock(shell.platform);
}

uint64_t shellStartClock(ShellState& shell) {
    const uint64_t frequency = platformClockFrequency(shell.platform);
    shell.hasPerformanceCounter = frequency != 0;
    shell.counterFrequency = frequency != 0 ? frequency : 1000;
    shell.startCounter = readClock(shell);
    return shell.startCounter;
}

int frameSteps(double elapsedSeconds, Fixed steps[2]) {
    if (!(elapsedSeconds > 0.005))
        return 0;
    double rest = elapsedSeconds > 0.1 ? 0.1 : elapsedSeconds;
    int count = 0;
    while (rest > 0.05) {
        steps[count++] = kMaxStep;
        rest -= 0.05;
    }
    // Through single precision: a step's raw value depends on this rounding, and a match plays
    // identically for a seed and taps only with identical steps.
    const float restFloat = static_cast<float>(rest);
    steps[count++] = static_cast<Fixed>(restFloat * 65536.0f);
    return count;
}
