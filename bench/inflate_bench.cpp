// The program's inflate against Debian's zlib archive, in one process: every
// payload of the install inflated into the same 9 MiB buffer by each in turn.
// The program builds zlib's own sources for size (one section per function,
// -Oz, no gzip reader) but for its hot loops, inflate_fast and the Adler-32,
// which it builds for speed; Debian's archive is the same zlib version built
// wholly for speed, linked here with its symbols renamed (debian_...)
// so that both can live in one program. Prints "key value" lines for
// scripts/bench.sh; nothing here passes or fails on a time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/timing.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "resources/resource_ids.h"

extern "C" int uncompress(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                          unsigned long sourceLen);
extern "C" int debian_uncompress(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                                 unsigned long sourceLen);

namespace {

using Uncompress = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long);

bool PayloadStream(int identifier, const unsigned char** bytes, unsigned long* size) {
    uint32_t stored;
    if (!FindStoredPayload(identifier, bytes, &stored)) return false;
    *size = stored;
    return true;
}

// Inflates every manifest payload once; milliseconds, or -1 when one fails.
// The inflated bytes are summed so that both sides must really produce them.
double TimeAll(Uncompress inflateOne, unsigned char* buffer, unsigned long* total) {
    double start = Now();
    *total = 0;
    for (const ManifestEntry& entry : kManifest) {
        const unsigned char* stream;
        unsigned long size;
        if (!PayloadStream(entry.identifier, &stream, &size)) return -1;
        unsigned long length = kInstallBufferSize;
        if (inflateOne(buffer, &length, stream, size) != 0) return -1;
        *total += length;
    }
    return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    std::vector<unsigned char> buffer(kInstallBufferSize);
    std::vector<double> ours, debian;
    for (int run = 0; run <= runs; ++run) {   // run 0 warms the payload pages
        unsigned long oursBytes = 0, debianBytes = 0;
        double a = TimeAll(uncompress, buffer.data(), &oursBytes);
        double b = TimeAll(debian_uncompress, buffer.data(), &debianBytes);
        if (a < 0 || b < 0 || oursBytes != debianBytes) {
            printf("error inflate run %d failed (ours %.1f ms %lu B, Debian's %.1f ms %lu B)\n", run, a, oursBytes,
                   b, debianBytes);
            return 1;
        }
        if (run == 0) {
            printf("inflate_bytes %lu\n", oursBytes);
            continue;
        }
        ours.push_back(a);
        debian.push_back(b);
    }
    Print("inflate_for_size", ours);
    Print("inflate_debian", debian);
    return 0;
}
