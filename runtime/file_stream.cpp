// Buffered file stream; see file_stream.h.
//
// One buffer serves reading and writing in turn: while reading it holds the
// bytes from bufferStart on; while writing it holds bytes to be written at
// bufferStart. Changing direction or position first writes what waits, and
// the file pointer is always set explicitly before a transfer, so the stream
// never has to guess where the system's file pointer stands.
#include "runtime/file_stream.h"

#include <windows.h>

namespace {

HANDLE HandleOf(const FileStream* stream) { return static_cast<HANDLE>(stream->handle); }

bool MoveFilePointer(FileStream* stream, uint32_t offset) {
    DWORD at = SetFilePointer(HandleOf(stream), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    return at != INVALID_SET_FILE_POINTER && at == offset;
}

// Writes count bytes at offset in pieces WriteFile takes; a short or failed
// write fails the stream.
bool WriteAt(FileStream* stream, uint32_t offset, const uint8_t* bytes, size_t count) {
    if (!MoveFilePointer(stream, offset)) {
        stream->failed = true;
        return false;
    }
    while (count > 0) {
        DWORD written = 0;
        DWORD part = static_cast<DWORD>(count);
        if (!WriteFile(HandleOf(stream), bytes, part, &written, nullptr) || written != part) {
            stream->failed = true;
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

// Writes the waiting bytes and leaves the buffer empty at the current position.
bool WriteWaiting(FileStream* stream) {
    bool ok = true;
    if (stream->writing && stream->bufferUsed > 0) {
        ok = WriteAt(stream, stream->bufferStart, stream->buffer, stream->bufferUsed);
    }
    stream->bufferStart += stream->writing ? stream->bufferUsed : stream->readAt;
    stream->bufferUsed = 0;
    stream->readAt = 0;
    stream->writing = false;
    return ok;
}

}  // namespace

namespace {

int OpenWithAttributes(FileStream* stream, const char* path, FileStreamMode mode, DWORD attributes) {
    // By mode, in the order of FileStreamMode.
    static constexpr DWORD kAccess[] = {GENERIC_WRITE, GENERIC_READ, GENERIC_READ | GENERIC_WRITE, GENERIC_WRITE};
    static constexpr DWORD kDisposition[] = {CREATE_ALWAYS, OPEN_EXISTING, OPEN_EXISTING, CREATE_NEW};
    HANDLE handle = CreateFileA(path, kAccess[mode], FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                kDisposition[mode], attributes, nullptr);
    stream->handle = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    stream->bufferStart = 0;
    stream->bufferUsed = 0;
    stream->readAt = 0;
    stream->writing = false;
    stream->failed = false;
    stream->atEnd = false;
    return stream->handle != nullptr;
}

}  // namespace

int OpenFileStream(FileStream* stream, const char* path, FileStreamMode mode) {
    return OpenWithAttributes(stream, path, mode, FILE_ATTRIBUTE_NORMAL);
}

int OpenNewFileStream(FileStream* stream, const char* path, uint32_t attributes) {
    return OpenWithAttributes(stream, path, kFileCreateNew, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

int WriteFileStream(FileStream* stream, const void* bytes, size_t count) {
    if (stream->handle == nullptr) return 0;
    const uint8_t* from = static_cast<const uint8_t*>(bytes);
    if (!stream->writing) {
        // Bytes read ahead are dropped; writing starts at the reading position.
        stream->bufferStart += stream->readAt;
        stream->bufferUsed = 0;
        stream->readAt = 0;
        stream->writing = true;
    }
    stream->atEnd = false;
    if (stream->bufferUsed + count > kFileStreamBufferSize) {
        // A large write goes straight to the file after what waits.
        uint32_t offset = stream->bufferStart + stream->bufferUsed;
        if (!WriteWaiting(stream)) return 0;
        if (!WriteAt(stream, offset, from, count)) return 0;
        stream->bufferStart = offset + static_cast<uint32_t>(count);
        return 1;
    }
    for (size_t i = 0; i < count; ++i) stream->buffer[stream->bufferUsed + i] = from[i];
    stream->bufferUsed += static_cast<uint32_t>(count);
    return 1;
}

int WriteTextFileStream(FileStream* stream, const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return WriteFileStream(stream, text, length);
}

int ReadByteFileStream(FileStream* stream) {
    if (stream->handle == nullptr) return -1;
    if (stream->writing && !WriteWaiting(stream)) return -1;
    if (stream->readAt == stream->bufferUsed) {
        stream->bufferStart += stream->bufferUsed;
        stream->bufferUsed = 0;
        stream->readAt = 0;
        DWORD got = 0;
        if (!MoveFilePointer(stream, stream->bufferStart) ||
            !ReadFile(HandleOf(stream), stream->buffer, kFileStreamBufferSize, &got, nullptr) ||
            got == 0) {
            stream->atEnd = true;
            return -1;
        }
        stream->bufferUsed = got;
    }
    return stream->buffer[stream->readAt++];
}

int SeekFileStream(FileStream* stream, uint32_t offset) {
    if (stream->handle == nullptr) return 0;
    bool ok = WriteWaiting(stream);
    stream->bufferStart = offset;
    stream->atEnd = false;
    return ok && MoveFilePointer(stream, offset);
}

int SeekEndFileStream(FileStream* stream) {
    if (stream->handle == nullptr || !WriteWaiting(stream)) return 0;
    DWORD end = SetFilePointer(HandleOf(stream), 0, nullptr, FILE_END);
    if (end == INVALID_SET_FILE_POINTER) return 0;
    stream->bufferStart = end;
    stream->atEnd = false;
    return 1;
}

uint32_t TellFileStream(const FileStream* stream) {
    return stream->bufferStart + (stream->writing ? stream->bufferUsed : stream->readAt);
}

int FlushFileStream(FileStream* stream) {
    if (stream->handle == nullptr) return 0;
    uint32_t at = TellFileStream(stream);
    bool ok = WriteWaiting(stream);
    stream->bufferStart = at;
    return ok && !stream->failed;
}

int CloseFileStream(FileStream* stream) {
    if (stream->handle == nullptr) return 0;
    bool ok = FlushFileStream(stream) != 0;
    if (!CloseHandle(HandleOf(stream))) ok = false;
    stream->handle = nullptr;
    return ok;
}
