#include "CWorkFolder.h"

#include <unistd.h>

#include <cstdlib>

namespace FolioCli {

CWorkFolder::CWorkFolder() {
  if (const char* previous = std::getenv("TMPDIR")) m_previousTmpdir = previous;
  m_folder = std::make_unique<CPrivateFolder>();
  if (m_folder->Path().IsEmpty()) return;
  m_path = std::filesystem::path(m_folder->Path().ToUtf8()).parent_path();
  setenv("TMPDIR", m_path.c_str(), 1);
}

CWorkFolder::~CWorkFolder() {
  if (m_path.empty()) return;
  if (m_previousTmpdir) setenv("TMPDIR", m_previousTmpdir->c_str(), 1);
  else unsetenv("TMPDIR");
  // The folder goes with m_folder, only if it is still the one made here.
}

bool IsInteractive() { return isatty(STDIN_FILENO) == 1 && isatty(STDERR_FILENO) == 1; }

}  // namespace FolioCli
