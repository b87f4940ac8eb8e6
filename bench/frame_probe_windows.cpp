// frame_probe for the Windows game: a stand-in SDL.dll, put beside the game in a copy of
// its folder with the real one renamed SDL_real.dll. Every other export is forwarded to
// SDL_real.dll by the .def that bench/run makes from the real DLL's export table; only
// SDL_UpdateRect passes through here, to be timestamped as frame_probe.cpp does it on
// Linux, in the same log format:
//   MEADOW_PROBE_START  the wall-clock time of the exec, in seconds since 1970
//   MEADOW_PROBE_LOG    the file to write (a Windows path); without it, standard error
// "first MS CPU" after the first update, then "MS FRAMES" at most every 100 ms.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

struct SDL_Surface;
using UpdateRectFn = void(__cdecl*)(SDL_Surface*, int32_t, int32_t, uint32_t, uint32_t);

// A stand-in library has only its calls to live in: its state lasts the whole process.
struct Probe {
    UpdateRectFn real;
    FILE* log;
    double start;
    double nextReport;
    unsigned long frames;
};
Probe probe;

// FILETIME counts 100 ns steps since 1601; the start comes in seconds since 1970.
constexpr double kFileTimeSteps = 1e7;
constexpr uint64_t kStepsFrom1601To1970 = 116444736000000000ULL;

uint64_t Steps(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

double NowSeconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<double>(Steps(now) - kStepsFrom1601To1970) / kFileTimeSteps;
}

// The process's user and kernel time so far; under Wine the wineserver's is not in it.
double CpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    return static_cast<double>(Steps(kernel) + Steps(user)) / (kFileTimeSteps / 1000.0);
}

void StartProbe() {
    HMODULE real = LoadLibraryA("SDL_real.dll");
    if (real != nullptr) {
        probe.real = reinterpret_cast<UpdateRectFn>(
            reinterpret_cast<void*>(GetProcAddress(real, "SDL_UpdateRect")));
    }
    const char* path = getenv("MEADOW_PROBE_LOG");
    // Binary: the log's lines end as frame_probe's do, without Windows' CR.
    probe.log = path != nullptr ? fopen(path, "wb") : nullptr;
    if (probe.log == nullptr) {
        probe.log = stderr;
    }
    const char* start = getenv("MEADOW_PROBE_START");
    probe.start = start != nullptr ? strtod(start, nullptr) : NowSeconds();
}

}  // namespace

extern "C" void __cdecl SDL_UpdateRect(SDL_Surface* screen, int32_t x, int32_t y, uint32_t w,
                                       uint32_t h) {
    if (probe.log == nullptr) {
        StartProbe();
    }
    if (probe.real != nullptr) {
        probe.real(screen, x, y, w, h);
    }
    const double now = NowSeconds();
    const double sinceStart = (now - probe.start) * 1000.0;
    if (++probe.frames == 1) {
        fprintf(probe.log, "first %.3f %.3f\n", sinceStart, CpuMilliseconds());
    }
    if (now >= probe.nextReport) {
        fprintf(probe.log, "%.3f %lu\n", sinceStart, probe.frames);
        fflush(probe.log);
        probe.nextReport = now + 0.1;
    }
}
