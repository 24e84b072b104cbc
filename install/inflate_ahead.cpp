// Inflating ahead of the writer; see inflate_ahead.h.
//
// The pieces form a ring. Two semaphores count them: `filled` the pieces
// inflated and not yet taken, `emptied` the pieces free to inflate into.
// The inflating side owns the z_stream and the ring position it fills; the
// writing side owns the position it takes. A semaphore wait or release is a
// full barrier, so each side sees the other's bytes without more locks. The
// inflating thread touches no window, file or global but this state, and
// the process heap it allocates inflate's window from serialises itself.
#include "install/inflate_ahead.h"

#include <windows.h>
#include <zlib.h>

#include "install/payload.h"
#include "runtime/heap.h"

namespace {

// What one piece holds, as the inflating side left it.
struct Piece {
    uint32_t count;
    bool last;
    bool damaged;
};

struct InflateAhead {
    uint8_t* memory;   // kInflatedPieces pieces of kInflatedPieceSize bytes
    Piece pieces[kInflatedPieces];
    const int* identifiers;
    size_t payloadCount;
    // The inflating side.
    z_stream stream;
    bool streamReady;   // inflateInit succeeded: inflateEnd is owed
    bool inPayload;     // a payload's stream is being inflated
    size_t nextPayload;
    unsigned filling;
    // The writing side.
    unsigned taking;
    size_t payloadsTaken;
    // Between the two.
    HANDLE thread;
    HANDLE filled;
    HANDLE emptied;
    volatile LONG stopping;
};
InflateAhead g_ahead;

uint8_t* PieceBytes(unsigned position) {
    return g_ahead.memory + static_cast<size_t>(position % kInflatedPieces) * kInflatedPieceSize;
}

// Inflates the next piece into the ring at `filling`: the rest of the
// current payload's stream, or as much of it as fits, or the start of the
// next payload's. A stream that ends early, fails its check or has no record
// ends its payload with a damaged piece.
void InflateNextPiece() {
    Piece& piece = g_ahead.pieces[g_ahead.filling % kInflatedPieces];
    piece = Piece{0, true, true};
    if (!g_ahead.inPayload) {
        PayloadRecord record;
        int identifier = g_ahead.identifiers[g_ahead.nextPayload++];
        if (!g_ahead.streamReady || !FindPayloadRecord(identifier, &record) ||
            inflateReset(&g_ahead.stream) != Z_OK) {
            return;
        }
        g_ahead.stream.next_in = const_cast<Bytef*>(record.stored);
        g_ahead.stream.avail_in = record.storedBytes;
        g_ahead.inPayload = true;
    }
    g_ahead.stream.next_out = PieceBytes(g_ahead.filling);
    g_ahead.stream.avail_out = kInflatedPieceSize;
    int result = inflate(&g_ahead.stream, Z_NO_FLUSH);
    piece.count = kInflatedPieceSize - g_ahead.stream.avail_out;
    // inflate stops short of the stream's end only where the piece is full;
    // anywhere else the stream is cut or damaged.
    bool more = result == Z_OK && g_ahead.stream.avail_out == 0;
    piece.last = !more;
    piece.damaged = !more && result != Z_STREAM_END;
    if (piece.last) g_ahead.inPayload = false;
}

bool EveryPayloadInflated() { return !g_ahead.inPayload && g_ahead.nextPayload == g_ahead.payloadCount; }

DWORD WINAPI InflateAheadThread(void*) {
    while (!EveryPayloadInflated()) {
        WaitForSingleObject(g_ahead.emptied, INFINITE);
        if (g_ahead.stopping) break;
        InflateNextPiece();
        ++g_ahead.filling;
        ReleaseSemaphore(g_ahead.filled, 1, nullptr);
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
    g_ahead.memory = static_cast<uint8_t*>(AllocateBlock(static_cast<size_t>(kInflatedPieces) * kInflatedPieceSize));
    if (g_ahead.memory == nullptr) return 0;
    g_ahead.identifiers = identifiers;
    g_ahead.payloadCount = count;
    // Without inflate's state every payload comes out damaged, which the
    // run reports as the files it could not write.
    g_ahead.streamReady = inflateInit(&g_ahead.stream) == Z_OK;
    g_ahead.filled = CreateSemaphoreA(nullptr, 0, kInflatedPieces, nullptr);
    g_ahead.emptied = CreateSemaphoreA(nullptr, kInflatedPieces, kInflatedPieces, nullptr);
    if (g_ahead.filled != nullptr && g_ahead.emptied != nullptr) {
        DWORD id;   // Windows 95 wants somewhere to put it
        g_ahead.thread = CreateThread(nullptr, 0, InflateAheadThread, nullptr, 0, &id);
    }
    if (g_ahead.thread == nullptr) {
        CloseIfOpen(&g_ahead.filled);
        CloseIfOpen(&g_ahead.emptied);
    }
    return 1;
}

void NextInflatedPiece(InflatedPiece* piece) {
    if (g_ahead.memory == nullptr || g_ahead.payloadsTaken == g_ahead.payloadCount) {
        *piece = InflatedPiece{nullptr, 0, true, true};
        return;
    }
    if (g_ahead.thread != nullptr) {
        WaitForSingleObject(g_ahead.filled, INFINITE);
    } else if (g_ahead.filling == g_ahead.taking) {
        InflateNextPiece();
        ++g_ahead.filling;
    }
    const Piece& taken = g_ahead.pieces[g_ahead.taking % kInflatedPieces];
    *piece = InflatedPiece{PieceBytes(g_ahead.taking), taken.count, taken.last, taken.damaged};
    if (taken.last) ++g_ahead.payloadsTaken;
}

void ReleaseInflatedPiece() {
    ++g_ahead.taking;
    if (g_ahead.thread != nullptr) ReleaseSemaphore(g_ahead.emptied, 1, nullptr);
}

int WriteInflatedPayload(const char* fileName, int readOnly, int hidden) {
    // The file is made only once the first piece is there: a payload that
    // breaks off within it (every file but the word base fits in one)
    // touches no file, and an older one stays as it was. Should the word
    // base's stream break off in a later piece, what was written of it is
    // removed.
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
        // A thread waiting for a free piece wakes to the flag; one inflating
        // finishes its piece first.
        InterlockedExchange(&g_ahead.stopping, 1);
        ReleaseSemaphore(g_ahead.emptied, 1, nullptr);
        WaitForSingleObject(g_ahead.thread, INFINITE);
        CloseIfOpen(&g_ahead.thread);
    }
    CloseIfOpen(&g_ahead.filled);
    CloseIfOpen(&g_ahead.emptied);
    if (g_ahead.streamReady) inflateEnd(&g_ahead.stream);
    FreeBlock(g_ahead.memory);
    g_ahead = InflateAhead{};
}
