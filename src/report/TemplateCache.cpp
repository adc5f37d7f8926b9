#include "report/TemplateCache.h"

#include "folio/report/CFolio.h"
#include "report/HtmlSectionAppend.h"
#include "report/HtmlWriting.h"

std::map<CStr, STemplateCacheEntry>& TemplateCache() {
  static std::map<CStr, STemplateCacheEntry> cache;
  return cache;
}

// The temporary copies stay on disk; only the parsed templates are forgotten, and what
// was known of report folders and of reports appended to (their twins go).
void CFolio::ClearTemplateCache() {
  TemplateCache().clear();
  ForgetPictureNames();
  ForgetAppendedReports();
}
