// The weighted form of the phrase word base "pycizudic.idx".
//
// Source form: entries, then a zero byte. An entry is an ASCII key (bytes
// 0x01..0x7F) followed by 3-byte groups whose first byte is 0x80 or above.
// Weighted form: the marker byte 0x80, then the same entries with one weight
// byte after every group: 25 for an entry's first group, one less for each
// further group, never below 1. Readers tell the forms apart by the marker.
//
// Plain C++ over stdio, no Win32, so it can also be built natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr uint8_t kWeightedWordBaseMarker = 0x80;
constexpr uint8_t kFirstGroupWeight = 25;

// Writes data[0..length) in weighted form to out. The zero byte that ends the
// source and everything after it are not written. A group cut short by the end
// of the data is dropped, so the output never holds a group without its
// weight. Returns 1 when every write was complete, else 0.
int WriteWeightedWordBase(const uint8_t* data, size_t length, FILE* out);
