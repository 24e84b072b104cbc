// Line splitting of the Chinese agreement text.
#include "wizard/agreement_lines.h"

int SplitAgreementLines(char* text, const char** lines, int maxLines) {
    int count = 0;
    char* start = text;
    while (count < maxLines) {
        char* end = start;
        while (*end != '\0' && *end != '\r') {
            ++end;
        }
        if (*end == '\0') {
            break;  // an unfinished last line is not shown
        }
        *end = '\0';
        lines[count++] = start;
        start = end + 1;
        if (*start == '\n') {
            ++start;
        }
    }
    return count;
}
