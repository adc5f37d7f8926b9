// The HTML generator: streams a cached template to the report, replacing each
// placeholder by the value the host computed, one section per pass.
#include <boost/make_shared.hpp>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/CDiagnostics.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "report/HtmlWriting.h"
#include "report/TemplateCache.h"
#include "report/UnicodeText.h"

using namespace SystemUtils;

namespace {

// The temporary copy is UTF-16 with the mark whatever the template was, so that every
// position the reader reports is a position in the copy.
bool MakeTemplateCopy(const CStr& templatePath, const CStr& copy) {
  CStr text;
  if (!ReadReportText(templatePath, text) || PathExists(copy)) return false;
  CBasic_OFStream out(copy);
  out << text.View();
  return out.Close();
}

}  // namespace

bool CFolio::HasSectionTag(ELivesheetProcessingType type) {
  if (type == eBody) return true;
  const auto entry = TemplateCache().find(m_template);
  if (entry == TemplateCache().end()) return false;
  const CHTMLEventHandler& collector = *entry->second.collector;
  const CStr wanted = type == ePreface ? u"PrefaceEnd" : u"SummaryBegin";
  for (unsigned index = 0; index < collector.GetKoriControlCount(); ++index) {
    collector.GetKoriControlValue(index, m_controlValue);
    if (m_controlValue.GetField() == wanted) return true;
  }
  return false;
}

bool CFolio::ActivateHTML(CStr const& output) {
  ShowProgress(LoadResourceString(eStrInitializing), 0);
  auto& cache = TemplateCache();
  bool result = cache.count(m_template) && ProcessHTMLTemplate(output);
  if (!result) {
    ShowProgress(LoadResourceString(eStrInitializing), 0);
    const CStr copy = MakeUniqueFileName(AddTrailingSeparator(GetTempFolder()) + u"TemplateCopy", u".htm");
    if (!MakeTemplateCopy(m_template, copy)) {
      ShowMessageBox(CStr::DoStringFormat(LoadResourceString(eStrErrorAccessingTemplate), m_template));
      DestroyProgressDialog();
      return false;
    }
    ShowProgress(LoadResourceString(eStrOpeningTemplate), 0);
    CStr text;
    if (!ReadReportText(copy, text)) {
      ShowMessageBox(CStr::DoStringFormat(LoadResourceString(eStrErrorOpeningTemporaryTemplate), copy));
      RemoveFile(copy);
      DestroyProgressDialog();
      return false;
    }
    STemplateCacheEntry entry{boost::make_shared<CHTMLEventHandler>(), copy};
    entry.collector->Collect(text.View());
    cache[m_template] = entry;
    result = ProcessHTMLTemplate(output);
    if (!result) {
      RemoveFile(output);
      const auto failed = cache.find(m_template);
      if (failed != cache.end()) {
        RemoveFile(failed->second.templateCopy);
        cache.erase(failed);
      }
    }
  }
  ShowProgress(LoadResourceString(eStrCleaningUp), 0);
  if (m_processingType == eSummary || !result) DestroyProgressDialog();
  return result;
}
