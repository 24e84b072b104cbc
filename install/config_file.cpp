// Updating zerezizu.ini in place, and clearing file attributes; see
// config_file.h.
//
// The file is opened in text mode ("r+"), so CR LF line ends read as "\n" and
// every "\n" written becomes CR LF, as in the shipped file. A key line is
// overwritten only when the new text covers exactly the old line's text: the
// key at the start of a complete line and an old value of the new value's
// length. Before overwriting, the line is read again at the position the
// stream reported for it and the byte before it must end a line. Text-mode
// stream positions are only exact for CR LF files (a file with bare LF line
// ends makes the runtime miscount), and this check keeps such a file from
// being overwritten in the middle of another line; the scan then stops and
// the keys are appended instead. Everything appended goes to the end of the
// file, never over existing text.
#include "install/config_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/bounded.h"
#include "app/globals.h"

namespace {

constexpr char kSectionLine[] = "[Config]";
constexpr char kBmpFontKey[] = "UseBmpFont=";
constexpr char kLanguageKey[] = "ForceLanguage=";

// One read of fgets: at most 255 characters of a line.
constexpr int kLineBufferSize = 256;

enum class Rewrite { kDone, kNotInPlace, kPositionUnsure };

struct ScanState {
    bool sectionSeen = false;
    bool bmpFontWritten = false;
    bool languageWritten = false;
};

bool StartsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

// True when the text at lineStart, read again, is exactly `line` and the byte
// before it ends a line: then writing at lineStart touches only that line.
bool LineIsAt(FILE* file, long lineStart, const char* line) {
    if (lineStart > 0) {
        if (fseek(file, lineStart - 1, SEEK_SET) != 0 || fgetc(file) != '\n') return false;
    }
    char again[kLineBufferSize] = "";
    if (fseek(file, lineStart, SEEK_SET) != 0 || fgets(again, sizeof again, file) == nullptr) {
        return false;
    }
    return strcmp(again, line) == 0;
}

// Overwrites the key line `line`, read from lineStart, with newText when that
// replaces exactly the line's text. wholeLine says the read started at a line
// start and reached the line's end.
Rewrite RewriteKeyLine(FILE* file, long lineStart, const char* line, bool wholeLine,
                       const char* key, const char* newText) {
    size_t textLength = strlen(line);
    if (textLength > 0 && line[textLength - 1] == '\n') --textLength;
    if (!wholeLine || !StartsWith(line, key) || textLength != strlen(newText)) {
        return Rewrite::kNotInPlace;
    }
    if (!LineIsAt(file, lineStart, line)) return Rewrite::kPositionUnsure;
    if (fseek(file, lineStart, SEEK_SET) != 0) return Rewrite::kPositionUnsure;
    fputs(newText, file);
    // A stream needs a positioning call between writing and reading; reading
    // goes on with the rest of the rewritten line (its line end).
    if (fseek(file, 0, SEEK_CUR) != 0) return Rewrite::kPositionUnsure;
    return Rewrite::kDone;
}

// Reads the file line by line until both keys are rewritten or the end is
// reached, rewriting key lines in place where that is safe.
ScanState ScanAndRewrite(FILE* file, const char* bmpFontText, const char* languageText) {
    ScanState state;
    bool atLineStart = true;
    long previousStart = -1;
    while (!(state.bmpFontWritten && state.languageWritten)) {
        long lineStart = ftell(file);
        // Every read must move forward; anything else means the stream's
        // positions cannot be trusted, and the scan ends.
        if (lineStart <= previousStart) break;
        previousStart = lineStart;

        char line[kLineBufferSize] = "";
        if (fgets(line, sizeof line, file) == nullptr) break;
        size_t length = strlen(line);
        bool endsLine = (length > 0 && line[length - 1] == '\n') || feof(file);
        bool wholeLine = atLineStart && endsLine;
        atLineStart = length > 0 && line[length - 1] == '\n';

        if (strstr(line, kSectionLine) != nullptr) state.sectionSeen = true;
        Rewrite result = Rewrite::kNotInPlace;
        if (strstr(line, kBmpFontKey) != nullptr) {
            result = RewriteKeyLine(file, lineStart, line, wholeLine, kBmpFontKey, bmpFontText);
            if (result == Rewrite::kDone) state.bmpFontWritten = true;
        }
        if (result != Rewrite::kPositionUnsure && strstr(line, kLanguageKey) != nullptr) {
            result = RewriteKeyLine(file, lineStart, line, wholeLine, kLanguageKey, languageText);
            if (result == Rewrite::kDone) state.languageWritten = true;
        }
        if (result == Rewrite::kPositionUnsure) break;
    }
    return state;
}

}  // namespace

int UpdateConfigFile() {
    char path[MAX_PATH];
    if (!FormatBounded(path, "%s\\%s", g_installFolder, kConfigFileName)) return 1;

    char bmpFontText[16];
    char languageText[32];
    char bmpFontValue = g_chineseDisplayOk ? '0' : '1';
    FormatBounded(bmpFontText, "%s%c", kBmpFontKey, bmpFontValue);
    FormatBounded(languageText, "%s%d", kLanguageKey, g_uiLanguage);

    ClearFileAttributes(path, 1, 1);
    FILE* file = fopen(path, "r+");
    if (file != nullptr) {
        ScanState state = ScanAndRewrite(file, bmpFontText, languageText);
        bool appending = !state.sectionSeen || !state.bmpFontWritten || !state.languageWritten;
        // The end of the file, also when the scan stopped early (both keys
        // found before any [Config] line): appending never overwrites text.
        if (appending && fseek(file, 0, SEEK_END) == 0) {
            if (!state.sectionSeen) fprintf(file, "\n\n%s\n\n", kSectionLine);
            if (!state.bmpFontWritten) fprintf(file, "\n%s\n", bmpFontText);
            if (!state.languageWritten) fprintf(file, "\n%s\n", languageText);
        }
        fclose(file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
