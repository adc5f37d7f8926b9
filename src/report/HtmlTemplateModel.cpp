// The template model of an HTML template: the collector's placeholders with their
// descriptions read once.
#include <cstdlib>  // defines __GLIBC__ where it applies
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "folio/util/TextFile.h"
#include "report/TemplateReaders.h"

namespace {

// Gives the pages of freed memory back to the system; without it, memory freed in
// small pieces stays counted against the process.
void ReturnFreedPages() {
#ifdef __GLIBC__
  ::malloc_trim(0);
#endif
}

}  // namespace

// The collector's tag copies go as their placeholders are read, and their pages back to
// the system every so often, so that the copies and the model never stand side by side
// in memory: a template of many placeholders would otherwise need both at once.
CTemplateModel HtmlTemplateModel(CHTMLEventHandler& collector) {
  constexpr unsigned int kReturnEvery = 1024;
  const unsigned int count = collector.GetKoriControlCount();
  std::vector<STemplatePlaceholder> placeholders;
  placeholders.reserve(count);  // the pages are touched only as placeholders come
  for (unsigned int index = 0; index < count; ++index) {
    STemplatePlaceholder& p = placeholders.emplace_back();
    std::optional<CKORIControlValue> written;
    p.outcome = collector.ReadDescription(index, p.description, written);
    if (written) p.asWritten = std::make_shared<const CKORIControlValue>(std::move(*written));
    p.tag = SectionTagOf(p.description.GetField());
    const CHTMLEventHandler::SObjectInfo* info = collector.GetObjectInfo(index);
    p.start = info->m_start;
    p.end = info->m_end;
    collector.ReleaseObject(index);
    if ((index + 1) % kReturnEvery == 0) ReturnFreedPages();
  }
  ReturnFreedPages();
  return CTemplateModel(std::move(placeholders), {});
}

CTemplateModel ReadHtmlTemplateModel(const CStr& path) {
  CHTMLEventHandler collector;
  collector.Collect(TextFile::Read(path).View());
  return HtmlTemplateModel(collector);
}
