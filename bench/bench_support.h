#pragma once
// What the benchmarks share.
#include <sys/resource.h>
#include <cstdlib>

// The process's peak resident memory so far, in megabytes (getrusage gives kilobytes on Linux).
inline double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// The resident high-water mark since the last resetPeakRss(), in megabytes (VmHWM; the kernel
// starts it again when "5" is written to clear_refs), so each benchmark sees its own peak.
#include <cstdio>
#include <cstring>
#include <malloc.h>

inline void resetPeakRss()
{
    malloc_trim(0); // what earlier work freed goes back to the system, so growth shows
    if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

inline double peakRssSinceResetMb()
{
    double kb = 0;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "VmHWM:", 6) == 0)
                kb = std::atof(line + 6);
        std::fclose(f);
    }
    return kb / 1024.0;
}

inline double currentRssMb()
{
    double kb = 0;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "VmRSS:", 6) == 0)
                kb = std::atof(line + 6);
        std::fclose(f);
    }
    return kb / 1024.0;
}
