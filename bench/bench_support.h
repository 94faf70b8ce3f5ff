#pragma once
// What the benchmarks share.
#include <sys/resource.h>

// The process's peak resident memory so far, in megabytes (getrusage gives kilobytes on Linux).
inline double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}
