#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "folio/platform/fs/CPrivateFolder.h"

namespace FolioCli {

// A private temporary folder for one command: TMPDIR points at it while the object
// lives, so that the temporary files Folio makes (template copies, temporary reports)
// and the picture copies go there, and all of it is removed at the end. Folio knows it
// as a private folder, so that the report staged in it is not flushed at every pass.
class CWorkFolder {
public:
  CWorkFolder();
  ~CWorkFolder();
  CWorkFolder(const CWorkFolder&) = delete;
  CWorkFolder& operator=(const CWorkFolder&) = delete;

  // Empty when no folder could be made (TMPDIR is then left alone).
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::optional<std::string> m_previousTmpdir;
  std::unique_ptr<CPrivateFolder> m_folder;
  std::filesystem::path m_path;
};

// Whether questions can be asked: standard input and standard error are terminals.
bool IsInteractive();

}  // namespace FolioCli
