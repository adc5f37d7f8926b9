#include "platform/convert/CConverterPool.h"

#include <atomic>
#include <memory>
#include <thread>

#include "platform/convert/CChildProcess.h"
#include "platform/convert/COfficeWorker.h"

namespace FolioConvert {

namespace fs = std::filesystem;

struct CConverterPool::SSlot {
  explicit SSlot(int id) : office(id) {}
  COfficeWorker office;
};

namespace {

// One Word document on a slot's warm LibreOffice, (re)started as needed; the PDF is
// written in the worker's private folder and then moved beside the report.
SPdfResult ConvertWord(COfficeWorker& office, const fs::path& document, const SPoolOptions& options) {
  if (office.Started() && office.Conversions() >= options.recycleAfter) office.Stop();
  std::string error;
  if (!office.Started() && !office.Start(options.startTimeout, error)) {
    // No warm worker (python3-uno missing, say): a cold conversion still works.
    return ConvertToPdf(document, PdfPathFor(document), options.timeout);
  }
  const CPrivateFolder out("folio-pdf");
  if (out.Path().empty()) return {false, "cannot create a private folder for the PDF conversion"};
  const fs::path made = out.Path() / "report.pdf";
  SPdfResult result = office.Convert(document, made, options.timeout);
  std::error_code ec;
  if (result.ok && (!fs::is_regular_file(made, ec) || fs::file_size(made, ec) == 0))
    result = {false, "LibreOffice made no PDF of \"" + document.string() + "\""};
  return result.ok ? PlacePdf(made, PdfPathFor(document)) : result;
}

}  // namespace

CConverterPool::CConverterPool(SPoolOptions options) : m_options(options) {
  if (m_options.workers == 0) m_options.workers = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned i = 0; i < m_options.workers; ++i) m_slots.push_back(std::make_unique<SSlot>(static_cast<int>(i)));
}

CConverterPool::~CConverterPool() = default;

std::vector<SPdfResult> CConverterPool::Convert(const std::vector<fs::path>& documents) {
  std::vector<SPdfResult> results(documents.size());
  std::atomic<std::size_t> next{0};
  auto work = [&](SSlot& slot) {
    for (std::size_t i; (i = next++) < documents.size();) {
      std::error_code ec;
      const fs::path document = fs::absolute(documents[i], ec);
      if (EngineFor(document) == EPdfEngine::eLibreOffice && fs::is_regular_file(document, ec) &&
          !ConverterProgram(EPdfEngine::eLibreOffice).empty())
        results[i] = ConvertWord(slot.office, document, m_options);
      else
        results[i] = ConvertToPdf(document, PdfPathFor(document), m_options.timeout);
    }
  };
  const std::size_t used = std::min<std::size_t>(m_slots.size(), documents.size());
  std::vector<std::thread> threads;
  for (std::size_t s = 1; s < used; ++s) threads.emplace_back(work, std::ref(*m_slots[s]));
  if (used > 0) work(*m_slots[0]);
  for (std::thread& thread : threads) thread.join();
  return results;
}

}  // namespace FolioConvert
