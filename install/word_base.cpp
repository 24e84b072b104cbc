// Transcoding of the word base into its weighted form; see word_base.h.
// The output is collected in a block of our own and handed to the sink a
// whole block at a time: the word base is over 8 MB of 3-byte groups, and a
// stream call for every group and every weight byte cost about eight times as
// long as writing the same number of bytes unchanged.
#include "install/word_base.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 256 * 1024;

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

// Transcodes from data[*pos] into the block until the block has no room for
// one more step, the data ends, or a zero byte or a group cut short by the
// end of the data ends it. One pass over the bytes with the output written
// in place: a key byte is copied and starts the weights again at 25; a
// group's first byte (0x80 or above) brings its two other bytes along, and
// its weight after them. Returns true when the data ended.
bool FillBlock(const uint8_t* data, size_t length, size_t* pos, uint8_t* weight) {
    uint8_t* out = g_block.bytes + g_block.used;
    uint8_t* const lastStep = g_block.bytes + kBlockSize - 4;
    size_t at = *pos;
    uint8_t w = *weight;
    bool ended = false;
    // Where four bytes can be read at once, they are read as one word: four
    // key bytes in a row (none zero, none 0x80 or above) are copied in one
    // step, as is a group with its weight. Each step must wait for the load
    // that tells where the next one starts, so fewer, shorter steps are what
    // makes it fast. One bound serves both the data and the block, since no
    // step makes more than four output bytes of three input bytes; it is
    // worked out again while the block has room for a good many steps. The
    // last few bytes of a block and of the data go one at a time below.
    constexpr size_t kFewSteps = 64;
    bool zero = false;
    while (!zero && length >= 4 && at <= length - 4 && out + kFewSteps <= lastStep) {
        size_t stop = at + static_cast<size_t>(lastStep - out) / 4 * 3;
        if (stop > length - 4) stop = length - 4;
        while (at <= stop) {
            uint32_t word;
            memcpy(&word, data + at, 4);
            if (word & 0x80) {   // a group: its first byte is 0x80 or above
                // Asked first: most of the word base is groups, most of them
                // in long runs.
                uint32_t group = (word & 0x00FFFFFFu) | static_cast<uint32_t>(w) << 24;   // little-endian
                memcpy(out, &group, 4);
                out += 4;
                at += 3;
                w = static_cast<uint8_t>(w - (w > 1));
            } else if (((word | (word - 0x01010101u)) & 0x80808080u) == 0) {   // four key bytes
                memcpy(out, &word, 4);
                out += 4;
                at += 4;
                w = kFirstGroupWeight;
            } else if (word & 0xFF) {   // one key byte
                *out++ = static_cast<uint8_t>(word);
                ++at;
                w = kFirstGroupWeight;
            } else {
                zero = true;   // the zero byte that ends the data: the loop below stops there too
                break;
            }
        }
    }
    while (out <= lastStep) {
        if (at == length) {
            ended = true;
            break;
        }
        uint8_t first = data[at];
        if (first >= 0x80) {
            if (length - at < 3) {   // a cut-off group is dropped
                ended = true;
                break;
            }
            out[0] = first;
            out[1] = data[at + 1];
            out[2] = data[at + 2];
            out[3] = w;
            w = static_cast<uint8_t>(w - (w > 1));
            out += 4;
            at += 3;
        } else if (first != 0) {
            *out++ = first;
            ++at;
            w = kFirstGroupWeight;
        } else {
            ended = true;
            break;
        }
    }
    g_block.used = static_cast<size_t>(out - g_block.bytes);
    *pos = at;
    *weight = w;
    return ended;
}

int Transcode(const uint8_t* data, size_t length) {
    const uint8_t marker = kWeightedWordBaseMarker;
    if (!Put(&marker, 1)) return 0;
    size_t pos = 0;
    uint8_t weight = kFirstGroupWeight;
    while (!FillBlock(data, length, &pos, &weight)) {
        if (!Flush()) return 0;
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
