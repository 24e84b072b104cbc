// The check before the install run changes anything on disk.
//
// Nothing the run does is ever undone, and its first change (deleting the
// learned dictionaries, the user's own words) cannot be. So every failure
// that can be known in advance is looked for first: a payload that does not
// inflate, a file that another program holds, a volume without room. What no
// check can foresee (power lost in the middle, another program filling the
// disk meanwhile) still ends the run where it happens, and a second run of
// setup simply installs again.
#pragma once
#include <cstdint>

enum InstallCheck {
    kInstallCanFinish,
    kInstallWouldAbort,     // a file the product cannot do without would fail
    kInstallVolumeTooSmall, // the files do not fit on the install folder's volume
};

// Goes once through the manifest rows the run will write (the word base left
// out when the user keeps the older one), changing nothing that stays
// changed:
//   - every payload is stored exactly as the build packed it (its size and
//     the Adler-32 of its stored bytes match the build's table), so it
//     inflates; nothing is inflated, and each file's installed size is the
//     table's. An ignore row whose payload is not is left out of the sums,
//     as the run will skip it;
//   - every existing target file opens for writing as the writer opens it,
//     read-only cleared for the test and set again at once; an abort row
//     held by another program (a sharing or lock violation) fails;
//   - the volume's free space covers, in whole clusters, the most the run
//     will have added at any point: each file's installed size less the
//     file it replaces, and directory entries for the new names.
// A volume whose free space the system cannot tell is taken to have room.
// folderMadeForRun: the install folder was made for this run, just before it
// (TakeInstallFolderMadeForRun), so no target file can exist yet; the files
// are not looked at one by one, and every one counts as new.
// *productBytes: the bytes of the product's files once the run is through,
// each written file at its table size and a kept word base as the disk has
// it; the uninstall entry's size, known here without a listing of the folder.
InstallCheck CheckInstallCanFinish(bool keepOlderWordBase, bool folderMadeForRun, uint32_t* productBytes);
