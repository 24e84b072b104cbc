// Fuzz target of the word-base transcoder. Every input is transcoded into a
// growing memory stream, whole and in pieces cut where the input says, into a stream that holds exactly the expected output,
// into one that is too small (unbuffered and buffered), into one that refuses
// one write, and into a read-only stream. The output must match the byte-wise model, and a
// result of 1 must never hide an output that did not fit. Any mismatch traps,
// so the fuzzer keeps the input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "capped_stream.h"
#include "install/word_base.h"
#include "word_base_model.h"

namespace {

// The transcoder's byte sink over a stdio stream, so that the streams below
// can fail like a disk does.
int WriteToStdio(void* stream, const uint8_t* bytes, size_t count) {
    return fwrite(bytes, 1, count, static_cast<FILE*>(stream)) == count;
}

[[noreturn]] void Fail(const char* what, size_t detail) {
    fprintf(stderr, "word base mismatch: %s (%zu)\n", what, detail);
    __builtin_trap();
}

void ExpectSame(const std::vector<uint8_t>& expected, const uint8_t* got, size_t gotLength,
                const char* stream) {
    if (gotLength != expected.size()) {
        fprintf(stderr, "%s stream: %zu bytes, expected %zu\n", stream, gotLength,
                expected.size());
        Fail("output length", gotLength);
    }
    for (size_t i = 0; i < gotLength; ++i) {
        if (got[i] != expected[i]) {
            fprintf(stderr, "%s stream: byte %zu is 0x%02X, expected 0x%02X\n", stream, i,
                    got[i], expected[i]);
            Fail("output byte", i);
        }
    }
}

void CheckGrowingStream(const uint8_t* data, size_t size, const std::vector<uint8_t>& expected) {
    char* bytes = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&bytes, &length);
    if (out == nullptr) Fail("open_memstream", 0);
    int result = WriteWeightedWordBase(data, size, WriteToStdio, out);
    if (fclose(out) != 0) Fail("fclose of the memory stream", 0);
    if (result != 1) Fail("result on a stream with room", result);
    ExpectSame(expected, reinterpret_cast<uint8_t*>(bytes), length, "memory");
    free(bytes);
}

// The input handed over in pieces of 0 to 6 bytes, their sizes taken from the
// input itself, so that cuts fall inside groups, between a group and a key,
// and at the zero byte: the bytes must be those of the whole input.
void CheckPieces(const uint8_t* data, size_t size, const std::vector<uint8_t>& expected) {
    char* bytes = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&bytes, &length);
    if (out == nullptr) Fail("open_memstream", 0);
    WeightedWordBaseState state;
    BeginWeightedWordBase(&state, WriteToStdio, out);
    size_t at = 0;
    for (size_t turn = 0; at < size; ++turn) {
        size_t piece = std::min<size_t>((data[turn % size] + turn) % 7, size - at);
        if (PutWeightedWordBase(&state, data + at, piece) != 1) Fail("piece refused", at);
        at += piece;
    }
    int result = EndWeightedWordBase(&state);
    if (fclose(out) != 0) Fail("fclose of the memory stream", 0);
    if (result != 1) Fail("result of the pieces on a stream with room", result);
    ExpectSame(expected, reinterpret_cast<uint8_t*>(bytes), length, "pieces");
    free(bytes);
}

// Writes into a stream that takes at most capacity bytes.
void CheckCappedStream(const uint8_t* data, size_t size, const std::vector<uint8_t>& expected,
                       size_t capacity, bool buffered) {
    CappedSink sink;
    sink.capacity = capacity;
    FILE* out = OpenCappedStream(&sink, buffered);
    if (out == nullptr) Fail("fopencookie", 0);
    int result = WriteWeightedWordBase(data, size, WriteToStdio, out);
    bool flushed = fflush(out) == 0 && !ferror(out);
    fclose(out);

    if (result != 0 && result != 1) Fail("result is neither 0 nor 1", result);
    bool fits = capacity >= expected.size();
    // Whatever reached the sink is the start of the expected output.
    if (sink.bytes.size() > expected.size() ||
        !std::equal(sink.bytes.begin(), sink.bytes.end(), expected.begin())) {
        Fail("capped stream got bytes that are not a prefix of the output", sink.bytes.size());
    }
    if (fits) {
        if (result != 1 || !flushed) Fail("result on a stream with exactly enough room", result);
        ExpectSame(expected, sink.bytes.data(), sink.bytes.size(), "capped");
    } else if (!buffered) {
        // Every fwrite reaches the sink, so the short one is seen by the writer.
        if (result != 0) Fail("result 1 on an unbuffered short write", capacity);
    } else if (result == 1 && flushed) {
        // A buffered stream may take the last bytes into its buffer; the loss
        // must then show at fflush, never vanish.
        Fail("short write lost in a buffered stream", capacity);
    }
}

// Writes into a stream that refuses one write and takes all others: the
// result must be 0 exactly when a write was refused.
void CheckRefusedWrite(const uint8_t* data, size_t size, const std::vector<uint8_t>& expected,
                       size_t refusedWrite) {
    CappedSink sink;
    sink.refusedWrite = refusedWrite;
    FILE* out = OpenCappedStream(&sink, false);
    if (out == nullptr) Fail("fopencookie", 0);
    int result = WriteWeightedWordBase(data, size, WriteToStdio, out);
    fclose(out);
    if (sink.shortWrite) {
        if (result != 0) Fail("result 1 after a refused write", refusedWrite);
    } else {
        if (result != 1) Fail("result 0 though every write was taken", result);
        ExpectSame(expected, sink.bytes.data(), sink.bytes.size(), "refusing");
    }
}

void CheckReadOnlyStream(const uint8_t* data, size_t size) {
    char backing[16] = {};
    FILE* out = fmemopen(backing, sizeof backing, "rb");
    if (out == nullptr) Fail("fmemopen", 0);
    int result = WriteWeightedWordBase(data, size, WriteToStdio, out);
    fclose(out);
    if (result != 0) Fail("result on a read-only stream", result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> expected = ExpectedWeightedForm(data, size);

    CheckGrowingStream(data, size, expected);
    CheckPieces(data, size, expected);
    CheckCappedStream(data, size, expected, expected.size(), false);

    // A capacity short of the output by 1 to all of it, chosen by the input
    // so that the fuzzer reaches every cut point.
    size_t shortBy = 1;
    if (size > 0) shortBy += (data[size - 1] * 131u + size) % expected.size();
    size_t capacity = expected.size() - shortBy;
    CheckCappedStream(data, size, expected, capacity, false);
    CheckCappedStream(data, size, expected, capacity, true);
    // The first, second or third write refused; a short output has only one.
    CheckRefusedWrite(data, size, expected, size > 0 ? 1 + data[size - 1] % 3 : 1);

    CheckReadOnlyStream(data, size);
    return 0;
}
