#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "folio/util/CStr.h"

// Writes a file so that its old content survives any failure: the bytes go to a new
// file beside the target, which is flushed to disk and then renamed over the target.
// Until Commit succeeds the target is untouched; a writer dropped without a successful
// Commit removes its temporary file.
class CSafeFileWriter {
public:
  explicit CSafeFileWriter(const CStr& target);
  ~CSafeFileWriter();
  CSafeFileWriter(const CSafeFileWriter&) = delete;
  CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

  // Whether every step so far worked.
  bool Good() const { return m_good; }
  bool Write(std::string_view bytes);
  // Flushes, closes and renames over the target; false (target untouched) on failure.
  bool Commit();
  // What failed, for messages: the step and the system's reason.
  const CStr& GetError() const { return m_error; }

private:
  void Fail(const char16_t* step);
  void Discard();

  CStr m_target;
  CStr m_temporary;
  std::FILE* m_file = nullptr;
  bool m_good = false;
  bool m_committed = false;
  CStr m_error;
};

// Copies source over target the same safe way; false leaves target as it was.
bool ReplaceFileSafely(const CStr& source, const CStr& target);

// Renames a file or folder; false with the system's reason in error.
bool RenamePath(const CStr& from, const CStr& to, CStr& error);
// The whole content of a file; false when it cannot be read.
bool ReadFileBytes(const CStr& path, std::string& bytes);
// Copies everything inside folder from into folder to (created when missing),
// replacing files of the same name.
bool CopyFolderContents(const CStr& from, const CStr& to);
// Removes a file if it is there; a missing file is not an error.
void RemoveFile(const CStr& path);
