// A buffered file stream over the Win32 file functions.
//
// The install engine writes whole files, reads a byte or a line, and updates
// the configuration file in place. Positions are plain byte offsets: nothing
// is translated on the way in or out, so a caller that wants CR LF line ends
// writes them itself, and a position read back is exact whatever the file's
// line ends are.
#pragma once
#include <cstddef>
#include <cstdint>

enum FileStreamMode {
    kFileCreate,   // a new, empty file replacing any older one ("wb")
    kFileRead,     // an existing file, read only ("rb")
    kFileUpdate,   // an existing file, read and written in place ("r+b")
    kFileCreateNew,   // a new, empty file where none of that name is there
};

constexpr size_t kFileStreamBufferSize = 1024;

// One open file. The caller owns it (on its stack) and must close it.
struct FileStream {
    void* handle;
    uint32_t bufferStart;   // file offset of buffer[0]
    uint32_t bufferUsed;    // valid bytes in buffer (read or waiting to be written)
    uint32_t readAt;        // next byte to read in buffer
    bool writing;           // buffer holds bytes not yet written
    bool failed;            // some write did not reach the file
    bool atEnd;             // a read found no more bytes
    uint8_t buffer[kFileStreamBufferSize];
};

// Opens path. Returns 1, or 0 when the file cannot be opened (missing,
// held by another program, not writable).
int OpenFileStream(FileStream* stream, const char* path, FileStreamMode mode);

// Makes path as a new, empty file for writing, with the given attribute bits
// (FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN): the handle still writes.
// Where a file of that name is there already it returns 0 and leaves it as it
// is, GetLastError() then being ERROR_FILE_EXISTS.
int OpenNewFileStream(FileStream* stream, const char* path, uint32_t attributes);

// Writes bytes at the current position. Returns 1 when all were taken; a
// write that failed also marks the stream, so CloseFileStream reports it.
int WriteFileStream(FileStream* stream, const void* bytes, size_t count);
int WriteTextFileStream(FileStream* stream, const char* text);

// The next byte, or -1 at the end of the file or on a read error.
int ReadByteFileStream(FileStream* stream);

// Moves to a byte offset from the file's start, or to its end. Waiting bytes
// are written first. Returns 1, or 0 when that write or the move failed.
int SeekFileStream(FileStream* stream, uint32_t offset);
int SeekEndFileStream(FileStream* stream);

// The current byte offset.
uint32_t TellFileStream(const FileStream* stream);

// Writes the waiting bytes. Returns 1 when every write so far was complete.
int FlushFileStream(FileStream* stream);

// Flushes and closes. Returns 1 when every write reached the file and the
// file closed; 0 otherwise. The stream is closed either way.
int CloseFileStream(FileStream* stream);
