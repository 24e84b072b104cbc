// Scratch blocks from the process heap.
//
// The big work buffers (the install run's, the speech module's, the glyph
// font's, the agreement texts') are taken for one operation and given back
// before it returns. A ScratchBlock gives its block back when it goes out of
// scope, so every early return frees it too.
#pragma once
#include <cstddef>
#include <cstdint>

// A block of `size` bytes, or null when the heap has no room.
void* AllocateBlock(size_t size);
// Gives a block back; null is ignored.
void FreeBlock(void* block);

struct ScratchBlock {
    explicit ScratchBlock(size_t size) : bytes(static_cast<uint8_t*>(AllocateBlock(size))) {}
    ~ScratchBlock() { FreeBlock(bytes); }
    ScratchBlock(const ScratchBlock&) = delete;
    ScratchBlock& operator=(const ScratchBlock&) = delete;

    uint8_t* bytes;  // null when the block could not be had
};
