// The weighted word base as it must come out, worked out one source byte at a
// time with no blocks or runs, so that it shares no structure with the writer
// it checks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ExpectedWeightedForm(const uint8_t* data, size_t length) {
    constexpr uint8_t kMarker = 0x80;
    constexpr uint8_t kFirstWeight = 25;
    constexpr size_t kGroupBytes = 3;

    std::vector<uint8_t> out;
    out.push_back(kMarker);
    uint8_t weight = kFirstWeight;
    size_t i = 0;
    while (i < length) {
        uint8_t b = data[i];
        if (b == 0) break;                  // end of the source
        if (b < 0x80) {                     // a key byte: the next group starts a new entry
            out.push_back(b);
            weight = kFirstWeight;
            ++i;
            continue;
        }
        if (length - i < kGroupBytes) break;  // a group cut off by the end is dropped
        out.insert(out.end(), data + i, data + i + kGroupBytes);
        out.push_back(weight);
        if (weight > 1) --weight;
        i += kGroupBytes;
    }
    return out;
}
