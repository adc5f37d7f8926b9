// The PDF a host may ask for once its report is written.
#include "folio/platform/convert/CPdfConverterPool.h"
#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"

bool CFolio::ExportPdf(int timeoutSeconds) {
  const SPdfConversion pdf = CPdfConverterPool::ConvertOne(SystemUtils::ToFsPath(m_report), timeoutSeconds);
  if (pdf.ok) return true;
  m_error = CStr::FromUtf8(pdf.error);
  ShowMessageBox(m_error, eMbOk | eMbIconError);
  return false;
}
