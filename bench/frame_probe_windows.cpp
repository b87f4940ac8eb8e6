// frame_probe for the Windows game: a stand-in SDL.dll, put beside the game in a copy of
// its folder with the real one renamed SDL_real.dll. Every other export is forwarded to
// SDL_real.dll by the .def that bench/run makes from the real DLL's export table; only
// SDL_UpdateRect passes through here, to be timestamped as frame_probe.cpp does it on
// Linux, in the same log (probe_log.h; MEADOW_PROBE_LOG is a Windows path here).
#include <windows.h>

#include <cstdint>

#include "probe_log.h"

namespace {

struct SDL_Surface;
using UpdateRectFn = void(__cdecl*)(SDL_Surface*, int32_t, int32_t, uint32_t, uint32_t);

UpdateRectFn gReal = nullptr;  // a stand-in library's state lasts the whole process
ProbeLog gLog;

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

}  // namespace

extern "C" void __cdecl SDL_UpdateRect(SDL_Surface* screen, int32_t x, int32_t y, uint32_t w,
                                       uint32_t h) {
    if (gLog.file == nullptr) {
        HMODULE real = LoadLibraryA("SDL_real.dll");
        if (real != nullptr) {
            gReal = reinterpret_cast<UpdateRectFn>(
                reinterpret_cast<void*>(GetProcAddress(real, "SDL_UpdateRect")));
        }
        OpenProbeLog(&gLog, NowSeconds());
    }
    if (gReal != nullptr) {
        gReal(screen, x, y, w, h);
    }
    LogUpdate(&gLog, NowSeconds(), CpuMilliseconds);
}
