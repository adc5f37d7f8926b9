#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "folio/model/CKORIControlValue.h"
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Which section of a sectioned template a placeholder belongs to (the values match
// ELivesheetProcessingType).
enum class ETemplateSection : std::int32_t { ePreface = 0, eBody = 1, eSummary = 2 };

// What a placeholder is for the section cursor.
enum class ESectionTag : std::int32_t { eNone, ePrefaceEnd, eSummaryBegin };

// Where a placeholder stands in its template.
enum class EPlaceholderPlace : std::int32_t { eMainText, eTableCell, eTextBox, eHeader, eFooter };

// The section tag a field names ("PrefaceEnd", "SummaryBegin"), decided here only.
FOLIO_API ESectionTag SectionTagOf(const CStr& field);
// "main text", "table cell", "text box", "header", "footer".
FOLIO_API const char* PlaceName(EPlaceholderPlace place);

// One placeholder of a template, read once.
struct FOLIO_API STemplatePlaceholder {
  // How reading went.
  CKORIControlValue::EExtractRes outcome = CKORIControlValue::eExtractOk;
  // The description as written, kept only where legacy names were translated: a template
  // of many placeholders would otherwise hold every description twice.
  std::shared_ptr<const CKORIControlValue> asWritten;
  // The description the host is asked about (the converted one, with the error text
  // of a description that cannot be answered).
  CKORIControlValue description;
  EPlaceholderPlace place = EPlaceholderPlace::eMainText;
  ESectionTag tag = ESectionTag::eNone;
  ETemplateSection section = ETemplateSection::eBody;
  // HTML: the placeholder's text span. Word: its character positions in its story.
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  // Word: the package part that holds it ("word/document.xml"), the document section
  // (from 1) and paragraph (from 1, counted in its story), and the paragraph's opening words.
  CStr part;
  std::int32_t documentSection = 0;
  std::int32_t paragraph = 0;
  CStr openingWords;

  // Whether the host is asked for a value: the description could be read and is not
  // answered by Folio with a "no longer supported" text.
  bool AsksTheHost() const {
    return outcome == CKORIControlValue::eExtractOk || outcome == CKORIControlValue::eTranslated || outcome == 2;
  }
};

// Something a user should fix in a template, with a stable id ("FOLIO-W003"), where it
// is and what to do about it.
struct FOLIO_API STemplateProblem {
  std::string id;
  CStr where;
  CStr what;
  CStr todo;
  bool error = false;  // the template cannot give a correct report as it is
};

// Every placeholder of a template with its place, description and section, in the
// order the generator meets them. Read once per template and shared by the generators,
// the command-line host and its inspection.
class FOLIO_API CTemplateModel {
public:
  CTemplateModel() = default;
  CTemplateModel(std::vector<STemplatePlaceholder> placeholders, std::vector<STemplateProblem> problems);

  // Reads the template at path (HTML or Word by its extension); throws EBase with the
  // reason when it cannot be read.
  static std::shared_ptr<const CTemplateModel> Read(const CStr& path);

  const std::vector<STemplatePlaceholder>& Placeholders() const { return m_placeholders; }
  const std::vector<STemplateProblem>& Problems() const { return m_problems; }
  std::size_t Count() const { return m_placeholders.size(); }
  // Index of the first main-text placeholder with tag, if any.
  std::optional<std::size_t> FindTag(ESectionTag tag) const;
  // Whether a pass has work: the body always; the preface and the summary only with
  // their tag.
  bool HasSectionTag(ETemplateSection pass) const;

private:
  void AssignSections();

  std::vector<STemplatePlaceholder> m_placeholders;
  std::vector<STemplateProblem> m_problems;
};
