// The whole-second clock; see clock.h.
#include "runtime/clock.h"

#include <windows.h>

namespace {

constexpr uint32_t kFileTimeTicksPerSecond = 10000000;  // 100-nanosecond ticks

// value / divisor by long division one byte at a time, so that every step
// is a 32-bit division (the remainder stays below the divisor, below 2^24)
// and the program needs no 64-bit division helper.
uint64_t DivideBy(uint64_t value, uint32_t divisor) {
    uint64_t quotient = 0;
    uint32_t remainder = 0;
    for (int shift = 56; shift >= 0; shift -= 8) {
        remainder = (remainder << 8) | static_cast<uint32_t>((value >> shift) & 0xFF);
        quotient = (quotient << 8) | (remainder / divisor);
        remainder %= divisor;
    }
    return quotient;
}

}  // namespace

int64_t WholeSecondsNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(DivideBy(ticks, kFileTimeTicksPerSecond));
}
