#pragma once
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/convert/CChildProcess.h"
#include "platform/convert/CPdfConverter.h"

namespace FolioConvert {

// One warm LibreOffice with its own private profile, kept running between conversions
// (through a small UNO client, see OfficeWorkerScript.h). Its whole process group is
// killed when it passes a timeout or when the worker is dropped.
class COfficeWorker {
public:
  explicit COfficeWorker(int id);
  ~COfficeWorker();
  COfficeWorker(const COfficeWorker&) = delete;
  COfficeWorker& operator=(const COfficeWorker&) = delete;

  // Starts LibreOffice and waits until it answers; false (with error) when it cannot.
  bool Start(std::chrono::seconds timeout, std::string& error);
  bool Started() const { return m_pid > 0; }
  // Converts document into pdf (a path the worker may write directly). A worker that
  // passed timeout is stopped and must be started again.
  SPdfResult Convert(const std::filesystem::path& document, const std::filesystem::path& pdf,
                     std::chrono::seconds timeout);
  void Stop();
  int Conversions() const { return m_conversions; }

private:
  bool ReadLine(std::string& line, std::chrono::milliseconds timeout);

  int m_id;
  CPrivateFolder m_folder;
  int m_pid = -1;
  int m_toWorker = -1;
  int m_fromWorker = -1;
  std::string m_pending;  // bytes read past the last line
  int m_conversions = 0;
};

}  // namespace FolioConvert
