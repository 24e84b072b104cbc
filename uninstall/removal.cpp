// Removal of the product's files from the install folder; see uninstall.h.
//
// Only names the setup program writes are touched: the manifest, and the
// learned dictionaries that the product writes beside them (the same names
// and suffixes the install run clears). Anything else in the folder is the
// user's and stays, and so does the folder with it.
#include "uninstall/uninstall.h"

#include "app/bounded.h"
#include "install/earlier_install.h"
#include "install/install_log.h"
#include "install/manifest.h"

namespace {

constexpr char kDocFolderName[] = "doc";
constexpr char kNameSeparator[] = ", ";

// Names of the files that stayed, joined with ", ". A name that no longer
// fits is counted instead, so the message can say how many more there are.
char g_unremoved[80] = "";
int g_unremovedLength = 0;
int g_unremovedNotListed = 0;
char g_unremovedText[128] = "";

void RecordUnremoved(const char* name) {
    const char* separator = g_unremovedLength > 0 ? kNameSeparator : "";
    if (FormatBounded(g_unremoved + g_unremovedLength, sizeof g_unremoved - g_unremovedLength, "%s%s",
                      separator, name)) {
        g_unremovedLength = lstrlenA(g_unremoved);
    } else {
        ++g_unremovedNotListed;
    }
}

// True for a name the manifest writes (the bare pykeys.dic and gbkflat.dic
// are learned dictionaries too, and are removed once).
bool IsManifestName(const char* name) {
    for (const ManifestEntry& entry : kManifest) {
        if (lstrcmpiA(entry.fileName, name) == 0) return true;
    }
    return false;
}

}  // namespace

void RemoveProductFile(const char* path, const char* name) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;            // not there: nothing to do
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;            // a folder of that name is not ours
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path)) return;
    // Held by another program, or refused: the file stays as it was.
    LogFailure("delete", path, GetLastError());
    SetFileAttributesA(path, attributes);
    RecordUnremoved(name);
}

void RemoveProductFiles(const char* folder) {
    char path[MAX_PATH];
    for (const ManifestEntry& entry : kManifest) {
        // The running uninstaller goes last, through its copy.
        if (lstrcmpiA(entry.fileName, kUninstallerFileName) == 0) continue;
        if (FormatBounded(path, "%s\\%s", folder, entry.fileName)) RemoveProductFile(path, entry.fileName);
    }

    // The learned dictionaries: each name bare and with every four-digit
    // suffix of 0s and 1s.
    for (int bits = 0; bits < kLearnedSuffixCount; ++bits) {
        char suffix[kLearnedSuffixDigits + 1];
        LearnedDictionarySuffix(bits, suffix);
        for (const char* name : kLearnedDictionaryNames) {
            if (bits == 0 && IsManifestName(name)) continue;
            char fileName[MAX_PATH];
            if (FormatBounded(fileName, "%s%s", name, suffix) &&
                FormatBounded(path, "%s\\%s", folder, fileName)) {
                RemoveProductFile(path, fileName);
            }
        }
    }

    // The product keeps its documents in "doc"; only an empty one goes.
    if (FormatBounded(path, "%s\\%s", folder, kDocFolderName)) RemoveDirectoryA(path);
}

const char* UnremovedFiles() {
    if (g_unremovedNotListed == 0) return g_unremoved;
    if (FormatBounded(g_unremovedText, "%s and %d more", g_unremoved, g_unremovedNotListed)) {
        return g_unremovedText;
    }
    return g_unremoved;
}
