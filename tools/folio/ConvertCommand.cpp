#include "ConvertCommand.h"

#include "ExitCodes.h"
#include "folio/platform/convert/CPdfConverterPool.h"

namespace FolioCli {

int RunConvert(const SConvertRequest& request, std::ostream& out, std::ostream& err) {
  std::vector<SPdfConversion> conversions;
  if (request.reports.size() == 1) {
    conversions.push_back(CPdfConverterPool::ConvertOne(request.reports.front(), request.timeoutSeconds));
  } else {
    CPdfConverterPool pool(request.workers, request.timeoutSeconds);
    conversions = pool.Convert(request.reports);
  }
  int status = eExitOk;
  for (const SPdfConversion& conversion : conversions) {
    if (conversion.ok) {
      out << conversion.pdf.string() << "\n";
    } else {
      err << "folio: " << conversion.error << "\n";
      status = eExitReportFailed;
    }
  }
  return status;
}

}  // namespace FolioCli
