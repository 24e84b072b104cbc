// Transcoding of the word base into its weighted form; see word_base.h.
// The output is collected in a block of our own and handed to the sink a
// whole block at a time: the word base is over 8 MB of 3-byte groups, and a
// stream call for every group and every weight byte cost about eight times as
// long as writing the same number of bytes unchanged.
#include "install/word_base.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 64 * 1024;

// The block being filled and the sink it goes to. One at a time: the setup
// program writes its files one after another on one thread.
struct Block {
    uint8_t bytes[kBlockSize];
    size_t used;
    ByteSink sink;
    void* target;
};
Block g_block;

bool Flush() {
    size_t count = g_block.used;
    g_block.used = 0;
    return count == 0 || g_block.sink(g_block.target, g_block.bytes, count) != 0;
}

bool Put(const uint8_t* bytes, size_t count) {
    while (count > 0) {
        if (g_block.used == kBlockSize && !Flush()) return false;
        size_t room = kBlockSize - g_block.used;
        size_t part = count < room ? count : room;
        memcpy(g_block.bytes + g_block.used, bytes, part);
        g_block.used += part;
        bytes += part;
        count -= part;
    }
    return true;
}

// A group and its weight, the bulk of the output.
bool PutGroup(const uint8_t* group, uint8_t weight) {
    if (kBlockSize - g_block.used < 4 && !Flush()) return false;
    uint8_t* at = g_block.bytes + g_block.used;
    at[0] = group[0];
    at[1] = group[1];
    at[2] = group[2];
    at[3] = weight;
    g_block.used += 4;
    return true;
}

int Transcode(const uint8_t* data, size_t length) {
    const uint8_t marker = kWeightedWordBaseMarker;
    if (!Put(&marker, 1)) return 0;

    size_t pos = 0;
    while (pos < length && data[pos] != 0) {
        size_t runStart = pos;
        while (pos < length && data[pos] != 0 && data[pos] < 0x80) ++pos;
        if (pos > runStart && !Put(data + runStart, pos - runStart)) return 0;

        uint8_t weight = kFirstGroupWeight;
        while (pos < length && data[pos] >= 0x80) {
            if (length - pos < 3) return 1;  // a cut-off group is dropped
            if (!PutGroup(data + pos, weight)) return 0;
            if (weight > 1) --weight;
            pos += 3;
        }
    }
    return 1;
}

}  // namespace

int WriteWeightedWordBase(const uint8_t* data, size_t length, ByteSink sink, void* target) {
    g_block.used = 0;
    g_block.sink = sink;
    g_block.target = target;
    int complete = Transcode(data, length);
    // The rest of the block goes out at the end; after a failed write the
    // block is already empty and the result stays the failure.
    bool flushed = Flush();
    return complete && flushed;
}
