// The template model of an HTML template: the collector's placeholders with their
// descriptions read once.
#include "folio/util/TextFile.h"
#include "report/TemplateReaders.h"

CTemplateModel HtmlTemplateModel(const CHTMLEventHandler& collector) {
  std::vector<STemplatePlaceholder> placeholders(collector.GetKoriControlCount());
  for (unsigned int index = 0; index < placeholders.size(); ++index) {
    STemplatePlaceholder& p = placeholders[index];
    p.reading = collector.GetKoriControlValue(index, p.description);
    p.tag = SectionTagOf(p.description.GetField());
    const CHTMLEventHandler::SObjectInfo* info = collector.GetObjectInfo(index);
    p.start = info->m_start;
    p.end = info->m_end;
  }
  return CTemplateModel(std::move(placeholders), {});
}

CTemplateModel ReadHtmlTemplateModel(const CStr& path) {
  CHTMLEventHandler collector;
  collector.Collect(TextFile::Read(path).View());
  return HtmlTemplateModel(collector);
}
