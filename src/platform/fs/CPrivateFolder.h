#pragma once
#include <filesystem>

#include "folio/util/CStr.h"

// A new folder in the user's temporary folder that only this user can enter (0700),
// made by mkdtemp so that nobody can have prepared it, and removed with everything in
// it when the object goes. Temporary files made inside it cannot be guessed at or
// replaced by other users, whatever their names.
class CPrivateFolder {
public:
  CPrivateFolder();
  ~CPrivateFolder();
  CPrivateFolder(const CPrivateFolder&) = delete;
  CPrivateFolder& operator=(const CPrivateFolder&) = delete;

  // The folder with its final separator; empty when it could not be made.
  const CStr& Path() const { return m_path; }
  // Whether the folder is still there, still this user's and still private.
  bool StillPrivate() const;

private:
  CStr m_path;
};

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
