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

// How FillBlock stopped.
enum class Filled {
    kBlockFull,   // no room for one more step: the block must go out first
    kPieceUsed,   // the piece is used up, but for a group it cuts short
    kZeroByte,    // the zero byte that ends the source
};

// Transcodes from data[*pos] into the block until the block has no room for
// one more step, the piece ends, or a zero byte ends the source. A group cut
// short by the end of the piece is left at *pos for the caller to hold. One
// pass over the bytes with the output written in place: a key byte is copied
// and starts the weights again at 25; a group's first byte (0x80 or above)
// brings its two other bytes along, and its weight after them.
Filled FillBlock(const uint8_t* data, size_t length, size_t* pos, uint8_t* weight) {
    uint8_t* out = g_block.bytes + g_block.used;
    uint8_t* const lastStep = g_block.bytes + kBlockSize - 4;
    size_t at = *pos;
    uint8_t w = *weight;
    Filled filled = Filled::kBlockFull;
    // Where four bytes can be read at once, they are read as one word: the
    // key bytes it starts with (none zero, none 0x80 or above) are copied in
    // one step, as is a group with its weight. Each step must wait for the load
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
                continue;
            }
            // Bit 7 of each byte that is a group's first or zero; exact up to
            // the first such byte, all that is used of it.
            uint32_t stops = (word | (word - 0x01010101u)) & 0x80808080u;
            if (stops == 0) {   // four key bytes
                memcpy(out, &word, 4);
                out += 4;
                at += 4;
                w = kFirstGroupWeight;
            } else if (word & 0xFF) {
                // One to three key bytes before a group or the zero byte: the
                // whole word is stored and only the keys are kept, the rest
                // being written over by the next step.
                size_t keys = static_cast<size_t>(__builtin_ctz(stops)) / 8;
                memcpy(out, &word, 4);
                out += keys;
                at += keys;
                w = kFirstGroupWeight;
            } else {
                zero = true;   // the zero byte that ends the data: the loop below stops there too
                break;
            }
        }
    }
    while (out <= lastStep) {
        if (at == length) {
            filled = Filled::kPieceUsed;
            break;
        }
        uint8_t first = data[at];
        if (first >= 0x80) {
            if (length - at < 3) {   // the rest of the group is in the next piece, if any
                filled = Filled::kPieceUsed;
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
            filled = Filled::kZeroByte;
            break;
        }
    }
    g_block.used = static_cast<size_t>(out - g_block.bytes);
    *pos = at;
    *weight = w;
    return filled;
}

}  // namespace

void BeginWeightedWordBase(WeightedWordBaseState* state, ByteSink sink, void* target) {
    g_block.used = 0;
    g_block.sink = sink;
    g_block.target = target;
    g_block.bytes[g_block.used++] = kWeightedWordBaseMarker;
    state->weight = kFirstGroupWeight;
    state->heldCount = 0;
    state->ended = false;
    state->failed = false;
}

int PutWeightedWordBase(WeightedWordBaseState* state, const uint8_t* data, size_t length) {
    if (state->ended || state->failed) return !state->failed;
    // A group the last piece cut short is made whole with this one's first bytes.
    if (state->heldCount > 0) {
        size_t missing = 3u - state->heldCount;
        size_t taken = length < missing ? length : missing;
        memcpy(state->held + state->heldCount, data, taken);   // held has room for the third byte too
        state->heldCount = static_cast<uint8_t>(state->heldCount + taken);
        if (taken < missing) return 1;
        const uint8_t group[4] = {state->held[0], state->held[1], state->held[2], state->weight};
        state->heldCount = 0;
        state->weight = static_cast<uint8_t>(state->weight - (state->weight > 1));
        if (!Put(group, sizeof group)) state->failed = true;
        data += taken;
        length -= taken;
    }
    size_t pos = 0;
    while (!state->failed) {
        Filled filled = FillBlock(data, length, &pos, &state->weight);
        if (filled == Filled::kBlockFull) {
            if (!Flush()) state->failed = true;
        } else {
            if (filled == Filled::kZeroByte) {
                state->ended = true;
            } else {
                state->heldCount = static_cast<uint8_t>(length - pos);
                memcpy(state->held, data + pos, state->heldCount);
            }
            break;
        }
    }
    return !state->failed;
}

int EndWeightedWordBase(WeightedWordBaseState* state) {
    // After a failed write the block is already empty and the result stays
    // the failure.
    bool flushed = Flush();
    return !state->failed && flushed;
}

int WriteWeightedWordBase(const uint8_t* data, size_t length, ByteSink sink, void* target) {
    WeightedWordBaseState state;
    BeginWeightedWordBase(&state, sink, target);
    PutWeightedWordBase(&state, data, length);
    return EndWeightedWordBase(&state);
}
