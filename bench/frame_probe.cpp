// Preloaded into an SDL 1.2 program (LD_PRELOAD), timestamps its SDL_UpdateRect calls
// from outside, so the program itself carries no timing code; probe_log.h says what it
// writes.
#include <SDL/SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>

#include <ctime>

#include "probe_log.h"

namespace {

using UpdateRectFn = void (*)(SDL_Surface*, Sint32, Sint32, Uint32, Uint32);

UpdateRectFn gReal = nullptr;  // the interposer's state lasts the whole process
ProbeLog gLog;

double NowSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double CpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

}  // namespace

extern "C" void SDL_UpdateRect(SDL_Surface* screen, Sint32 x, Sint32 y, Uint32 w, Uint32 h) {
    if (gLog.file == nullptr) {
        gReal = reinterpret_cast<UpdateRectFn>(dlsym(RTLD_NEXT, "SDL_UpdateRect"));
        OpenProbeLog(&gLog, NowSeconds());
    }
    if (gReal != nullptr) {
        gReal(screen, x, y, w, h);
    }
    LogUpdate(&gLog, NowSeconds(), CpuMilliseconds);
}
