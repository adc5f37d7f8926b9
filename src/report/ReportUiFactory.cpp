#include "folio/report/IReportUi.h"

namespace {
std::shared_ptr<IReportUiFactory>& Installed() {
  static std::shared_ptr<IReportUiFactory> factory;
  return factory;
}
}  // namespace

void SetReportUiFactory(std::shared_ptr<IReportUiFactory> factory) { Installed() = std::move(factory); }

std::shared_ptr<IReportUiFactory> GetReportUiFactory() { return Installed(); }
