// Bounded text building; see bounded.h.
#include "app/bounded.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int FormatBounded(char* buf, size_t size, const char* format, ...) {
    if (buf == nullptr || size == 0) return 0;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buf, size, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        buf[0] = '\0';
        return 0;
    }
    return 1;
}

int CopyBounded(char* buf, size_t size, const char* text) {
    if (buf == nullptr || size == 0) return 0;
    size_t n = text ? strlen(text) : 0;
    if (n >= size) {
        buf[0] = '\0';
        return 0;
    }
    memcpy(buf, text ? text : "", n + 1);
    return 1;
}
