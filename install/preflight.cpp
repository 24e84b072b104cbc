// The check before the install run; see preflight.h.
#include "install/preflight.h"

#include <windows.h>
#include <zlib.h>

#include "app/bounded.h"
#include "app/busy_queue.h"
#include "app/dll_search.h"
#include "app/globals.h"
#include "install/file_attributes.h"
#include "install/install_log.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/uninstall_entry.h"

namespace {

using GetDiskFreeSpaceExProc = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// A new name in a FAT directory takes one entry of 32 bytes and one more for
// every 13 characters of its long name: at most four for the product's names.
constexpr uint32_t kEntryBytesPerNewName = 4 * 32;
static_assert(LongestManifestName() <= 3 * 13, "a name takes at most four directory entries");

struct VolumeRoom {
    uint64_t freeBytes;
    uint32_t clusterBytes;
};

// The free space of the install folder's volume and its cluster size; false
// when the system cannot tell. GetDiskFreeSpaceA answers on every Windows but
// tells at most 2 GB on some and takes only a volume's root; where the system
// has GetDiskFreeSpaceExA, it tells the whole amount and takes the folder
// itself, so that a volume mounted on a folder counts as itself. A network
// folder's root is not worked out: its room counts as unknown.
bool ReadVolumeRoom(VolumeRoom* room) {
    const char* folder = g_installFolder;
    if (folder[0] == '\\' && folder[1] == '\\') return false;
    char root[] = {folder[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(folder[1] == ':' ? root : nullptr, &sectorsPerCluster, &bytesPerSector,
                           &freeClusters, &totalClusters)) {
        return false;
    }
    room->clusterBytes = sectorsPerCluster * bytesPerSector;
    room->freeBytes = static_cast<uint64_t>(freeClusters) * room->clusterBytes;
    auto getDiskFreeSpaceEx = KernelProc<GetDiskFreeSpaceExProc>("GetDiskFreeSpaceExA");
    ULARGE_INTEGER available, total, totalFree;
    if (getDiskFreeSpaceEx != nullptr && getDiskFreeSpaceEx(folder, &available, &total, &totalFree)) {
        room->freeBytes = available.QuadPart;
    }
    return room->clusterBytes != 0;
}

int32_t Clusters(uint32_t bytes, uint32_t clusterBytes) {
    return static_cast<int32_t>((bytes + clusterBytes - 1) / clusterBytes);
}

// The build's record of one payload (tools/payload_records.py): its stored
// stream's size and Adler-32, and the size of the file the run makes of it.
// The records are a resource of their own, 16 bytes each, little-endian.
constexpr char kPayloadRecordsName[] = "PAYLOADRECORDS";   // as cmake/Payloads.cmake names it
constexpr uint32_t kPayloadRecordBytes = 16;

struct PayloadRecord {
    uint32_t storedBytes;
    uint32_t storedAdler32;
    uint32_t installedBytes;
};

uint32_t LittleEndian32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// The build's record of payload `identifier`; false when it has none.
bool FindPayloadRecord(int identifier, PayloadRecord* record) {
    HRSRC resource = FindResourceA(g_instance, kPayloadRecordsName, RT_RCDATA);
    HGLOBAL loaded = resource ? LoadResource(g_instance, resource) : nullptr;
    const uint8_t* rows = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (rows == nullptr) return false;
    uint32_t count = SizeofResource(g_instance, resource) / kPayloadRecordBytes;
    for (const uint8_t* row = rows; row < rows + count * kPayloadRecordBytes; row += kPayloadRecordBytes) {
        if ((row[0] | row[1] << 8) != identifier) continue;
        record->storedBytes = LittleEndian32(row + 4);
        record->storedAdler32 = LittleEndian32(row + 8);
        record->installedBytes = LittleEndian32(row + 12);
        return true;
    }
    return false;
}

// Whether payload `identifier` is stored exactly as the build packed it: the
// same size and the same Adler-32 over every stored byte. The packer read
// each stream back into its source, so such a payload inflates; any damage
// to the stored bytes (a flipped bit, a cut, bytes added) shows here without
// inflating anything. Gives the size of the file the run will make of it.
bool PayloadAsBuilt(int identifier, uint32_t* installed) {
    PayloadRecord record;
    const uint8_t* stored;
    uint32_t size;
    if (!FindPayloadRecord(identifier, &record) || !FindStoredPayload(identifier, &stored, &size) ||
        size != record.storedBytes || adler32(adler32(0, nullptr, 0), stored, size) != record.storedAdler32) {
        return false;
    }
    *installed = record.installedBytes;
    return true;
}

struct Target {
    bool exists;
    uint32_t bytes;
};

// Whether the writer will be able to replace the file at path: it is opened
// for writing as the writer opens it, but kept. A read-only file has the bit
// cleared for the test and set again straight after. A missing file can be
// written; any other failure (another program holds it, a folder of that
// name, no access) is the writer's failure too.
bool CanReplace(const char* path, Target* target) {
    target->exists = false;
    target->bytes = 0;
    DWORD attributes = GetFileAttributesA(path);
    // Into a fresh folder there is nothing there: the attributes tell that
    // without an open that fails.
    if (attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = GetLastError();
    if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_NOT_FOUND) LogFailure("open for writing", path, error);
    if (readOnly) SetFileAttributesA(path, attributes);
    target->exists = file != INVALID_HANDLE_VALUE;
    if (!target->exists) return error == ERROR_FILE_NOT_FOUND;
    target->bytes = GetFileSize(file, nullptr);
    CloseHandle(file);
    return true;
}

}  // namespace

InstallCheck CheckInstallCanFinish(bool keepOlderWordBase, bool folderMadeForRun, uint32_t* productBytes) {
    VolumeRoom room;
    bool roomKnown = ReadVolumeRoom(&room);
    uint32_t cluster = roomKnown ? room.clusterBytes : 1;
    // Each file is cut to nothing before its new bytes go in, so the run
    // needs the most it has added at any point, not only what it adds in all.
    int32_t added = 0, most = 0;
    uint32_t entryBytes = 0;
    *productBytes = 0;
    for (const ManifestEntry& entry : kManifest) {
        AnswerSentMessagesNowAndThen();  // between files, so that Windows sees the program alive
        char path[MAX_PATH];
        bool named = FormatBounded(path, "%s\\%s", g_installFolder, entry.fileName);
        if (entry.wordBase && keepOlderWordBase) {
            if (named) *productBytes += FileSizeOf(path);
            continue;
        }
        Target target;
        uint32_t installed = 0;
        // In a folder made for this run there is nothing to replace: no file
        // needs a look.
        target.exists = false;
        target.bytes = 0;
        bool ready = named && (folderMadeForRun || CanReplace(path, &target)) &&
                     PayloadAsBuilt(entry.identifier, &installed);
        if (!ready) {
            // An ignore row that fails is skipped by the run as well.
            if (entry.abortOnFailure) return kInstallWouldAbort;
            continue;
        }
        *productBytes += installed;
        added += Clusters(installed, cluster) - Clusters(target.bytes, cluster);
        if (added > most) most = added;
        if (!target.exists) entryBytes += kEntryBytesPerNewName;
    }
    most += Clusters(entryBytes, cluster);
    if (roomKnown && static_cast<uint64_t>(most) * cluster > room.freeBytes) return kInstallVolumeTooSmall;
    return kInstallCanFinish;
}
