// Fitting mixed strings into fixed buffers at character boundaries; see
// whole_characters.h.
#include "wizard/whole_characters.h"

#include <cstring>

namespace {

// Length of the longest prefix of text[0..length) that ends on a character
// boundary: a lead byte whose trail byte lies beyond `length` is left out.
size_t WholeCharacterLength(const char* text, size_t length) {
    size_t position = 0;
    while (position < length) {
        size_t step = (static_cast<unsigned char>(text[position]) & 0x80) ? 2 : 1;
        if (position + step > length) break;
        position += step;
    }
    return position;
}

}  // namespace

int CopyWholeCharacters(char* buf, size_t size, const char* text) {
    if (buf == nullptr || size == 0) return 0;
    if (text == nullptr) text = "";
    size_t length = strlen(text);
    if (length < size) {
        memcpy(buf, text, length + 1);
        return 1;
    }
    size_t kept = WholeCharacterLength(text, size - 1);
    memcpy(buf, text, kept);
    buf[kept] = '\0';
    return 0;
}

int ReadWholeWindowText(HWND window, char* buf, int size) {
    if (buf == nullptr || size <= 0) return 0;
    buf[0] = '\0';
    int read = GetWindowTextA(window, buf, size);
    if (read < 0) read = 0;
    if (read >= size) read = size - 1;
    buf[read] = '\0';
    // GetWindowTextA cuts a long text at the byte limit, which may fall
    // between the two bytes of a character.
    if (GetWindowTextLengthA(window) > read) {
        read = static_cast<int>(WholeCharacterLength(buf, static_cast<size_t>(read)));
        buf[read] = '\0';
    }
    return read;
}
