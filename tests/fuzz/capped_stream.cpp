// See capped_stream.h. Built natively only (glibc's fopencookie).
#include "capped_stream.h"

#include <cerrno>

namespace {

// Small, so that a buffered stream still hands on several parts of one output.
constexpr size_t kStreamBufferSize = 61;

ssize_t WriteCapped(void* cookie, const char* bytes, size_t count) {
    CappedSink* sink = static_cast<CappedSink*>(cookie);
    ++sink->writes;
    size_t room = sink->capacity - sink->bytes.size();
    size_t taken = count < room ? count : room;
    if (sink->writes == sink->refusedWrite) taken = 0;
    sink->bytes.insert(sink->bytes.end(), bytes, bytes + taken);
    if (taken < count) {
        sink->shortWrite = true;
        errno = ENOSPC;
    }
    return static_cast<ssize_t>(taken);
}

}  // namespace

FILE* OpenCappedStream(CappedSink* sink, bool buffered) {
    cookie_io_functions_t functions = {};
    functions.write = WriteCapped;
    FILE* stream = fopencookie(sink, "wb", functions);
    if (stream == nullptr) return nullptr;
    if (buffered) {
        setvbuf(stream, nullptr, _IOFBF, kStreamBufferSize);
    } else {
        setvbuf(stream, nullptr, _IONBF, 0);
    }
    return stream;
}
