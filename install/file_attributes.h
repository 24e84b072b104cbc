// The two attribute bits the installer ever changes: read-only and hidden.
// Installed files are replaced by clearing them first and marked again
// afterwards; every other attribute bit is always left as it is.
#pragma once

// Clears FILE_ATTRIBUTE_READONLY (when clearReadOnly is non-zero) and
// FILE_ATTRIBUTE_HIDDEN (when clearHidden is non-zero) of the file at path,
// leaving every other attribute bit as it is, in one attribute call. Returns 1
// when at least one bit was cleared; 0 when nothing needed clearing or the
// file does not exist.
int ClearFileAttributes(const char* path, int clearReadOnly, int clearHidden);

// Adds read-only and/or hidden as asked, keeping the other bits; a missing
// file is left alone.
void AddFileAttributes(const char* path, int readOnly, int hidden);
