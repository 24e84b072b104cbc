// The weighted form of the phrase word base "pycizudic.idx".
//
// Source form: entries, then a zero byte. An entry is an ASCII key (bytes
// 0x01..0x7F) followed by 3-byte groups whose first byte is 0x80 or above.
// Weighted form: the marker byte 0x80, then the same entries with one weight
// byte after every group: 25 for an entry's first group, one less for each
// further group, never below 1. Readers tell the forms apart by the marker.
//
// Plain C++, no Win32 and no file of its own: the output goes to a byte
// sink the caller gives, so it can also be built natively.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint8_t kWeightedWordBaseMarker = 0x80;
constexpr uint8_t kFirstGroupWeight = 25;

// Takes count bytes for the output; returns 1 when all of them were taken,
// else 0.
using ByteSink = int (*)(void* target, const uint8_t* bytes, size_t count);

// Writes data[0..length) in weighted form through sink(target, ...). The zero byte that ends the
// source and everything after it are not written. A group cut short by the end
// of the data is dropped, so the output never holds a group without its
// weight. Returns 1 when the sink took every byte, else 0.
int WriteWeightedWordBase(const uint8_t* data, size_t length, ByteSink sink, void* target);

// The same transcoding for a source that arrives in pieces, as the install
// run inflates it: Begin, then Put every piece in order, then End. The pieces
// may cut the source anywhere, a group included; the output is byte for byte
// what WriteWeightedWordBase gives for the whole. One transcoding at a time.
struct WeightedWordBaseState {
    uint8_t weight;     // of the next group
    uint8_t held[3];    // a group the last piece cut short, being made whole
    uint8_t heldCount;
    bool ended;         // the zero byte was seen: the rest is not written
    bool failed;        // the sink refused bytes
};
void BeginWeightedWordBase(WeightedWordBaseState* state, ByteSink sink, void* target);
// Returns 1 while the sink has taken everything so far.
int PutWeightedWordBase(WeightedWordBaseState* state, const uint8_t* data, size_t length);
// Hands the sink what waits (a group still cut short is dropped); returns 1
// when the sink took every byte of the transcoding.
int EndWeightedWordBase(WeightedWordBaseState* state);
