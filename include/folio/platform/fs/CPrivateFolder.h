#pragma once
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// A new folder in the user's temporary folder that only this user can enter (0700),
// made by mkdtemp so that nobody can have prepared it, and removed with everything in
// it when the object goes. Temporary files made inside it cannot be guessed at or
// replaced by other users, whatever their names. Files inside it are scratch: a crash
// that takes them loses nothing of the user's, so Folio writes them without waiting
// for the disk. A host that stages a report in one before putting it in place saves
// every flush but the last.
class FOLIO_API CPrivateFolder {
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
