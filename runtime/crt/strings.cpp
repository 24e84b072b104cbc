// The string functions the program's code calls, in the program itself
// instead of a C runtime DLL. Byte strings: no locale, no multibyte logic.
#include <cstddef>

extern "C" {

size_t strlen(const char* text) {
    size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

int strcmp(const char* a, const char* b) {
    for (; *a != '\0' && *a == *b; ++a, ++b) {}
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int strncmp(const char* a, const char* b, size_t count) {
    for (; count > 0; --count, ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') return 0;
    }
    return 0;
}

char* strchr(const char* text, int c) {
    for (;; ++text) {
        if (*text == static_cast<char>(c)) return const_cast<char*>(text);
        if (*text == '\0') return nullptr;
    }
}

char* strrchr(const char* text, int c) {
    const char* found = nullptr;
    for (;; ++text) {
        if (*text == static_cast<char>(c)) found = text;
        if (*text == '\0') return const_cast<char*>(found);
    }
}

char* strstr(const char* text, const char* part) {
    if (*part == '\0') return const_cast<char*>(text);
    for (; *text != '\0'; ++text) {
        size_t i = 0;
        while (part[i] != '\0' && text[i] == part[i]) ++i;
        if (part[i] == '\0') return const_cast<char*>(text);
    }
    return nullptr;
}

}  // extern "C"
