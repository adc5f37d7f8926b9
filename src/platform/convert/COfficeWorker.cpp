#include "platform/convert/COfficeWorker.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/convert/OfficeWorkerScript.h"

namespace FolioConvert {
namespace {

namespace fs = std::filesystem;

std::string Python() {
  // Debian's interpreter is the one python3-uno installs into.
  return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

}  // namespace

COfficeWorker::COfficeWorker(int id) : m_id(id), m_folder("folio-office") {}

COfficeWorker::~COfficeWorker() { Stop(); }

bool COfficeWorker::Start(std::chrono::seconds timeout, std::string& error) {
  Stop();
  const std::string soffice = ConverterProgram(EPdfEngine::eLibreOffice);
  if (soffice.empty()) {
    error = "LibreOffice is not installed (apt install libreoffice-writer-nogui)";
    return false;
  }
  if (m_folder.Path().empty()) {
    error = "cannot create a private folder for LibreOffice";
    return false;
  }
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return false;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return false;
  }
  std::error_code ec;
  fs::remove(m_folder.Path() / "profile" / ".lock", ec);  // left by a worker that was killed
  const std::string python = Python();
  const std::string profile = (m_folder.Path() / "profile").string();
  const std::string pipeName = "folio" + std::to_string(getpid()) + "_" + std::to_string(m_id) + "_" +
                               m_folder.Path().filename().string();
  const std::string log = (m_folder.Path() / "log").string();
  std::vector<std::string> argv = {python, "-c", kOfficeWorkerScript, soffice, profile, pipeName};
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    dup2(in[0], 0);
    dup2(out[1], 1);
    const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (err >= 0) dup2(err, 2);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  if (pid < 0) {
    close(in[1]);
    close(out[0]);
    error = "cannot start LibreOffice";
    return false;
  }
  setpgid(pid, pid);
  m_pid = pid;
  m_toWorker = in[1];
  m_fromWorker = out[0];
  m_conversions = 0;
  std::string line;
  if (ReadLine(line, timeout) && line == "ready") return true;
  error = line.rfind("error\t", 0) == 0 ? line.substr(6) : "LibreOffice did not start within " +
                                                               std::to_string(timeout.count()) + " s";
  Stop();
  return false;
}

SPdfResult COfficeWorker::Convert(const fs::path& document, const fs::path& pdf, std::chrono::seconds timeout) {
  if (m_pid <= 0) return {false, "LibreOffice is not running"};
  const std::string request = document.string() + "\t" + pdf.string() + "\n";
  if (request.find('\t') != request.rfind('\t') || request.find('\n') != request.size() - 1)
    return {false, "cannot make a PDF of a file whose name holds a tab or a line break"};
  ++m_conversions;
  if (write(m_toWorker, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
    Stop();
    return {false, "LibreOffice stopped unexpectedly"};
  }
  std::string line;
  if (!ReadLine(line, timeout)) {
    Stop();
    return {false, "making a PDF of \"" + document.string() + "\" took longer than " +
                       std::to_string(timeout.count()) + " s; LibreOffice was stopped"};
  }
  if (line == "ok") return {true, {}};
  return {false, "LibreOffice could not make a PDF of \"" + document.string() + "\": " +
                     (line.rfind("error\t", 0) == 0 ? line.substr(6) : line)};
}

bool COfficeWorker::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (const std::size_t end = m_pending.find('\n'); end != std::string::npos) {
      line = m_pending.substr(0, end);
      m_pending.erase(0, end + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd wait{m_fromWorker, POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[512];
    const ssize_t got = read(m_fromWorker, buffer, sizeof buffer);
    if (got <= 0) return false;  // the worker ended
    if (m_pending.size() > 65536) return false;
    m_pending.append(buffer, static_cast<std::size_t>(got));
  }
}

void COfficeWorker::Stop() {
  if (m_toWorker >= 0) close(m_toWorker);
  if (m_fromWorker >= 0) close(m_fromWorker);
  m_toWorker = m_fromWorker = -1;
  m_pending.clear();
  if (m_pid > 0) {
    kill(-m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
  }
  m_pid = -1;
}

}  // namespace FolioConvert
