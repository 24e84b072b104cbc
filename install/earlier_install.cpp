// Traces of an earlier installation in the install folder; see
// earlier_install.h.
#include "install/earlier_install.h"

#include <windows.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/file_attributes.h"
#include "install/payload.h"
#include "install/word_base.h"
#include "runtime/file_stream.h"

void ForceDeleteFile(const char* path) {
    // Most of the 64 names are not there: asking costs less than a delete
    // that fails. A read-only file cannot be deleted; clear its attributes
    // first.
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    ClearFileAttributes(path, 1, 1);
    DeleteFileA(path);
}

void LearnedDictionarySuffix(int bits, char (&suffix)[kLearnedSuffixDigits + 1]) {
    suffix[0] = '\0';
    if (bits != 0) {
        FormatBounded(suffix, "%1d%1d%1d%1d", (bits >> 3) & 1, (bits >> 2) & 1, (bits >> 1) & 1, bits & 1);
    }
}

void DeleteLearnedDictionaries() {
    for (int bits = 0; bits < kLearnedSuffixCount; ++bits) {
        char suffix[kLearnedSuffixDigits + 1];
        LearnedDictionarySuffix(bits, suffix);
        for (const char* name : kLearnedDictionaryNames) {
            char path[MAX_PATH];
            if (FormatBounded(path, "%s\\%s%s", g_installFolder, name, suffix)) ForceDeleteFile(path);
        }
    }
}

bool InstallFolderHasWeightedWordBase() {
    char path[MAX_PATH];
    if (!FormatBounded(path, "%s\\%s", g_installFolder, kWordBaseFileName)) return false;
    FileStream file;
    if (!OpenFileStream(&file, path, kFileRead)) return false;
    int first = ReadByteFileStream(&file);
    CloseFileStream(&file);
    return first >= 0 && (first & kWeightedWordBaseMarker) != 0;
}

bool ExistsInInstallFolder(const char* fileName) {
    char path[MAX_PATH];
    return FormatBounded(path, "%s\\%s", g_installFolder, fileName) &&
           GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
