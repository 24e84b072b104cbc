// Removal of the product's uninstall entry, the last of what setup made: in
// the user's list and in the machine's, each only when it names the folder
// being uninstalled (an install elsewhere owns the same key name then).
#include <initializer_list>

#include "install/install_log.h"
#include "install/uninstall_entry.h"
#include "uninstall/uninstall.h"

void RemoveUninstallEntries(const char* folder) {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        char location[MAX_PATH];
        if (!ReadEntryLocation(hive, location) || !IsSameFolder(location, folder)) continue;
        LONG result = RegDeleteKeyA(hive, kUninstallKeyPath);
        if (result == ERROR_SUCCESS) {
            LogLine("removed uninstall entry", kUninstallKeyPath);
        } else {
            LogFailure("remove uninstall entry", kUninstallKeyPath, static_cast<DWORD>(result));
        }
    }
}
