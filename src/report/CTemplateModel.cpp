#include "folio/report/CTemplateModel.h"

#include <algorithm>

#include "folio/report/CFolio.h"
#include "report/TemplateReaders.h"

ESectionTag SectionTagOf(const CStr& field) {
  if (field == u"PrefaceEnd") return ESectionTag::ePrefaceEnd;
  if (field == u"SummaryBegin") return ESectionTag::eSummaryBegin;
  return ESectionTag::eNone;
}

const char* PlaceName(EPlaceholderPlace place) {
  switch (place) {
    case EPlaceholderPlace::eMainText: return "main text";
    case EPlaceholderPlace::eTableCell: return "table cell";
    case EPlaceholderPlace::eTextBox: return "text box";
    case EPlaceholderPlace::eHeader: return "header";
    case EPlaceholderPlace::eFooter: return "footer";
  }
  return "main text";
}

CTemplateModel::CTemplateModel(std::vector<STemplatePlaceholder> placeholders, std::vector<STemplateProblem> problems)
    : m_placeholders(std::move(placeholders)), m_problems(std::move(problems)) {
  AssignSections();
}

std::shared_ptr<const CTemplateModel> CTemplateModel::Read(const CStr& path) {
  if (CFolio::GetTemplateFormat(path) == eHTML) return std::make_shared<const CTemplateModel>(ReadHtmlTemplateModel(path));
  return std::make_shared<const CTemplateModel>(ReadWordTemplateModel(path));
}

std::optional<std::size_t> CTemplateModel::FindTag(ESectionTag tag) const {
  const auto it = std::find_if(m_placeholders.begin(), m_placeholders.end(),
                               [tag](const STemplatePlaceholder& p) { return p.tag == tag; });
  if (it == m_placeholders.end()) return std::nullopt;
  return static_cast<std::size_t>(it - m_placeholders.begin());
}

bool CTemplateModel::HasSectionTag(ETemplateSection pass) const {
  switch (pass) {
    case ETemplateSection::ePreface: return FindTag(ESectionTag::ePrefaceEnd).has_value();
    case ETemplateSection::eSummary: return FindTag(ESectionTag::eSummaryBegin).has_value();
    default: return true;
  }
}

// The preface runs through the first preface tag, the summary from the first summary
// tag after it. Placeholders outside the main text keep the section their reader gave.
void CTemplateModel::AssignSections() {
  const std::optional<std::size_t> prefaceEnd = FindTag(ESectionTag::ePrefaceEnd);
  std::optional<std::size_t> summaryBegin;
  for (std::size_t i = prefaceEnd ? *prefaceEnd + 1 : 0; i < m_placeholders.size() && !summaryBegin; ++i)
    if (m_placeholders[i].tag == ESectionTag::eSummaryBegin) summaryBegin = i;
  for (std::size_t i = 0; i < m_placeholders.size(); ++i) {
    const EPlaceholderPlace place = m_placeholders[i].place;
    if (place != EPlaceholderPlace::eMainText && place != EPlaceholderPlace::eTableCell) continue;
    if (prefaceEnd && i <= *prefaceEnd) m_placeholders[i].section = ETemplateSection::ePreface;
    else if (summaryBegin && i >= *summaryBegin) m_placeholders[i].section = ETemplateSection::eSummary;
    else m_placeholders[i].section = ETemplateSection::eBody;
  }
}
