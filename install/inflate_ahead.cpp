// Inflating ahead of the writer; see inflate_ahead.h.
//
// The blocks form a ring. Each holds the pieces of one or more payloads, in
// order: small payloads share a block, so that the two threads hand over a
// block about every half megabyte rather than at every file. A payload starts
// in a block only where its installed size (from the build's records) fits in
// the room left, so every payload of a block's size or less is one piece and
// the writer learns whether it inflated before it makes the file.
//
// Two counts say how many blocks are inflated and not yet taken (`filled`)
// and how many are free to inflate into (`emptied`). Each is kept with an
// interlocked add, and a semaphore is waited on or released only when a side
// must wait: under Wine every semaphore call is a round trip to its server.
// The interlocked operations are full barriers, so each side sees the
// other's bytes without more locks; only their sign is used, all that
// Windows 95 and NT 3.51 return. The inflating side owns the z_stream and the
// block it fills; the writing side owns the block and piece it takes. The
// inflating thread touches no window, file or global but this state, and the
// process heap it allocates inflate's window from serialises itself.
#include "install/inflate_ahead.h"

#include <windows.h>
#include <zlib.h>

#include "install/payload.h"
#include "runtime/heap.h"

namespace {

// At most this many pieces share a block.
constexpr int kPiecesPerBlock = 16;

// One piece as the inflating side left it: where in its block, how much.
struct Piece {
    uint32_t offset;
    uint32_t count;
    bool last;
    bool damaged;
};

struct Block {
    Piece pieces[kPiecesPerBlock];
    int pieceCount;
};

// Counts blocks; a side that finds none waits on the semaphore.
struct BlockCount {
    volatile LONG count;
    HANDLE wakeUp;
};

struct InflateAhead {
    uint8_t* memory;   // kInflatedBlocks blocks of kInflatedBlockSize bytes
    Block blocks[kInflatedBlocks];
    const int* identifiers;
    size_t payloadCount;
    // The inflating side.
    z_stream stream;
    bool streamReady;     // inflateInit succeeded: inflateEnd is owed
    bool inPayload;       // a payload's stream is being inflated
    bool recordFound;     // `record` is the next payload's, looked up already
    PayloadRecord record;
    size_t nextPayload;
    unsigned filling;
    // The writing side.
    unsigned taking;
    int pieceTaken;
    size_t payloadsTaken;
    // Between the two.
    HANDLE thread;
    BlockCount filled;
    BlockCount emptied;
    volatile LONG stopping;
};
InflateAhead g_ahead;

uint8_t* BlockBytes(unsigned position) {
    return g_ahead.memory + static_cast<size_t>(position % kInflatedBlocks) * kInflatedBlockSize;
}

void TakeBlock(BlockCount* blocks) {
    if (InterlockedDecrement(&blocks->count) < 0) WaitForSingleObject(blocks->wakeUp, INFINITE);
}

void GiveBlock(BlockCount* blocks) {
    if (InterlockedIncrement(&blocks->count) <= 0) ReleaseSemaphore(blocks->wakeUp, 1, nullptr);
}

bool EveryPayloadInflated() { return !g_ahead.inPayload && g_ahead.nextPayload == g_ahead.payloadCount; }

// Starts the next payload's stream; false when it has no record or inflate
// cannot start it, the payload then being damaged.
bool StartPayload() {
    int identifier = g_ahead.identifiers[g_ahead.nextPayload++];
    bool found = g_ahead.recordFound || FindPayloadRecord(identifier, &g_ahead.record);
    g_ahead.recordFound = false;
    if (!found || !g_ahead.streamReady || inflateReset(&g_ahead.stream) != Z_OK) return false;
    g_ahead.stream.next_in = const_cast<Bytef*>(g_ahead.record.stored);
    g_ahead.stream.avail_in = g_ahead.record.storedBytes;
    g_ahead.inPayload = true;
    return true;
}

// Whether the next payload should wait for a fresh block: where its file
// would not fit in the room this one has left.
bool NextPayloadWantsFreshBlock(uint32_t room) {
    if (!g_ahead.recordFound) {
        g_ahead.recordFound = FindPayloadRecord(g_ahead.identifiers[g_ahead.nextPayload], &g_ahead.record) != 0;
    }
    return g_ahead.recordFound && g_ahead.record.installedBytes > room;
}

// Inflates into the block at `filling` as many pieces as fit: the rest of
// the current payload, then whole payloads while they fit. A stream that
// ends early, fails its check or has no record ends its payload with a
// damaged piece.
void FillBlock() {
    Block& block = g_ahead.blocks[g_ahead.filling % kInflatedBlocks];
    uint8_t* bytes = BlockBytes(g_ahead.filling);
    uint32_t used = 0;
    block.pieceCount = 0;
    while (used < kInflatedBlockSize && block.pieceCount < kPiecesPerBlock && !EveryPayloadInflated()) {
        if (!g_ahead.inPayload && block.pieceCount > 0 && NextPayloadWantsFreshBlock(kInflatedBlockSize - used)) break;
        Piece& piece = block.pieces[block.pieceCount++];
        piece = Piece{used, 0, true, true};
        if (!g_ahead.inPayload && !StartPayload()) continue;
        g_ahead.stream.next_out = bytes + used;
        g_ahead.stream.avail_out = kInflatedBlockSize - used;
        int result = inflate(&g_ahead.stream, Z_NO_FLUSH);
        piece.count = kInflatedBlockSize - used - g_ahead.stream.avail_out;
        used += piece.count;
        // inflate stops short of the stream's end only where the block is
        // full; anywhere else the stream is cut or damaged.
        bool more = result == Z_OK && g_ahead.stream.avail_out == 0;
        piece.last = !more;
        piece.damaged = !more && result != Z_STREAM_END;
        if (more) break;
        g_ahead.inPayload = false;
    }
}

DWORD WINAPI InflateAheadThread(void*) {
    while (!EveryPayloadInflated()) {
        TakeBlock(&g_ahead.emptied);
        if (g_ahead.stopping) break;
        FillBlock();
        ++g_ahead.filling;
        GiveBlock(&g_ahead.filled);
    }
    return 0;
}

void CloseIfOpen(HANDLE* handle) {
    if (*handle != nullptr) CloseHandle(*handle);
    *handle = nullptr;
}

}  // namespace

