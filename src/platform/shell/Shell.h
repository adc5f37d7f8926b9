#pragma once
#include "folio/util/CStr.h"

// Asks the desktop to act on a file ("open" or "edit") without waiting for it; the
// desktop's own opener decides which program. False when it could not be started.
bool ShellExecute(const CStr& verb, const CStr& path);

// Whether path is relative to the current folder (an empty path counts as relative).
bool PathIsRelative(const CStr& path);
// Whether path names an existing folder.
bool PathIsDirectory(const CStr& path);
