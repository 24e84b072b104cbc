// The three COM identifiers the shortcut writer uses, defined here so that
// the setup program does not link the system's identifier library, whose one
// object holds every identifier of the system headers (about 1.6 KB).
#include <windows.h>

extern "C" {
extern const GUID CLSID_ShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
extern const GUID IID_IShellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
extern const GUID IID_IPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}
