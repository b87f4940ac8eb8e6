// The log both frame probes write, so that bench/run reads the Linux and the Windows game
// alike:
//   MEADOW_PROBE_START  the wall-clock time of the exec, in seconds since 1970
//   MEADOW_PROBE_LOG    the file to write; without it, standard error
// "first MS CPU" after the first update (milliseconds since the start, and the process's
// CPU time so far in milliseconds), then "MS FRAMES" (updates so far) at most every
// 100 ms, at an update.
#pragma once

#include <cstdio>
#include <cstdlib>

// A probe has only its calls to live in: its log lasts the whole process.
struct ProbeLog {
    FILE* file = nullptr;
    double start = 0;
    double nextReport = 0;
    unsigned long frames = 0;
};

// Binary, so the lines end alike everywhere, without Windows' CR.
inline void OpenProbeLog(ProbeLog* log, double now) {
    const char* path = getenv("MEADOW_PROBE_LOG");
    log->file = path != nullptr ? fopen(path, "wb") : nullptr;
    if (log->file == nullptr) {
        log->file = stderr;
    }
    const char* start = getenv("MEADOW_PROBE_START");
    log->start = start != nullptr ? strtod(start, nullptr) : now;
}

// One update at now (seconds since 1970); cpu() is asked for at the first one only.
template <typename CpuMilliseconds>
void LogUpdate(ProbeLog* log, double now, CpuMilliseconds cpu) {
    const double sinceStart = (now - log->start) * 1000.0;
    if (++log->frames == 1) {
        fprintf(log->file, "first %.3f %.3f\n", sinceStart, cpu());
    }
    if (now >= log->nextReport) {
        fprintf(log->file, "%.3f %lu\n", sinceStart, log->frames);
        fflush(log->file);
        log->nextReport = now + 0.1;
    }
}
