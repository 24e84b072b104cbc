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

// Copies text[0..n) into value[MAX_PATH] without one pair of double quotes
// around it. False when nothing is left or it does not fit.
bool CopyValue(const char* text, size_t n, char (&value)[MAX_PATH]) {
    if (n >= 2 && text[0] == '"' && text[n - 1] == '"') {
        ++text;
        n -= 2;
    }
    if (n == 0 || n >= MAX_PATH) return false;
    for (size_t i = 0; i < n; ++i) value[i] = text[i];
    value[n] = '\0';
    return true;
}

// The switch value after name in token, into value; false when the token is
// not that switch. *valid says whether the value was there and fitted.
bool ValueOf(const char* token, const char* name, char (&value)[MAX_PATH], bool* valid) {
    const char* rest;
    if (!StartsWith(token, name, &rest)) return false;
    *valid = CopyValue(rest, lstrlenA(rest), value);
    return true;
}

constexpr const char* kLanguageNames[] = {"EN", "ZH-CN", "ZH-TW"};

// One switch (a token without its quotes) into *out; false when it is not
// one setup knows or its value is missing.
bool ReadSwitch(const char* token, CommandLine* out) {
    bool valid = true;
    char value[MAX_PATH];
    if (IsWord(token, "/S")) {
        out->silent = true;
    } else if (IsWord(token, "/ALLUSERS")) {
        out->allUsers = true;
    } else if (IsWord(token, "/NODESKTOP")) {
        out->noDesktopIcons = true;
    } else if (IsWord(token, "/?")) {
        out->help = true;
    } else if (ValueOf(token, "/LOG=", out->log, &valid)) {
    } else if (ValueOf(token, "/LANG=", value, &valid)) {
        for (int code = 0; valid && code < 3; ++code) {
            const char* tail;
            if (StartsWith(value, kLanguageNames[code], &tail) && *tail == '\0') out->language = code;
        }
        return out->language >= 0;
    } else {
        return false;
    }
    return valid;
}

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
        // A tool that quotes every argument holding a space sends "/D=...":
        // the quotes go, as they would around any other switch.
        bool quoted = *at == '"';
        const char* start = at + (quoted ? 1 : 0);
        const char* rest;
        if (StartsWith(start, "/D=", &rest)) {
            // The rest of the line, as it is, but for spaces (and the
            // closing quote of a quoted switch) at its end.
            size_t n = lstrlenA(rest);
            while (n > 0 && IsSpace(rest[n - 1])) --n;
            if (quoted && n > 0 && rest[n - 1] == '"') --n;
            return CopyValue(rest, n, out->folder);
        }
        // One token: up to the closing quote of a quoted one, else up to the
        // next space outside quotes (/LOG="C:\My logs\setup.log").
        const char* end = start;
        bool inValueQuotes = false;
        while (*end != '\0' && (quoted ? *end != '"' : inValueQuotes || !IsSpace(*end))) {
            if (*end == '"') inValueQuotes = !inValueQuotes;
            ++end;
        }
        char token[MAX_PATH + 8];
        size_t n = static_cast<size_t>(end - start);
        if (n >= sizeof token) return false;
        for (size_t i = 0; i < n; ++i) token[i] = start[i];
        token[n] = '\0';
        if (!ReadSwitch(token, out)) return false;
        at = end + (quoted && *end == '"' ? 1 : 0);
    }
}
