// Splitting the Chinese agreement text into the lines of its list. Plain C++
// without Win32, so it can be checked on its own.
#pragma once

// The list shows at most this many lines; the rest of the text is ignored.
constexpr int kMaxAgreementLines = 500;

// Splits a zero-terminated text into lines in place. A line ends at a CR,
// which is replaced by a zero; one LF right after the CR is skipped. Text
// after the last CR is not a line. Empty lines count. Stores at most maxLines
// line starts in lines[] and returns how many.
int SplitAgreementLines(char* text, const char** lines, int maxLines);
