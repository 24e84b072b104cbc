// Scratch blocks; see heap.h.
#include "runtime/heap.h"

#include <windows.h>

void* AllocateBlock(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void FreeBlock(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}
