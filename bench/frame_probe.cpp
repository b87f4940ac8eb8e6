// Preloaded into an SDL 1.2 program (LD_PRELOAD), timestamps its SDL_UpdateRect calls
// from outside, so the program itself carries no timing code.
//   MEADOW_PROBE_START  the wall-clock time of the exec, in seconds (bash: $EPOCHREALTIME)
//   MEADOW_PROBE_LOG    the file to write; without it, standard error
// It writes "first MS CPU" after the first update (milliseconds since the start, and the
// process's CPU time so far in milliseconds), then "MS FRAMES" (updates so far) at most
// every 100 ms, at an update.
#include <SDL/SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using UpdateRectFn = void (*)(SDL_Surface*, Sint32, Sint32, Uint32, Uint32);

// An interposer has only its calls to live in: its state lasts the whole process.
struct Probe {
    UpdateRectFn real;
    FILE* log;
    double start;
    double nextReport;
    unsigned long frames;
};
Probe probe;

double NowSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void StartProbe() {
    probe.real = reinterpret_cast<UpdateRectFn>(dlsym(RTLD_NEXT, "SDL_UpdateRect"));
    const char* path = getenv("MEADOW_PROBE_LOG");
    probe.log = path != nullptr ? fopen(path, "w") : nullptr;
    if (probe.log == nullptr) {
        probe.log = stderr;
    }
    const char* start = getenv("MEADOW_PROBE_START");
    probe.start = start != nullptr ? strtod(start, nullptr) : NowSeconds();
}

}  // namespace

extern "C" void SDL_UpdateRect(SDL_Surface* screen, Sint32 x, Sint32 y, Uint32 w, Uint32 h) {
    if (probe.real == nullptr) {
        StartProbe();
    }
    if (probe.real != nullptr) {
        probe.real(screen, x, y, w, h);
    }
    const double now = NowSeconds();
    const double sinceStart = (now - probe.start) * 1000.0;
    if (++probe.frames == 1) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        fprintf(probe.log, "first %.3f %.3f\n", sinceStart, cpu);
    }
    if (now >= probe.nextReport) {
        fprintf(probe.log, "%.3f %lu\n", sinceStart, probe.frames);
        fflush(probe.log);
        probe.nextReport = now + 0.1;
    }
}
