// Inflating the install run's payloads ahead of its writer.
//
// Inflating the manifest's payloads takes about as long as writing the files
// they make. A second thread inflates them, in the order the run writes them,
// into a ring of a few blocks of memory, while the run's own thread writes
// what is already inflated: on two processors the two overlap, on one they
// take turns as before. The blocks also stand in for one buffer as big as
// the largest file: the word base, over 8 MB, passes through them in pieces.
//
// One run at a time, on the install run's thread. Where no second thread can
// be started, each piece is inflated when it is asked for.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t kInflatedBlockSize = 512 * 1024;
constexpr int kInflatedBlocks = 4;

// A piece of one payload's inflated bytes, in order: all of them where the
// payload fits in a block, else as much as one block holds.
struct InflatedPiece {
    const uint8_t* bytes;
    uint32_t count;
    bool last;      // the payload ends with it: the next piece is the next payload's
    bool damaged;   // the stream stopped short or is not there: the payload ends
                    // here, and what came of it must not stay
};

// Starts inflating payloads identifiers[0..count) in that order; the array
// must stay until StopInflateAhead. Returns 1, or 0 when the memory for the
// blocks cannot be had (nothing then runs).
int StartInflateAhead(const int* identifiers, size_t count);
// The next piece, waiting for it where needed. It stays valid until
// ReleaseInflatedPiece. Asked for past the last payload it is damaged and empty.
void NextInflatedPiece(InflatedPiece* piece);
// The piece last given is no longer needed: once a block's last piece is,
// the block takes more.
void ReleaseInflatedPiece();
// Writes the next payload as the file `fileName` in the install folder,
// through WritePayloadFile's steps (payload.h), piece by piece as they come.
// Every piece of the payload is taken, written or not, so that the next
// payload's pieces come next. Returns 1 when the whole payload reached the file.
int WriteInflatedPayload(const char* fileName, int readOnly, int hidden);
// Ends the thread, whether or not every payload was taken, and gives the
// memory back. Harmless when nothing was started.
void StopInflateAhead();

// Starts in its constructor and stops on every way out of the scope.
struct InflateAheadRun {
    InflateAheadRun(const int* identifiers, size_t count) : started(StartInflateAhead(identifiers, count) != 0) {}
    ~InflateAheadRun() { StopInflateAhead(); }
    InflateAheadRun(const InflateAheadRun&) = delete;
    InflateAheadRun& operator=(const InflateAheadRun&) = delete;

    bool started;
};
