// Updating zerezizu.ini in place, and clearing file attributes; see
// config_file.h.
//
// The file is read and written with plain byte offsets. Lines are read as
// pieces of at most 255 characters in which a CR LF line end counts as one
// "\n" (a bare LF ends a line too; a CR alone is an ordinary character), and
// every line end written is CR LF, as in the shipped file. A key line is
// overwritten only when the new text covers exactly the old line's text: the
// key at the start of a complete line and an old value of the new value's
// length. Everything appended goes to the end of the file, never over
// existing text.
#include "install/config_file.h"

#include <windows.h>

#include <cstring>

#include "app/bounded.h"
#include "app/globals.h"
#include "runtime/file_stream.h"

namespace {

constexpr char kSectionLine[] = "[Config]";
constexpr char kBmpFontKey[] = "UseBmpFont=";
constexpr char kLanguageKey[] = "ForceLanguage=";
constexpr char kLineEnd[] = "\r\n";

// One read of a line: at most 255 characters and the terminating zero.
constexpr int kLineBufferSize = 256;

struct ScanState {
    bool sectionSeen = false;
    bool bmpFontWritten = false;
    bool languageWritten = false;
};

// One piece of a line as ReadLinePiece gives it.
struct LinePiece {
    char text[kLineBufferSize];
    size_t length;   // characters in text, zero bytes included
    bool endsLine;   // the piece ends with "\n" or with the end of the file
};

bool StartsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

// Reads the next piece of a line. A CR directly followed by LF is the one
// character "\n". Returns false when the file has no more bytes.
bool ReadLinePiece(FileStream* file, LinePiece* piece) {
    piece->length = 0;
    piece->endsLine = false;
    while (piece->length + 1 < kLineBufferSize) {
        int c = ReadByteFileStream(file);
        if (c < 0) {
            piece->endsLine = true;
            break;
        }
        if (c == '\r') {
            uint32_t afterCr = TellFileStream(file);
            if (ReadByteFileStream(file) == '\n') {
                c = '\n';
            } else {
                SeekFileStream(file, afterCr);
            }
        }
        piece->text[piece->length++] = static_cast<char>(c);
        if (c == '\n') {
            piece->endsLine = true;
            break;
        }
    }
    piece->text[piece->length] = '\0';
    return piece->length > 0;
}

// Overwrites the key line `piece`, read from lineStart, with newText when
// that replaces exactly the line's text. atLineStart says the piece is the
// start of its line. Returns whether the line was rewritten.
bool RewriteKeyLine(FileStream* file, uint32_t lineStart, const LinePiece& piece, bool atLineStart,
                    const char* key, const char* newText) {
    size_t textLength = piece.length;
    if (textLength > 0 && piece.text[textLength - 1] == '\n') --textLength;
    if (!atLineStart || !piece.endsLine || !StartsWith(piece.text, key) ||
        textLength != strlen(newText)) {
        return false;
    }
    uint32_t lineEnd = TellFileStream(file);
    bool written = SeekFileStream(file, lineStart) && WriteTextFileStream(file, newText);
    // Reading goes on after the line, whatever the write did; moving there
    // writes the new text, so its result counts too.
    return SeekFileStream(file, lineEnd) && written;
}

// Reads the file line by line until both keys are rewritten or the end is
// reached, rewriting key lines in place where that is safe.
ScanState ScanAndRewrite(FileStream* file, const char* bmpFontText, const char* languageText) {
    ScanState state;
    bool atLineStart = true;
    LinePiece piece;
    while (!(state.bmpFontWritten && state.languageWritten)) {
        uint32_t lineStart = TellFileStream(file);
        if (!ReadLinePiece(file, &piece)) break;
        // The keys are looked for as text: a zero byte hides the rest of the piece.
        if (strstr(piece.text, kSectionLine) != nullptr) state.sectionSeen = true;
        if (strstr(piece.text, kBmpFontKey) != nullptr &&
            RewriteKeyLine(file, lineStart, piece, atLineStart, kBmpFontKey, bmpFontText)) {
            state.bmpFontWritten = true;
        } else if (strstr(piece.text, kLanguageKey) != nullptr &&
                   RewriteKeyLine(file, lineStart, piece, atLineStart, kLanguageKey, languageText)) {
            state.languageWritten = true;
        }
        atLineStart = piece.text[piece.length - 1] == '\n';
    }
    return state;
}

// Appends an empty line, then `line` and its line end.
void AppendAfterEmptyLine(FileStream* file, const char* line) {
    WriteTextFileStream(file, kLineEnd);
    WriteTextFileStream(file, line);
    WriteTextFileStream(file, kLineEnd);
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
    FileStream file;
    if (OpenFileStream(&file, path, kFileUpdate)) {
        ScanState state = ScanAndRewrite(&file, bmpFontText, languageText);
        bool appending = !state.sectionSeen || !state.bmpFontWritten || !state.languageWritten;
        // The end of the file, also when the scan stopped early (both keys
        // found before any [Config] line): appending never overwrites text.
        if (appending && SeekEndFileStream(&file)) {
            if (!state.sectionSeen) {
                WriteTextFileStream(&file, kLineEnd);
                AppendAfterEmptyLine(&file, kSectionLine);
                WriteTextFileStream(&file, kLineEnd);
            }
            if (!state.bmpFontWritten) AppendAfterEmptyLine(&file, bmpFontText);
            if (!state.languageWritten) AppendAfterEmptyLine(&file, languageText);
        }
        CloseFileStream(&file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
