// The benchmarks' clock and their one line of figures per measure, in the
// "key value" form scripts/bench.sh tabulates.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Milliseconds on the performance counter.
inline double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// "<key> median_ms .. min_ms .. max_ms .. runs .." for the times of one measure.
inline void Print(const char* key, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    printf("%s median_ms %.2f min_ms %.2f max_ms %.2f runs %d\n", key, times[times.size() / 2], times.front(),
           times.back(), static_cast<int>(times.size()));
}
