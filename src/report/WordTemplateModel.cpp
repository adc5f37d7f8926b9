// The template model of a Word template: every placeholder of the headers, the main
// text, the text boxes and the footers, read once in a private Word application.
#include <algorithm>

#include "folio/util/EBase.h"
#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"
#include "report/TemplateReaders.h"
#include "report/WordRun.h"

namespace {

constexpr long kContextLength = 240;  // characters looked at around a placeholder
constexpr std::size_t kOpeningWords = 8;

struct SStory {
  const char16_t* name;
  EPlaceholderPlace place;
  long type;  // wdStoryType; 0 for text boxes
};

// A fresh range [start, end) of the story whose whole range whole() gives.
template <typename Whole>
CStr StoryText(Whole whole, long start, long end) {
  const std::shared_ptr<IWordRange> range = whole();
  range->SetStart(std::max(0L, start));
  range->SetEnd(std::max(start, end));
  return range->Text();
}

// The first words of a paragraph, objects left out.
CStr OpeningWords(std::u16string_view text) {
  std::u16string words;
  std::size_t count = 0;
  bool inWord = false;
  for (char16_t c : text) {
    const bool space = c == u' ' || c == u'\t' || c == u'\v' || c == u'\n' || c == 0x01 || c == 0x07;
    if (space) {
      inWord = false;
      continue;
    }
    if (!inWord) {
      if (count == kOpeningWords) return CStr(words + u" \u2026");
      if (count > 0) words += u' ';
      ++count;
      inWord = true;
    }
    words += c;
  }
  return CStr(words);
}

class CWordTemplateReader {
public:
  CWordTemplateReader(IWordApplication& app, IWordDocument& doc) : m_app(app), m_doc(doc) {}

  CTemplateModel Read();

private:
  template <typename Whole>
  void ReadShapes(const SStory& story, IWordInlineShapes& shapes, Whole whole);
  template <typename Whole>
  void Locate(STemplatePlaceholder& p, const SStory& story, long position, Whole whole);
  void ReadStories(std::initializer_list<SStory> stories);
  bool InTable(long position) const;
  void ReadTextBoxes();
  void CheckTags();
  CStr Where(const STemplatePlaceholder& p) const;
  void Problem(const STemplatePlaceholder& p, const char* id, const char16_t* what, const char16_t* todo,
               bool error = false) {
    m_problems.push_back({id, Where(p), what, todo, error});
  }

