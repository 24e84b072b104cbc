// Bounded text building; see bounded.h.
//
// The formatter knows what the programs' texts use: %s (a null pointer is
// taken as the empty string), %c, %d, %lu and %lX with an optional minimum
// width (%1d, and %05lX padded with zeros), and %%. Anything else in a format
// is a programming error and refused.
#include "app/bounded.h"

#include <cstdarg>

namespace {

// Output into buf[size], remembering whether everything fitted.
struct Output {
    char* buf;
    size_t size;
    size_t used;
    bool fits;
};

void Put(Output* out, char c) {
    if (out->used + 1 < out->size) {
        out->buf[out->used++] = c;
    } else {
        out->fits = false;
    }
}

// A number in base 10 or 16 with its sign, padded on the left to width with
// spaces, or with zeros when the width began with one.
void PutNumber(Output* out, bool negative, unsigned long magnitude, unsigned base, int width, char pad) {
    // Digits of the magnitude, last first.
    char digits[11];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    // Zeros go between the sign and the digits, spaces before the sign.
    if (negative && pad == '0') Put(out, '-');
    for (int length = count + (negative ? 1 : 0); length < width; ++length) Put(out, pad);
    if (negative && pad != '0') Put(out, '-');
    while (count > 0) Put(out, digits[--count]);
}

}  // namespace

int FormatBounded(char* buf, size_t size, const char* format, ...) {
    if (buf == nullptr || size == 0) return 0;
    Output out = {buf, size, 0, true};
    va_list args;
    va_start(args, format);
    for (const char* f = format; *f != '\0' && out.fits; ++f) {
        if (*f != '%') {
            Put(&out, *f);
            continue;
        }
        ++f;
        char pad = *f == '0' ? '0' : ' ';
        int width = 0;
        while (*f >= '0' && *f <= '9') width = width * 10 + (*f++ - '0');
        if (f[0] == 'l' && (f[1] == 'u' || f[1] == 'X')) {
            PutNumber(&out, false, va_arg(args, unsigned long), *++f == 'u' ? 10 : 16, width, pad);
        } else if (*f == 's') {
            const char* text = va_arg(args, const char*);
            for (const char* t = text ? text : ""; *t != '\0'; ++t) Put(&out, *t);
        } else if (*f == 'c') {
            Put(&out, static_cast<char>(va_arg(args, int)));
        } else if (*f == 'd') {
            // Unsigned arithmetic, so that the most negative int has a magnitude too.
            int value = va_arg(args, int);
            unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
            PutNumber(&out, value < 0, magnitude, 10, width, pad);
        } else if (*f == '%') {
            Put(&out, '%');
        } else {
            out.fits = false;  // an unknown conversion
            break;
        }
    }
    va_end(args);
    if (!out.fits) {
        buf[0] = '\0';
        return 0;
    }
    buf[out.used] = '\0';
    return 1;
}

int CopyBounded(char* buf, size_t size, const char* text) {
    if (buf == nullptr || size == 0) return 0;
    if (text == nullptr) text = "";
    size_t n = 0;
    while (text[n] != '\0') {
        if (n + 1 >= size) {
            buf[0] = '\0';
            return 0;
        }
        buf[n] = text[n];
        ++n;
    }
    buf[n] = '\0';
    return 1;
}