int StartInflateAhead(const int* identifiers, size_t count) {
    g_ahead = InflateAhead{};
    g_ahead.memory = static_cast<uint8_t*>(AllocateBlock(static_cast<size_t>(kInflatedBlocks) * kInflatedBlockSize));
    if (g_ahead.memory == nullptr) return 0;
    g_ahead.identifiers = identifiers;
    g_ahead.payloadCount = count;
    // Without inflate's state every payload comes out damaged, which the
    // run reports as the files it could not write.
    g_ahead.streamReady = inflateInit(&g_ahead.stream) == Z_OK;
    g_ahead.emptied.count = kInflatedBlocks;
    g_ahead.filled.wakeUp = CreateSemaphoreA(nullptr, 0, kInflatedBlocks + 1, nullptr);
    g_ahead.emptied.wakeUp = CreateSemaphoreA(nullptr, 0, kInflatedBlocks + 1, nullptr);
    if (g_ahead.filled.wakeUp != nullptr && g_ahead.emptied.wakeUp != nullptr) {
        DWORD id;   // Windows 95 wants somewhere to put it
        g_ahead.thread = CreateThread(nullptr, 0, InflateAheadThread, nullptr, 0, &id);
    }
    if (g_ahead.thread == nullptr) {
        CloseIfOpen(&g_ahead.filled.wakeUp);
        CloseIfOpen(&g_ahead.emptied.wakeUp);
    }
    return 1;
}

void NextInflatedPiece(InflatedPiece* piece) {
    if (g_ahead.memory == nullptr || g_ahead.payloadsTaken == g_ahead.payloadCount) {
        *piece = InflatedPiece{nullptr, 0, true, true};
        return;
    }
    if (g_ahead.pieceTaken == 0) {   // a block not started yet
        if (g_ahead.thread != nullptr) {
            TakeBlock(&g_ahead.filled);
        } else {
            FillBlock();
            ++g_ahead.filling;
        }
    }
    const Piece& taken = g_ahead.blocks[g_ahead.taking % kInflatedBlocks].pieces[g_ahead.pieceTaken];
    *piece = InflatedPiece{BlockBytes(g_ahead.taking) + taken.offset, taken.count, taken.last, taken.damaged};
    if (taken.last) ++g_ahead.payloadsTaken;
}

void ReleaseInflatedPiece() {
    if (++g_ahead.pieceTaken < g_ahead.blocks[g_ahead.taking % kInflatedBlocks].pieceCount) return;
    g_ahead.pieceTaken = 0;
    ++g_ahead.taking;
    if (g_ahead.thread != nullptr) GiveBlock(&g_ahead.emptied);
}

int WriteInflatedPayload(const char* fileName, int readOnly, int hidden) {
    // The file is made only once the first piece is there: a payload that
    // breaks off within it (every file of a block's size or less is one
    // piece) touches no file, and an older one stays as it was. Should the
    // word base's stream break off in a later piece, what was written of it
    // is removed.
    InflatedPiece piece;
    NextInflatedPiece(&piece);
    PayloadFile file;
    bool open = !piece.damaged && BeginPayloadFile(&file, fileName, readOnly, hidden, nullptr);
    for (;;) {
        if (open) PutPayloadBytes(&file, piece.bytes, piece.count);
        ReleaseInflatedPiece();
        if (piece.last) break;
        NextInflatedPiece(&piece);
    }
    return open && EndPayloadFile(&file, !piece.damaged);
}

void StopInflateAhead() {
    if (g_ahead.thread != nullptr) {
        // A thread waiting for a free block wakes to the flag; one inflating
        // finishes its block first.
        InterlockedExchange(&g_ahead.stopping, 1);
        GiveBlock(&g_ahead.emptied);
        WaitForSingleObject(g_ahead.thread, INFINITE);
        CloseIfOpen(&g_ahead.thread);
    }
    CloseIfOpen(&g_ahead.filled.wakeUp);
    CloseIfOpen(&g_ahead.emptied.wakeUp);
    if (g_ahead.streamReady) inflateEnd(&g_ahead.stream);
    FreeBlock(g_ahead.memory);
    g_ahead = InflateAhead{};
}
