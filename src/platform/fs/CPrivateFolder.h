#pragma once
#include <filesystem>

#include "folio/platform/fs/CPrivateFolder.h"
#include "folio/util/CStr.h"

// The process's private folder for temporary reports, template copies and backups: made
// on first use, made afresh should it vanish or change hands, removed at exit. It ends
// with a separator; empty when no folder can be made.
CStr ProcessTempFolder();

// Whether path lies inside a private folder that this process made and still holds. A
// crash that takes such a file loses nothing of the user's, so it is written without
// waiting for the disk; only a file that becomes the user's is flushed.
bool IsScratchPath(const std::filesystem::path& path);

// A new name "<stem><date>[_n]<extension>" in the process's private folder
// (MakeUniqueFileName); empty when there is no private folder.
CStr PrivateTempName(const CStr& stem, const CStr& extension);
