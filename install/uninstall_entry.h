// The product's entry in the system's list of installed programs (Add/Remove
// Programs, Apps & features), the key ZelkoScrivora under
// Software\Microsoft\Windows\CurrentVersion\Uninstall. Deployment tools read it to tell that the product
// is there and to remove it again (QuietUninstallString).
//
// Where it goes: for every user (HKEY_LOCAL_MACHINE) with /ALLUSERS, on the
// 95 family and on NT 4, whose lists read only that; for the user
// (HKEY_CURRENT_USER) on Windows 2000 and later; nowhere on NT 3.51, which
// has no such list.
#pragma once
#include <windows.h>

#include <cstdint>

inline constexpr char kUninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZelkoScrivora";

// The hive the entry belongs in on this system with these answers, or null
// where the system has no list.
HKEY UninstallEntryHive();

// Writes the entry for the product in the install folder, whose files take
// productBytes. A hive that cannot be written (NT 4 without administrator
// rights) leaves no entry and a line in the log; the install is not failed
// for it.
void WriteUninstallEntry(uint32_t productBytes);

// Reads InstallLocation of the entry in hive into folder; false when there is
// none or it does not fit.
bool ReadEntryLocation(HKEY hive, char (&folder)[MAX_PATH]);

// The folder of an earlier install, from its entry (the user's first, then
// the machine's), when that folder still holds the product's editor.
bool FindInstalledFolder(char (&folder)[MAX_PATH]);

// Whether this process may write the machine's entry: the key is opened for
// writing as the install will (a program run without administrator rights on
// the NT family may not). Changes nothing that stays.
bool MayWriteMachineEntry();

// The size in bytes of the file at path; 0 when it cannot be read.
DWORD FileSizeOf(const char* path);
