#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "folio/util/Export.h"

namespace FolioConvert {
class CConverterPool;
}

// What became of one report's PDF.
struct FOLIO_API SPdfConversion {
  std::filesystem::path report;
  std::filesystem::path pdf;  // beside the report: same name, ".pdf"
  bool ok = false;
  std::string error;          // the user's message when !ok
};

// Makes PDFs of finished reports, each beside its report: HTML reports through headless
// Chromium (pictures as a browser shows them), Word reports through LibreOffice. Each
// converter runs with a private profile and a timeout. The pool keeps one LibreOffice
// per worker running between reports, so that only a worker's first Word report pays
// LibreOffice's start; a worker past its timeout is killed and restarted.
class FOLIO_API CPdfConverterPool {
public:
  // workers 0: one per core.
  explicit CPdfConverterPool(unsigned workers = 0, int timeoutSeconds = 60);
  ~CPdfConverterPool();
  CPdfConverterPool(const CPdfConverterPool&) = delete;
  CPdfConverterPool& operator=(const CPdfConverterPool&) = delete;

  // One result per report, in the same order; reports are shared among the workers.
  std::vector<SPdfConversion> Convert(const std::vector<std::filesystem::path>& reports);
  // One report with a converter started for it alone.
  static SPdfConversion ConvertOne(const std::filesystem::path& report, int timeoutSeconds = 60);

private:
  std::unique_ptr<FolioConvert::CConverterPool> m_pool;
};
