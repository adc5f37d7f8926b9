#include "platform/word/om/CRange.h"

#include "platform/com/CComError.h"
#include "platform/word/om/CField.h"
#include "platform/word/om/CInlineShapes.h"
#include "platform/word/document/CStoryEditor.h"
#include "platform/word/om/CTables.h"

CRange::CRange(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
               std::shared_ptr<SRangeState> range)
    : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_range(std::move(range)) {}

std::shared_ptr<CRange> CRange::Make(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
                                     std::shared_ptr<CStory> story, std::int32_t start, std::int32_t end) {
  auto state = story->MakeRange(start, end);
  return std::make_shared<CRange>(std::move(app), std::move(doc), std::move(story), std::move(state));
}

std::shared_ptr<CRange> CRange::FromVariant(const CVariant& value) {
  auto range = std::dynamic_pointer_cast<CRange>(value.AsDispatch());
  if (!range) throw CComError(E_INVALIDARG, u"the argument is no range");
  return range;
}

HRESULT CRange::QueryInterface(const IID&) { return E_NOINTERFACE; }

void CRange::Clamp() {
  m_app->CheckRunning();
  const std::int32_t end = m_story->End();
  m_range->start = std::clamp(m_range->start, 0, end);
  m_range->end = std::clamp(m_range->end, m_range->start, end);
}

CStr CRange::Text() {
  Clamp();
  return CStr(m_story->Text(m_range->start, m_range->end));
}

void CRange::SetText(const CStr& text) {
  Clamp();
  CStoryEditor editor(*m_story);
  const std::int32_t start = m_range->start;
  std::int32_t replaced = 0;
  if (editor.ReplaceObject(start, m_range->end, text.View(), replaced)) {
    m_range->start = start;
    m_range->end = start + replaced;
    return;
  }
  if (m_range->end > start) editor.Delete(start, m_range->end);
  const std::int32_t at = std::min(start, editor.LastInsertPosition());
  const std::int32_t inserted = text.IsEmpty() ? 0 : editor.InsertText(at, text.View());
  m_range->start = at;
  m_range->end = at + inserted;
}

long CRange::Start() {
  Clamp();
  return m_range->start;
}

long CRange::End() {
  Clamp();
  return m_range->end;
}

void CRange::SetStart(long start) {
  m_range->start = static_cast<std::int32_t>(start);
  if (m_range->end < m_range->start) m_range->end = m_range->start;
  Clamp();
}

void CRange::SetEnd(long end) {
  m_range->end = static_cast<std::int32_t>(end);
  if (m_range->start > m_range->end) m_range->start = m_range->end;
  Clamp();
}

std::shared_ptr<IWordFields> CRange::Fields() {
  Clamp();
  return std::make_shared<CFields>(m_app, m_doc, m_story, m_range);
}

std::shared_ptr<IWordInlineShapes> CRange::InlineShapes() {
  Clamp();
  return std::make_shared<CInlineShapes>(m_app, m_doc, m_story, m_range);
}

std::shared_ptr<IWordTables> CRange::Tables() {
  Clamp();
  return std::make_shared<CTables>(m_app, m_doc, m_story, m_range);
}

long CRange::Delete(const CVariant& unit, const CVariant& count) {
  Clamp();
  const long units = count.LongOr(1);
  if (unit.LongOr(1) != 1) throw CComError(E_INVALIDARG, u"only character units can be deleted");
  std::int32_t start = m_range->start, end = m_range->end;
  if (start == end) {
    if (units >= 0) end = start + static_cast<std::int32_t>(units);
    else start = end + static_cast<std::int32_t>(units);
  }
  CStoryEditor editor(*m_story);
  const std::int32_t removed = editor.Delete(std::max(start, 0), end);
  m_range->end = m_range->start;
  return removed > 0 ? 1 : 0;
}

long CCharacters::Count() { return m_range->End() - m_range->Start(); }

std::shared_ptr<IWordRange> CCharacters::First() {
  const long start = m_range->Start();
  return CRange::Make(m_range->App(), m_range->Doc(), m_range->Story(), start, start + 1);
}

std::shared_ptr<IWordRange> CCharacters::Last() {
  const long start = m_range->Start(), end = m_range->End();
  const long last = end > start ? end - 1 : start;
  return CRange::Make(m_range->App(), m_range->Doc(), m_range->Story(), static_cast<std::int32_t>(last),
                      static_cast<std::int32_t>(last + 1));
}
