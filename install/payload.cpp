// Payload store and file writer; see payload.h.
#include "install/payload.h"

#include <windows.h>
#include <zlib.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/file_attributes.h"
#include "runtime/file_stream.h"

namespace {

// File names compare as the file system does for the name we ship: ASCII
// letters without regard to case, every other byte exactly.
bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

int WriteToFileStream(void* stream, const uint8_t* bytes, size_t count) {
    return WriteFileStream(static_cast<FileStream*>(stream), bytes, count);
}

// The store and its records, as cmake/Payloads.cmake names them. Each record
// is 16 bytes, little-endian: identifier (2 bytes, then 2 unused), stored
// size, Adler-32 of the stored bytes, installed size.
constexpr char kPayloadStoreName[] = "PAYLOADS";
constexpr char kPayloadRecordsName[] = "PAYLOADRECORDS";
constexpr uint32_t kPayloadRecordBytes = 16;

// The bytes of the data resource `name`, or null; its size in *size.
const uint8_t* DataResource(const char* name, uint32_t* size) {
    HRSRC resource = FindResourceA(g_instance, name, RT_RCDATA);
    HGLOBAL loaded = resource ? LoadResource(g_instance, resource) : nullptr;
    *size = resource ? SizeofResource(g_instance, resource) : 0;
    return loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
}

uint32_t LittleEndian32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

}  // namespace

int FindPayloadRecord(int identifier, PayloadRecord* record) {
    uint32_t rowBytes, storeBytes;
    const uint8_t* row = DataResource(kPayloadRecordsName, &rowBytes);
    const uint8_t* store = DataResource(kPayloadStoreName, &storeBytes);
    if (row == nullptr || store == nullptr) return 0;
    // The streams lie in the order of the records: a payload's stream starts
    // where the streams of the rows before it end. Sizes that run past the
    // store are damage, and nothing after them can be found.
    uint32_t offset = 0;
    for (; rowBytes >= kPayloadRecordBytes; row += kPayloadRecordBytes, rowBytes -= kPayloadRecordBytes) {
        uint32_t stored = LittleEndian32(row + 4);
        if (stored > storeBytes - offset) return 0;
        if ((row[0] | row[1] << 8) == identifier) {
            record->stored = store + offset;
            record->storedBytes = stored;
            record->storedAdler32 = LittleEndian32(row + 8);
            record->installedBytes = LittleEndian32(row + 12);
            return 1;
        }
        offset += stored;
    }
    return 0;
}

int FindStoredPayload(int identifier, const uint8_t** bytes, uint32_t* size) {
    PayloadRecord record;
    if (!FindPayloadRecord(identifier, &record)) return 0;
    *bytes = record.stored;
    *size = record.storedBytes;
    return *size != 0;
}

int LoadPayload(int identifier, uint8_t* buffer, uint32_t capacity, uint32_t* length) {
    const uint8_t* packed;
    uint32_t packedSize;
    if (!FindStoredPayload(identifier, &packed, &packedSize)) return 0;

    uLongf inflated = capacity;
    if (uncompress(buffer, &inflated, packed, packedSize) != Z_OK) return 0;
    if (length != nullptr) *length = static_cast<uint32_t>(inflated);
    return 1;
}

int ExtractPayload(int identifier, const char* fileName, uint8_t* buffer, uint32_t capacity,
                   int readOnly, int hidden, const char* explicitPath) {
    uint32_t length = 0;
    if (!LoadPayload(identifier, buffer, capacity, &length)) return 0;
    return WritePayloadFile(fileName, buffer, length, readOnly, hidden, explicitPath);
}

int WritePayloadFile(const char* fileName, const uint8_t* data, uint32_t length,
                     int readOnly, int hidden, const char* explicitPath) {
    PayloadFile file;
    if (!BeginPayloadFile(&file, fileName, readOnly, hidden, explicitPath)) return 0;
    PutPayloadBytes(&file, data, length);
    return EndPayloadFile(&file, 1);
}

int BeginPayloadFile(PayloadFile* file, const char* fileName, int readOnly, int hidden, const char* explicitPath) {
    int fits = explicitPath ? CopyBounded(file->path, explicitPath)
                            : FormatBounded(file->path, "%s\\%s", g_installFolder, fileName);
    if (!fits) return 0;
    file->readOnly = readOnly;
    file->hidden = hidden;
    file->wordBaseName = fileName != nullptr && EqualsIgnoringAsciiCase(fileName, kWordBaseFileName);
    file->started = false;
    file->weighted = false;
    file->failed = false;

    // A new file is made with its attributes, which spares a call that
    // changes them afterwards (each one opens the file again): hidden when it
    // is asked for, else read-only. Not both at once: some file systems
    // (Wine's on a POSIX disk among them) record hidden in a way that needs
    // write access, which a file made read-only no longer gives. Made new
    // first, without a look whether it is there: into a fresh folder that
    // look is one call per file for nothing.
    file->made = hidden ? FILE_ATTRIBUTE_HIDDEN : readOnly ? FILE_ATTRIBUTE_READONLY : 0;
    if (OpenNewFileStream(&file->stream, file->path, file->made)) return 1;
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
    // An older file loses read-only and hidden so that it can be replaced.
    file->made = 0;
    ClearFileAttributes(file->path, 1, 1);
    return OpenFileStream(&file->stream, file->path, kFileCreate);
}

int PutPayloadBytes(PayloadFile* file, const uint8_t* bytes, uint32_t count) {
    if (!file->started && count > 0) {
        file->started = true;
        // The word base in source form starts with a key byte; the weighted
        // form with its marker, and it is written as it is.
        file->weighted = file->wordBaseName && bytes[0] < 0x80;
        if (file->weighted) BeginWeightedWordBase(&file->wordBase, WriteToFileStream, &file->stream);
    }
    bool written = file->weighted ? PutWeightedWordBase(&file->wordBase, bytes, count) != 0
                                  : WriteFileStream(&file->stream, bytes, count) != 0;
    if (!written) file->failed = true;
    return !file->failed;
}

int EndPayloadFile(PayloadFile* file, int complete) {
    if (file->weighted && !EndWeightedWordBase(&file->wordBase)) file->failed = true;
    // The stream's buffer reaches the disk only when it is flushed; a full
    // disk shows there for small files, so the close's result counts as much
    // as every write's.
    if (!CloseFileStream(&file->stream)) file->failed = true;
    if (!complete || file->failed) {
        // A file cut short does not keep the attributes it was made with;
        // one whose payload broke off is not kept at all.
        if (file->made != 0 || !complete) ClearFileAttributes(file->path, 1, 1);
        if (!complete) DeleteFileA(file->path);
        return 0;
    }
    AddFileAttributes(file->path, file->readOnly, file->hidden);   // only what creation did not give
    return 1;
}