  IWordApplication& m_app;
  IWordDocument& m_doc;
  std::vector<STemplatePlaceholder> m_found;
  std::vector<STemplateProblem> m_problems;
  std::vector<std::pair<long, long>> m_tables;  // main-text tables, start and end
  long m_lastStart = 0;  // paragraphs are counted on from the last placeholder of a story
  std::int32_t m_paragraph = 1;
};

template <typename Whole>
void CWordTemplateReader::Locate(STemplatePlaceholder& p, const SStory& story, long position, Whole whole) {
  const std::u16string passed = StoryText(whole, m_lastStart, position).Str();
  m_paragraph += static_cast<std::int32_t>(std::count(passed.begin(), passed.end(), u'\r'));
  m_lastStart = position;
  const std::u16string before = StoryText(whole, position - kContextLength, position).Str();
  const std::size_t mark = before.rfind(u'\r');
  const std::u16string after = StoryText(whole, position, position + kContextLength).Str();
  p.part = story.name;
  p.paragraph = m_paragraph;
  p.openingWords = OpeningWords(before.substr(mark == std::u16string::npos ? 0 : mark + 1) +
                                after.substr(0, after.find(u'\r')));
  // A placeholder alone in its paragraph (a table cell of values) is known by the words
  // before it: the cell to its left, the heading above.
  if (p.openingWords.IsEmpty() && mark != std::u16string::npos && mark > 0) {
    const std::u16string previous = before.substr(0, mark);
    const std::size_t start = previous.find_last_of(u'\r');
    const CStr words = OpeningWords(previous.substr(start == std::u16string::npos ? 0 : start + 1));
    if (!words.IsEmpty()) p.openingWords = u"after: " + words;
  }
}

template <typename Whole>
void CWordTemplateReader::ReadShapes(const SStory& story, IWordInlineShapes& shapes, Whole whole) {
  m_lastStart = 0;
  m_paragraph = 1;
  for (long i = 1; i <= shapes.Count(); ++i) {
    const std::shared_ptr<IWordInlineShape> shape = shapes.Item(i);
    STemplatePlaceholder p;
    SReportConversionResult reading = ExtractPlaceholder(*shape, p.description);
    p.outcome = reading.m_result;
    if (p.description.GetVersion(nullptr, nullptr) == 1000)
      p.asWritten = std::make_shared<const CKORIControlValue>(std::move(reading.m_asRead));
    p.description.SetHeight(m_app.PointsToPixels(shape->Height(), WordAppend::kTrue));
    p.description.SetWidth(m_app.PointsToPixels(shape->Width(), WordAppend::kFalse));
    p.place = story.place;
    const std::shared_ptr<IWordRange> range = shape->Range();
    p.start = static_cast<std::uint32_t>(range->Start());
    p.end = static_cast<std::uint32_t>(range->End());
    if (p.outcome == CKORIControlValue::eNotKoriElement) {
      if (shape->AlternativeText().StartsWith(u"KORI {")) {
        Locate(p, story, range->Start(), whole);
        Problem(p, "FOLIO-T004", u"the placeholder's description (its alternative text) cannot be read",
                u"write it again with folio add-placeholder, or correct the \"KORI {\" text", true);
      }
      continue;
    }
    if (story.place == EPlaceholderPlace::eMainText && InTable(range->Start())) p.place = EPlaceholderPlace::eTableCell;
    if (story.place == EPlaceholderPlace::eMainText && p.outcome == CKORIControlValue::eExtractOk)
      p.tag = SectionTagOf(p.description.GetField());
    if (story.type == eWordPrimaryHeaderStory) p.section = ETemplateSection::ePreface;
    Locate(p, story, range->Start(), whole);
    if (story.type == eWordPrimaryHeaderStory && !shape->OLEFormat())
      Problem(p, "FOLIO-T009", u"a header placeholder without an embedded control is not filled",
              u"insert a KORI control in the header instead of a picture with a description");
    m_found.push_back(std::move(p));
  }
}

void CWordTemplateReader::ReadStories(std::initializer_list<SStory> stories) {
  const std::shared_ptr<IWordStoryRanges> ranges = m_doc.StoryRanges();
  for (const SStory& story : stories) {
    std::shared_ptr<IWordRange> whole;
    try {
      whole = ranges->Item(story.type);
    } catch (const CComError&) {
      continue;  // the document has no such story
    }
    const auto fresh = [&ranges, &story] { return ranges->Item(story.type); };
    ReadShapes(story, *whole->InlineShapes(), fresh);
  }
}

void CWordTemplateReader::ReadTextBoxes() {
  const std::shared_ptr<IWordShapes> shapes = m_doc.Shapes();
  for (long j = 1; j <= shapes->Count(); ++j) {
    const std::shared_ptr<IWordShape> shape = shapes->Item(CVariant::I4(j));
    const std::shared_ptr<IWordTextFrame> frame = shape ? shape->TextFrame() : nullptr;
    if (!frame || !frame->HasText()) continue;
    const auto fresh = [&frame] { return frame->TextRange(); };
    ReadShapes({u"text box", EPlaceholderPlace::eTextBox, 0}, *frame->TextRange()->InlineShapes(), fresh);
  }
}

bool CWordTemplateReader::InTable(long position) const {
  // Outermost tables, in order: only the last one that starts at or before position can hold it.
  const auto after = std::upper_bound(m_tables.begin(), m_tables.end(), position,
                                      [](long p, const std::pair<long, long>& t) { return p < t.first; });
  return after != m_tables.begin() && position < std::prev(after)->second;
}

CStr CWordTemplateReader::Where(const STemplatePlaceholder& p) const {
  return CStr::DoStringFormat(u"%s, paragraph %d", p.part, p.paragraph);
}

CTemplateModel CWordTemplateReader::Read() {
  ReadStories({{u"header", EPlaceholderPlace::eHeader, eWordPrimaryHeaderStory},
               {u"first-page header", EPlaceholderPlace::eHeader, eWordFirstPageHeaderStory},
               {u"even-page header", EPlaceholderPlace::eHeader, eWordEvenPagesHeaderStory}});
  const std::shared_ptr<IWordTables> tables = m_doc.Tables();
  for (long t = 1; t <= tables->Count(); ++t) {
    const std::shared_ptr<IWordRange> range = tables->Item(t)->Range();
    m_tables.push_back({range->Start(), range->End()});
  }
  const auto content = [this] { return m_doc.Content(); };
  ReadShapes({u"main text", EPlaceholderPlace::eMainText, eWordMainTextStory}, *m_doc.InlineShapes(), content);
  ReadTextBoxes();
  ReadStories({{u"footer", EPlaceholderPlace::eFooter, eWordPrimaryFooterStory},
               {u"first-page footer", EPlaceholderPlace::eFooter, eWordFirstPageFooterStory},
               {u"even-page footer", EPlaceholderPlace::eFooter, eWordEvenPagesFooterStory}});
  CheckTags();
  return CTemplateModel(std::move(m_found), std::move(m_problems));
}

// Tags and placeholders that the passes would not treat as their author expects.
void CWordTemplateReader::CheckTags() {
  bool prefaceEnd = false;
  bool summaryBegin = false;
  for (const STemplatePlaceholder& p : m_found)
    prefaceEnd = prefaceEnd || p.tag == ESectionTag::ePrefaceEnd;
  for (STemplatePlaceholder& p : m_found) {
    CKORIControlValue& d = p.description;
    const ESectionTag named = SectionTagOf(d.GetField());
    if (named != ESectionTag::eNone && p.tag == ESectionTag::eNone)
      Problem(p, "FOLIO-T005", u"a section tag outside the main text does not divide the template",
              u"move the tag into the main text, between the sections it divides");
    if (p.tag == ESectionTag::ePrefaceEnd && summaryBegin)
      Problem(p, "FOLIO-T006", u"the preface ends after the summary begins",
              u"put the PrefaceEnd tag before the SummaryBegin tag", true);
    summaryBegin = summaryBegin || p.tag == ESectionTag::eSummaryBegin;
    if (p.outcome == CKORIControlValue::eFieldNotSupported)
      Problem(p, "FOLIO-T001", u"the field is no longer supported; the report shows an error text there",
              u"replace the placeholder by one of a current field");
    if (p.outcome == CKORIControlValue::eGroupNotSupported)
      Problem(p, "FOLIO-T002", u"the group is no longer supported; the report shows an error text there",
              u"replace the placeholder by one of a current group");
    if (p.outcome == CKORIControlValue::eElementDefinitionError)
      Problem(p, "FOLIO-T003", u"the placeholder's definition is wrong; the report shows an error text there",
              u"write the placeholder again with folio add-placeholder", true);
    if (p.place == EPlaceholderPlace::eFooter)
      Problem(p, "FOLIO-T007", u"a footer placeholder is filled only when a report is appended to",
              u"move it into the main text or the header unless that is what you want");
    if (p.place == EPlaceholderPlace::eHeader && p.part != u"header")
      Problem(p, "FOLIO-T008", u"placeholders in first-page and even-page headers are never filled",
              u"move it into the primary header (the header of ordinary pages)");
    else if (p.place == EPlaceholderPlace::eHeader && !prefaceEnd)
      Problem(p, "FOLIO-T010", u"header placeholders are filled by the preface pass, which a template "
                               u"without a PrefaceEnd tag does not have",
              u"add a PrefaceEnd tag to the main text, or move the placeholder into the main text");
  }
}

// Balances the COM initialisation of one reading, whoever initialised the thread before.
class CApartment {
public:
  CApartment() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
  ~CApartment() {
    if (m_initialised) CoUninitialize();
  }

private:
  bool m_initialised;
};

}  // namespace

CTemplateModel ReadWordTemplateModel(const CStr& path) {
  const CApartment apartment;
  std::shared_ptr<IWordApplication> app;
  const HRESULT hr = CWordAutomation::StartWordApplication(app);
  if (FAILED(hr)) throw EBase(u"ReadWordTemplateModel", FormatErrorText(hr));
  try {
    const std::shared_ptr<IWordDocument> doc = WordAppend::OpenHidden(*app->Documents(), path);
    CTemplateModel model = CWordTemplateReader(*app, *doc).Read();
    WordAppend::CloseUnsaved(*doc);
    app->Quit(CVariant::I2(0));
    return model;
  } catch (const CComError& e) {
    try {
      app->Quit(CVariant::I2(0));
    } catch (const CComError&) {
    }
    const CStr reason = e.Description().IsEmpty() ? e.ErrorMessage() : e.Description();
    throw EBase(u"ReadWordTemplateModel", u"\"" + path + u"\": " + reason);
  }
}
