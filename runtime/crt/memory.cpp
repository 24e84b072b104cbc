// The memory functions the compiler and zlib call, in the setup program
// itself instead of a C runtime DLL. The compiler emits calls to memcpy,
// memset, memmove and memcmp for copies and comparisons of whole objects;
// zlib's uncompress takes its state and window through malloc and free.
// Built with -ffreestanding so these loops are not turned back into calls to
// themselves.
#include <cstddef>
#include <new>

#include "runtime/heap.h"

extern "C" {

void* memcpy(void* to, const void* from, size_t count) {
    unsigned char* d = static_cast<unsigned char*>(to);
    const unsigned char* s = static_cast<const unsigned char*>(from);
    while (count--) *d++ = *s++;
    return to;
}

void* memmove(void* to, const void* from, size_t count) {
    unsigned char* d = static_cast<unsigned char*>(to);
    const unsigned char* s = static_cast<const unsigned char*>(from);
    if (d < s) {
        while (count--) *d++ = *s++;
    } else {
        while (count--) d[count] = s[count];
    }
    return to;
}

void* memset(void* to, int value, size_t count) {
    unsigned char* d = static_cast<unsigned char*>(to);
    while (count--) *d++ = static_cast<unsigned char>(value);
    return to;
}

int memcmp(const void* a, const void* b, size_t count) {
    const unsigned char* x = static_cast<const unsigned char*>(a);
    const unsigned char* y = static_cast<const unsigned char*>(b);
    for (; count > 0; --count, ++x, ++y) {
        if (*x != *y) return *x < *y ? -1 : 1;
    }
    return 0;
}

void* malloc(size_t size) { return AllocateBlock(size); }
void free(void* block) { FreeBlock(block); }

}  // extern "C"

// Without exceptions a failed allocation can only be a null result; the
// program's code asks for its blocks through AllocateBlock and checks them.
void* operator new(size_t size) { return AllocateBlock(size); }
void* operator new[](size_t size) { return AllocateBlock(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateBlock(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateBlock(size); }
void operator delete(void* block) noexcept { FreeBlock(block); }
void operator delete[](void* block) noexcept { FreeBlock(block); }
void operator delete(void* block, size_t) noexcept { FreeBlock(block); }
void operator delete[](void* block, size_t) noexcept { FreeBlock(block); }

namespace std {
const nothrow_t nothrow{};
}
