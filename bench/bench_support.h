#pragma once
// What the benchmarks share.
#include "bench_db.h"
#include "core/errors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <memory>
#include <QUuid>
#include <sys/resource.h>
#include <cstdlib>

// The process's peak resident memory so far, in megabytes (getrusage gives kilobytes on Linux).
inline double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// main() of a benchmark over one SQLite and one PostgreSQL backend: an offscreen application;
// each backend opened by open(pg) (false: PostgreSQL unset, its backend dropped); then the
// registrations, the run, and the backends closed. A failed set-up ends with its message.
template <class Backend>
int runBackendBenchmarks(int argc, char **argv, std::unique_ptr<Backend> &sqlite, std::unique_ptr<Backend> &pg,
                         const char *what, const std::function<void()> &registerAll)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        QElapsedTimer t;
        t.start();
        sqlite = std::make_unique<Backend>();
        sqlite->open(false);
        std::fprintf(stderr, "SQLite: %s in %.1f s\n", what, t.elapsed() / 1000.0);
        t.restart();
        pg = std::make_unique<Backend>();
        if (pg->open(true))
            std::fprintf(stderr, "PostgreSQL: %s in %.1f s\n", what, t.elapsed() / 1000.0);
        else
            pg.reset();
    } catch (const AppError &e) {
        std::fprintf(stderr, "set-up failed: %s\n", qPrintable(e.message()));
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pg.reset();
    sqlite.reset();
    return 0;
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

// A figure of /proc/self/status ("VmHWM:", "VmRSS:") in megabytes.
inline double statusMb(const char *key)
{
    double kb = 0;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, key, std::strlen(key)) == 0)
                kb = std::atof(line + std::strlen(key));
        std::fclose(f);
    }
    return kb / 1024.0;
}

inline double peakRssSinceResetMb() { return statusMb("VmHWM:"); }
inline double currentRssMb() { return statusMb("VmRSS:"); }
