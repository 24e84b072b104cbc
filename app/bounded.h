// Bounded text building. Every fixed buffer of the program is filled through
// these helpers: a text that does not fit is refused (result 0), never cut
// silently and never written past the buffer's end.
#pragma once
#include <cstddef>

// printf-style formatting into buf[size] with the conversions the program's
// texts use: %s, %c, %d with an optional width (%1d) and %%; any other is
// refused. Returns 1 when the whole result and its terminating zero fit;
// otherwise 0, with buf holding an empty string.
int FormatBounded(char* buf, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

template <size_t N, typename... Args>
int FormatBounded(char (&buf)[N], const char* format, Args... args) {
    return FormatBounded(buf, N, format, args...);
}

// Copies text into buf[size] when it fits with its zero; otherwise 0 and buf empty.
int CopyBounded(char* buf, size_t size, const char* text);

template <size_t N>
int CopyBounded(char (&buf)[N], const char* text) {
    return CopyBounded(buf, N, text);
}
