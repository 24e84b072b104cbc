// The helpers zlib's inflate calls, small, in place of zlib's own: its
// check value and its allocator. zlib's adler32.c and zutil.c (unrolled
// loops, error texts and functions the program never calls) are not built;
// the gzip reader, and with it the CRC-32, is compiled out of inflate.
#include "runtime/heap.h"

// Adler-32, the check value of every zlib stream, which inflate computes
// over every byte it makes and the check before the install run over every
// stored byte; built for speed (third_party/zlib/CMakeLists.txt). The sums are reduced
// before 5552 bytes can overflow 32 bits, as zlib does. adler32(0, null, 0)
// gives the start value 1.
extern "C" unsigned long adler32(unsigned long adler, const unsigned char* bytes, unsigned int length) {
    constexpr unsigned long kBase = 65521;      // largest prime below 65536
    constexpr unsigned int kMaxRun = 5552;      // bytes before b could overflow
    if (bytes == nullptr) return 1;
    unsigned long a = adler & 0xFFFF;
    unsigned long b = (adler >> 16) & 0xFFFF;
    while (length > 0) {
        unsigned int run = length < kMaxRun ? length : kMaxRun;
        length -= run;
        // Sixteen bytes per turn, as zlib's own adler32.c takes them: the
        // loop's own count and branch would otherwise cost about as much as
        // the two sums, and more still where the program runs under an
        // emulator, which pays for every branch it takes.
        for (; run >= 16; run -= 16, bytes += 16) {
            a += bytes[0];  b += a;  a += bytes[1];  b += a;  a += bytes[2];  b += a;  a += bytes[3];  b += a;
            a += bytes[4];  b += a;  a += bytes[5];  b += a;  a += bytes[6];  b += a;  a += bytes[7];  b += a;
            a += bytes[8];  b += a;  a += bytes[9];  b += a;  a += bytes[10]; b += a;  a += bytes[11]; b += a;
            a += bytes[12]; b += a;  a += bytes[13]; b += a;  a += bytes[14]; b += a;  a += bytes[15]; b += a;
        }
        while (run-- > 0) {
            a += *bytes++;
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return (b << 16) | a;
}

// inflate's state and window come from the process heap like every other
// scratch block; the items * size product is the one zlib's own allocator
// forms (inflate asks for a few KB at most).
extern "C" void* zcalloc(void*, unsigned items, unsigned size) { return AllocateBlock(items * size); }
extern "C" void zcfree(void*, void* block) { FreeBlock(block); }
