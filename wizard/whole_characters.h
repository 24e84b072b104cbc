// Fitting a mixed string (GB2312 double-byte characters among ASCII) into a
// fixed buffer without splitting a character. A byte with its top bit set
// starts a two-byte character; cutting between its two bytes would leave a
// lead byte that swallows whatever follows it and paints a wrong glyph. When a
// text is too long for its buffer, these helpers keep the longest run of whole
// characters that fits.
#pragma once
#include <windows.h>

#include <cstddef>

// Copies text into buf[size]. Returns 1 when the whole text fits with its
// zero; otherwise copies the longest run of whole characters that fits and
// returns 0. A null text counts as empty. buf is always zero-terminated.
int CopyWholeCharacters(char* buf, size_t size, const char* text);

template <size_t N>
int CopyWholeCharacters(char (&buf)[N], const char* text) {
    return CopyWholeCharacters(buf, N, text);
}

// Reads a window's text into buf[size]. A text too long for the buffer keeps
// only the whole characters that fit: a lead byte left at the end by the cut
// is dropped. Returns the length in bytes of what was kept.
int ReadWholeWindowText(HWND window, char* buf, int size);
