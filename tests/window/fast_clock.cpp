// fast_clock.cpp: a library the window tests preload into the game to run its clock faster, so a
// whole match plays out in seconds of a test's time while the game itself is unchanged: the
// monotonic clocks it and SDL read advance FAST_CLOCK_SPEED times as fast as real time (1 when
// unset) until the process gets SIGUSR1, from when on they go at the real pace again, without a
// jump. The frame loop still caps a frame at 0.1 s of game time, so the match sees what a slow
// machine would show it: frames of 0.1 s in steps of 0.05 s.
#include <dlfcn.h>
#include <signal.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace {

using ClockFunction = int (*)(clockid_t, timespec*);

constexpr int64_t kNanosecondsPerSecond = 1000000000;
// Clock ids are small numbers; the monotonic ones lie below this.
constexpr int kClockIds = 16;
static_assert(CLOCK_MONOTONIC < kClockIds && CLOCK_MONOTONIC_RAW < kClockIds &&
              CLOCK_MONOTONIC_COARSE < kClockIds && CLOCK_BOOTTIME < kClockIds);

std::atomic<int> wantedSpeed{1};

// Where the shown clock stood when the speed last changed, per clock.
struct ClockBase {
    bool set = false;
    int64_t real = 0;
    int64_t shown = 0;
    int speed = 1;
};

std::mutex baseLock;
ClockBase bases[kClockIds];

ClockFunction realClock() {
    static const auto function = reinterpret_cast<ClockFunction>(dlsym(RTLD_NEXT, "clock_gettime"));
    return function;
}

// The wall clock stays true: replay files are named by the time of day.
bool runsFast(clockid_t id) {
    return id == CLOCK_MONOTONIC || id == CLOCK_MONOTONIC_RAW || id == CLOCK_MONOTONIC_COARSE ||
           id == CLOCK_BOOTTIME;
}

void backToRealPace(int) {
    wantedSpeed = 1;
}

__attribute__((constructor)) void startFastClock() {
    if (const char* speed = std::getenv("FAST_CLOCK_SPEED"); speed && std::atoi(speed) > 0)
        wantedSpeed = std::atoi(speed);
    signal(SIGUSR1, backToRealPace);
}

// The shown time for a real reading; a change of speed starts a new base where the old one
// had got to, so the clock never runs backwards.
int64_t shownTime(clockid_t id, int64_t real) {
    const std::lock_guard<std::mutex> guard(baseLock);
    ClockBase& base = bases[id];
    const int speed = wantedSpeed;
    if (!base.set) {
        base = {true, real, real, speed};
    } else if (speed != base.speed) {
        base.shown += (real - base.real) * base.speed;
        base.real = real;
        base.speed = speed;
    }
    return base.shown + (real - base.real) * base.speed;
}

} // namespace

extern "C" int clock_gettime(clockid_t id, timespec* time) {
    const ClockFunction real = realClock();
    if (!real)
        return -1;
    const int status = real(id, time);
    if (status != 0 || !runsFast(id))
        return status;
    const int64_t shown =
        shownTime(id, int64_t{time->tv_sec} * kNanosecondsPerSecond + time->tv_nsec);
    time->tv_sec = static_cast<time_t>(shown / kNanosecondsPerSecond);
    time->tv_nsec = static_cast<long>(shown % kNanosecondsPerSecond);
    return 0;
}
