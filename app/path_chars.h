// Backslashes in ANSI paths, counted as characters of a code page.
//
// In the double-byte code pages of Chinese Windows (936, 950) the second byte
// of many characters is 0x5C, the backslash: 功 is A5 5C in Big5, 淺 is 9C 5C
// in GBK. A path's last byte being 0x5C therefore says nothing about a
// separator; only a walk from the start, taking each lead byte together with
// the byte after it, finds the characters. Every test of a path for a
// trailing or a last separator goes through these helpers.
#pragma once
#include <windows.h>

// Whether the last character of path is a backslash. The first form uses the
// system's ANSI code page, the one the file system takes paths in; the second
// names a code page (for tests of the other code pages).
bool EndsWithBackslash(const char* path);
bool EndsWithBackslashIn(UINT codePage, const char* path);

// What goes between a folder and a name joined to it: "" when the folder
// already ends with a backslash (a drive root), else "\\".
const char* SeparatorAfter(const char* folder);

// Removes one trailing backslash character; true when there was one.
bool RemoveTrailingBackslash(char* path);

// The last backslash character of path, or null when it has none.
const char* FindLastBackslash(const char* path);
const char* FindLastBackslashIn(UINT codePage, const char* path);
