// The payload store and the file writer.
//
// Everything the setup program installs, and its glyph font, agreement texts
// and speech-module package, travels inside the executable as complete zlib
// streams, one after the other in one resource, the store; the build's
// records (tools/payload_records.py), a resource beside it, say which stream
// is which and how big each one is. These operations are the only
// way to those bytes and the only way an installed file is written. They show
// no message: every failure is the result 0 and the caller decides what to say.
#pragma once
#include <windows.h>

#include <cstdint>

#include "install/word_base.h"
#include "runtime/file_stream.h"

constexpr uint32_t kInstallBufferSize = 9u * 1024 * 1024;         // any manifest file, inflated whole
constexpr uint32_t kSpeechModuleBufferSize = 12u * 1024 * 1024;   // the speech-module package
constexpr uint32_t kGlyphFontBufferSize = 307200;                  // the glyph font
constexpr uint32_t kAgreementBufferSize = 65536;                   // each agreement text

inline constexpr char kWordBaseFileName[] = "pycizudic.idx";

// The build's record of one payload and where its stream lies in the store.
struct PayloadRecord {
    const uint8_t* stored;     // the stream's first byte in the store
    uint32_t storedBytes;
    uint32_t storedAdler32;    // of the stored bytes, as the build packed them
    uint32_t installedBytes;   // of the file the install run makes of it
};

// The record of payload `identifier`: 1, or 0 when the records have none or
// the streams before it do not fit in the store.
int FindPayloadRecord(int identifier, PayloadRecord* record);

// The stored zlib stream of payload `identifier` inside the executable, as
// it is: 1 and its bytes and size, or 0 when there is no such payload or its
// stream is empty.
int FindStoredPayload(int identifier, const uint8_t** bytes, uint32_t* size);

// Inflates payload `identifier` into buffer[0..capacity). Returns 1 and the
// inflated byte count in *length when the whole stream inflated and fitted;
// otherwise 0 (no such resource, damaged stream, too big for the buffer).
int LoadPayload(int identifier, uint8_t* buffer, uint32_t capacity, uint32_t* length);

// Inflates payload `identifier` and writes it through WritePayloadFile.
// A payload that does not inflate touches no file.
int ExtractPayload(int identifier, const char* fileName, uint8_t* buffer, uint32_t capacity,
                   int readOnly, int hidden, const char* explicitPath);

// Writes data as the file `fileName` in the install folder, or at explicitPath
// when that is not null. An older file's read-only and hidden bits are cleared
// first; the word base is converted to its weighted form when its data is in
// source form; afterwards read-only and hidden are set as the flags ask.
// A path that does not fit in MAX_PATH bytes is refused before anything is
// touched. Returns 1 when every byte reached the file, else 0.
int WritePayloadFile(const char* fileName, const uint8_t* data, uint32_t length,
                     int readOnly, int hidden, const char* explicitPath);

// The same writer for bytes that come in pieces, as the install run inflates
// them: Begin, Put every piece in order, then End. The first bytes decide
// whether the word base is in source form.
struct PayloadFile {
    FileStream stream;
    char path[MAX_PATH];
    uint32_t made;          // the attributes the file was made with
    int readOnly;
    int hidden;
    bool wordBaseName;      // named as the word base: its source form is transcoded
    bool started;           // the first bytes were seen
    bool weighted;          // being transcoded into the weighted form
    bool failed;            // some bytes did not reach the file
    WeightedWordBaseState wordBase;
};
// Makes the file as WritePayloadFile does; returns 1, or 0 when it cannot
// be made (nothing more is then to be done with it).
int BeginPayloadFile(PayloadFile* file, const char* fileName, int readOnly, int hidden, const char* explicitPath);
// Returns 1 while every byte so far reached the file.
int PutPayloadBytes(PayloadFile* file, const uint8_t* bytes, uint32_t count);
// Closes the file and sets its attributes. `complete` 0 says that the bytes
// ended early (the payload did not inflate): the file is then removed.
// Returns 1 when the file is complete and every byte reached it.
int EndPayloadFile(PayloadFile* file, int complete);
