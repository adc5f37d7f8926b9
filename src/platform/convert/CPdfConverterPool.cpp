#include "folio/platform/convert/CPdfConverterPool.h"

#include "platform/convert/CConverterPool.h"

namespace {

SPdfConversion Conversion(const std::filesystem::path& report, const FolioConvert::SPdfResult& result) {
  SPdfConversion conversion;
  conversion.report = report;
  conversion.pdf = FolioConvert::PdfPathFor(std::filesystem::absolute(report));
  conversion.ok = result.ok;
  conversion.error = result.error;
  return conversion;
}

}  // namespace

CPdfConverterPool::CPdfConverterPool(unsigned workers, int timeoutSeconds) {
  FolioConvert::SPoolOptions options;
  options.workers = workers;
  options.timeout = std::chrono::seconds(timeoutSeconds);
  m_pool = std::make_unique<FolioConvert::CConverterPool>(options);
}

CPdfConverterPool::~CPdfConverterPool() = default;

std::vector<SPdfConversion> CPdfConverterPool::Convert(const std::vector<std::filesystem::path>& reports) {
  const std::vector<FolioConvert::SPdfResult> results = m_pool->Convert(reports);
  std::vector<SPdfConversion> conversions;
  for (std::size_t i = 0; i < reports.size(); ++i) conversions.push_back(Conversion(reports[i], results[i]));
  return conversions;
}

SPdfConversion CPdfConverterPool::ConvertOne(const std::filesystem::path& report, int timeoutSeconds) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(report, ec);
  return Conversion(report, FolioConvert::ConvertToPdf(absolute, FolioConvert::PdfPathFor(absolute),
                                                       std::chrono::seconds(timeoutSeconds)));
}
