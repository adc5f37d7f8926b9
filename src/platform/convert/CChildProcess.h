#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace FolioConvert {

// A program run in its own process group, so that a timeout ends it and everything it
// started. Standard input is /dev/null; standard output and error go to log.
class CChildProcess {
public:
  // Starts argv[0] (looked up on PATH); Running() is false when it could not start.
  CChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& log);
  ~CChildProcess();  // kills the group if it still runs
  CChildProcess(const CChildProcess&) = delete;
  CChildProcess& operator=(const CChildProcess&) = delete;

  bool Running() const { return m_pid > 0; }
  // Waits up to timeout; the exit status, or -1 after killing the group on timeout.
  int Wait(std::chrono::milliseconds timeout);
  void Kill();

private:
  int m_pid = -1;
};

// The full path of program on PATH; empty when it is not installed.
std::filesystem::path FindProgram(const std::string& program);

// A private folder (mode 0700) under the temporary folder, removed with the object.
class CPrivateFolder {
public:
  explicit CPrivateFolder(const std::string& prefix);
  ~CPrivateFolder();
  CPrivateFolder(const CPrivateFolder&) = delete;
  CPrivateFolder& operator=(const CPrivateFolder&) = delete;
  // Empty when none could be made.
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};

}  // namespace FolioConvert
