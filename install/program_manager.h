// Program Manager groups: the product's entry on a Windows whose shell is
// Program Manager (Windows NT 3.51 as shipped), which has no Start-menu or
// desktop folders to put shortcut files in. The group is made and removed
// through Program Manager's own DDE commands, in the system's code page, so
// it appears and goes as the shell itself shows groups.
#pragma once
#include "install/shortcuts.h"

// Makes the group groupName with one item per row: the row's target file in
// the install folder as command line, the display name, the target's first
// icon, and the install folder as working folder. Program Manager shows
// the group it makes (a further ShowGroup would only show it again).
// Every name travels in double quotes, so commas and parentheses in it
// arrive whole (a name must hold no double quote). Returns 1 when Program
// Manager made the group and every item, else 0.
int CreateProgramGroup(const char* groupName, const ShortcutRow* rows);

// Removes the group groupName with its items. Returns 1 when Program
// Manager did, else 0.
int DeleteProgramGroup(const char* groupName);
