#pragma once
#include <chrono>
#include <filesystem>
#include <vector>

#include "platform/convert/CPdfConverter.h"

namespace FolioConvert {

struct SPoolOptions {
  unsigned workers = 0;                        // 0: one per core
  std::chrono::seconds timeout{60};            // per document; a worker past it is killed and restarted
  std::chrono::seconds startTimeout{60};       // for a LibreOffice to come up
  int recycleAfter = 50;                       // conversions before a worker is restarted (memory growth)
};

// Converts many reports to PDF with warm converters: one LibreOffice per worker, each
// with its own profile, started once and reused, so that only the first document of a
// worker pays LibreOffice's start. Documents are queued and taken by the next free
// worker. HTML reports are printed by Chromium, one process each. Each PDF goes beside
// its report (PdfPathFor).
class CConverterPool {
public:
  explicit CConverterPool(SPoolOptions options = SPoolOptions());
  ~CConverterPool();
  CConverterPool(const CConverterPool&) = delete;
  CConverterPool& operator=(const CConverterPool&) = delete;

  // One result per document, in the same order.
  std::vector<SPdfResult> Convert(const std::vector<std::filesystem::path>& documents);

private:
  struct SSlot;
  SPoolOptions m_options;
  std::vector<std::unique_ptr<SSlot>> m_slots;
};

}  // namespace FolioConvert
