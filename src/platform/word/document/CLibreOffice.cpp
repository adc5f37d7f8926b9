#include "platform/word/document/CLibreOffice.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/com/CComError.h"
#include "platform/fs/CPrivateFolder.h"

namespace fs = std::filesystem;

std::optional<fs::path> CLibreOffice::Find() {
  if (const char* configured = std::getenv("FOLIO_SOFFICE")) {
    if (*configured && ::access(configured, X_OK) == 0) return fs::path(configured);
    return std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t at = 0;
  while (at <= dirs.size()) {
    size_t end = dirs.find(':', at);
    if (end == std::string::npos) end = dirs.size();
    for (const char* name : {"soffice", "libreoffice"}) {
      fs::path candidate = fs::path(dirs.substr(at, end - at)) / name;
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    at = end + 1;
  }
  return std::nullopt;
}

fs::path CLibreOffice::Convert(const fs::path& input, const fs::path& outDir, const std::string& filter,
                               std::chrono::seconds timeout) {
  return ConvertAll({input}, outDir, filter, timeout).front();
}

std::vector<fs::path> CLibreOffice::ConvertAll(const std::vector<fs::path>& inputs, const fs::path& outDir,
                                               const std::string& filter, std::chrono::seconds timeout) {
  const fs::path& input = inputs.front();
  const auto soffice = Find();
  if (!soffice)
    throw CComError(HRESULT_NOT_SUPPORTED,
                    CStr::FromUtf8("converting \"" + input.filename().string() +
                                   "\" needs LibreOffice, which is not installed: install the package "
                                   "libreoffice-writer-nogui (soffice)"));
  // Its own profile in a folder nobody else can enter or have prepared.
  const CPrivateFolder profileFolder;
  if (profileFolder.Path().IsEmpty()) throw CComError(E_FAIL, u"no private temporary folder can be made for LibreOffice");
  const fs::path profile = fs::path(profileFolder.Path().ToUtf8()) / "profile";
  const std::string profileArg = "-env:UserInstallation=file://" + profile.string();
  std::vector<std::string> args = {soffice->string(), profileArg, "--headless", "--norestore", "--nolockcheck",
                                   "--convert-to", filter, "--outdir", outDir.string()};
  for (const auto& file : inputs) args.push_back(file.string());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) throw CComError(E_FAIL, u"cannot start LibreOffice");
  if (child == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::setpgid(0, 0);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool finished = false;
  while (!finished) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) finished = true;
    else if (std::chrono::steady_clock::now() > deadline) {
      ::kill(-child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    } else std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::error_code ignored;
  fs::remove_all(profile, ignored);
  if (!finished)
    throw CComError(E_FAIL, CStr::FromUtf8("LibreOffice did not convert \"" + input.filename().string() + "\" in time"));
  const std::string extension = filter.substr(0, filter.find(':'));
  std::vector<fs::path> outputs;
  for (const auto& file : inputs) {
    const fs::path output = outDir / (file.stem().string() + "." + extension);
    if (!fs::exists(output) || fs::file_size(output) == 0)
      throw CComError(E_FAIL, CStr::FromUtf8("LibreOffice could not convert \"" + file.filename().string() + "\" to " + extension));
    outputs.push_back(output);
  }
  return outputs;
}
