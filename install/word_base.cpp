// Transcoding of the word base into its weighted form; see word_base.h.
// Each ASCII run is written with one call and each group and weight byte with
// one call each; the stream's own buffer collects them.
#include "install/word_base.h"

namespace {

bool Put(const uint8_t* bytes, size_t count, FILE* out) {
    return fwrite(bytes, 1, count, out) == count;
}

}  // namespace

int WriteWeightedWordBase(const uint8_t* data, size_t length, FILE* out) {
    const uint8_t marker = kWeightedWordBaseMarker;
    if (!Put(&marker, 1, out)) return 0;

    size_t pos = 0;
    while (pos < length && data[pos] != 0) {
        size_t runStart = pos;
        while (pos < length && data[pos] != 0 && data[pos] < 0x80) ++pos;
        if (pos > runStart && !Put(data + runStart, pos - runStart, out)) return 0;

        uint8_t weight = kFirstGroupWeight;
        while (pos < length && data[pos] >= 0x80) {
            if (length - pos < 3) return 1;  // a cut-off group is dropped
            if (!Put(data + pos, 3, out)) return 0;
            if (!Put(&weight, 1, out)) return 0;
            if (weight > 1) --weight;
            pos += 3;
        }
    }
    return 1;
}
