// The command line; see command_line.h.
#include "app/command_line.h"

#include "app/bounded.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Whether text starts with the switch name (upper case), without regard to
// case; *rest is then what follows it.
bool StartsWith(const char* text, const char* name, const char** rest) {
    for (; *name != '\0'; ++name, ++text) {
        if (Upper(*text) != *name) return false;
    }
    *rest = text;
    return true;
}

// A whole word equal to name without regard to case: it ends at a space or
// the end of the line.
bool IsWord(const char* text, const char* name) {
    const char* rest;
    return StartsWith(text, name, &rest) && (*rest == ' ' || *rest == '\t' || *rest == '\0');
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Copies a value up to the next space, or between double quotes, into
// value[MAX_PATH]; *end is where reading goes on. False when it is empty or
// does not fit.
bool ReadValue(const char* text, char (&value)[MAX_PATH], const char** end) {
    bool quoted = *text == '"';
    if (quoted) ++text;
    size_t n = 0;
    while (text[n] != '\0' && (quoted ? text[n] != '"' : !IsSpace(text[n]))) ++n;
    *end = text + n + (quoted && text[n] == '"' ? 1 : 0);
    if (n == 0 || n >= MAX_PATH) return false;
    for (size_t i = 0; i < n; ++i) value[i] = text[i];
    value[n] = '\0';
    return true;
}

constexpr const char* kLanguageNames[] = {"EN", "ZH-CN", "ZH-TW"};

}  // namespace

bool ParseCommandLine(const char* line, CommandLine* out) {
    *out = CommandLine{};
    out->language = -1;
    // The program's own name: up to the closing quote, or the first space.
    const char* at = line;
    if (*at == '"') {
        ++at;
        while (*at != '\0' && *at != '"') ++at;
        if (*at == '"') ++at;
    } else {
        while (*at != '\0' && !IsSpace(*at)) ++at;
    }
    for (;;) {
        while (IsSpace(*at)) ++at;
        if (*at == '\0') return true;
        const char* rest;
        if (StartsWith(at, "/D=", &rest)) {
            // The rest of the line, as it is, but for spaces at its end.
            size_t n = lstrlenA(rest);
            while (n > 0 && IsSpace(rest[n - 1])) --n;
            if (n == 0 || n >= MAX_PATH) return false;
            for (size_t i = 0; i < n; ++i) out->folder[i] = rest[i];
            out->folder[n] = '\0';
            return true;
        }
        if (IsWord(at, "/S")) {
            out->silent = true;
        } else if (IsWord(at, "/ALLUSERS")) {
            out->allUsers = true;
        } else if (IsWord(at, "/NODESKTOP")) {
            out->noDesktopIcons = true;
        } else if (IsWord(at, "/?")) {
            out->help = true;
        } else if (StartsWith(at, "/LOG=", &rest)) {
            if (!ReadValue(rest, out->log, &at)) return false;
            continue;
        } else if (StartsWith(at, "/LANG=", &rest)) {
            char name[MAX_PATH];
            if (!ReadValue(rest, name, &at)) return false;
            for (int code = 0; code < 3; ++code) {
                const char* tail;
                if (StartsWith(name, kLanguageNames[code], &tail) && *tail == '\0') out->language = code;
            }
            if (out->language < 0) return false;
            continue;
        } else {
            return false;
        }
        while (*at != '\0' && !IsSpace(*at)) ++at;
    }
}
