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

// Whether payload `identifier` is stored exactly as the build packed it: the
// bytes its record points to have the Adler-32 the record gives. The packer
// read each stream back into its source, so such a payload inflates; any
// damage to the store shows here without inflating anything: a flipped bit
// in the stream itself, a cut or bytes added before it, which move it away
// from where its record says it lies, or a cut that leaves the store too
// short for it. Gives the size of the file the run will make of it.
bool PayloadAsBuilt(int identifier, uint32_t* installed) {
    PayloadRecord record;
    if (!FindPayloadRecord(identifier, &record) ||
        adler32(adler32(0, nullptr, 0), record.stored, record.storedBytes) != record.storedAdler32) {
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
