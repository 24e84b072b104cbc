// What an earlier installation left in the install folder: its phrase word
// base, which the user may keep, and its learned dictionaries, which are
// always removed because they do not fit the new dictionaries.
#pragma once
#include <cstddef>

// Clears read-only and hidden and deletes the file. A file that is missing or
// cannot be deleted is no error: nobody needs the result.
void ForceDeleteFile(const char* path);

// Deletes pykeys.dic, Gbkflat.dic, flatAuto.dic and flatAdjust.dic of the
// install folder, each bare and with every four-digit suffix of 0s and 1s
// ("0001" to "1111"): 64 deletions.
void DeleteLearnedDictionaries();

// True when the install folder holds a word base in weighted form (the first
// byte of pycizudic.idx has its top bit set), i.e. one that an earlier
// installation put there.
bool InstallFolderHasWeightedWordBase();

// True when a file (or folder) of that name stands in the install folder.
bool ExistsInInstallFolder(const char* fileName);

// The learned dictionaries, in the order they are deleted for each suffix.
inline constexpr const char* kLearnedDictionaryNames[] = {"pykeys.dic", "Gbkflat.dic", "flatAuto.dic",
                                                          "flatAdjust.dic"};
constexpr size_t kLearnedSuffixDigits = 4;
// How many suffixes each name has, the bare name counted as suffix 0.
constexpr int kLearnedSuffixCount = 1 << kLearnedSuffixDigits;

// Suffix number `bits` (0 to kLearnedSuffixCount - 1): "" for 0, else its
// binary digits, the last changing fastest ("0001" to "1111").
void LearnedDictionarySuffix(int bits, char (&suffix)[kLearnedSuffixDigits + 1]);

// The longest name DeleteLearnedDictionaries deletes, suffix included.
constexpr size_t LongestLearnedDictionaryName() {
    size_t longest = 0;
    for (const char* name : kLearnedDictionaryNames) {
        size_t length = 0;
        while (name[length] != '\0') ++length;
        if (length > longest) longest = length;
    }
    return longest + kLearnedSuffixDigits;
}
