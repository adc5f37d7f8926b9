#include "CWorkFolder.h"

#include <unistd.h>

#include <cstdlib>

namespace FolioCli {

CWorkFolder::CWorkFolder() {
  if (const char* previous = std::getenv("TMPDIR")) m_previousTmpdir = previous;
  std::error_code ec;
  std::string pattern = (std::filesystem::temp_directory_path(ec) / "folio-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) return;
  m_path = pattern;
  setenv("TMPDIR", m_path.c_str(), 1);
}

CWorkFolder::~CWorkFolder() {
  if (m_path.empty()) return;
  if (m_previousTmpdir) setenv("TMPDIR", m_previousTmpdir->c_str(), 1);
  else unsetenv("TMPDIR");
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

bool IsInteractive() { return isatty(STDIN_FILENO) == 1 && isatty(STDERR_FILENO) == 1; }

}  // namespace FolioCli
