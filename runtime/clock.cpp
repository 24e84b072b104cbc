// The whole-second clock; see clock.h.
#include "runtime/clock.h"

#include <windows.h>

namespace {
constexpr uint64_t kFileTimeTicksPerSecond = 10000000;  // 100-nanosecond ticks
}

int64_t WholeSecondsNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / kFileTimeTicksPerSecond);
}
