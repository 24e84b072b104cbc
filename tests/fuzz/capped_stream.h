// A write-only stdio stream over memory that fails like a disk: it takes at
// most a given number of bytes (a write that does not fit is taken in part and
// reported short, every later one takes nothing), and it can refuse one chosen
// write outright while taking the others, like a write that failed once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

struct CappedSink {
    size_t capacity = SIZE_MAX;
    size_t refusedWrite = 0;       // 1-based number of the write to refuse; 0 for none
    size_t writes = 0;             // writes the stream has passed on so far
    bool shortWrite = false;       // some write was not taken whole
    std::vector<uint8_t> bytes;    // what was taken, in order
};

// Opens a stream over sink; buffered selects a small stdio buffer (a short
// write then shows at fflush), otherwise every fwrite reaches the sink.
FILE* OpenCappedStream(CappedSink* sink, bool buffered);
