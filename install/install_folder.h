// The install folder before and after the run: made when it is not there
// (with its empty "doc" folder for the help pages), and taken away again
// after a run that failed and left nothing in it.
#pragma once

// Enters the install folder, or creates it with an empty "doc" folder, and
// then sets *created. An existing folder is used as it is. False when the
// folder is empty or cannot be made.
bool EnterOrCreateInstallFolder(bool* created);

// Whether the install folder (g_installFolder) is one that
// EnterOrCreateInstallFolder made since the last time this was asked: no
// file of the product can be in it yet. Asked once per run; the answer is
// forgotten with the asking, so a later run into the same folder, which by
// then holds files, is not taken for a fresh one.
bool TakeInstallFolderMadeForRun();

// A failed install into a folder this run made takes the folder away again
// when the run left nothing in it (the check found the failure beforehand),
// so that it changed nothing at all. A folder with files in it stays, and
// keeps its "doc" folder.
void RemoveCreatedFolderIfEmpty();
