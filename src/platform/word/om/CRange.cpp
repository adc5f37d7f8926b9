#include "platform/word/om/CRange.h"

#include "platform/com/CComError.h"
#include "platform/word/om/CField.h"
#include "platform/word/om/CInlineShapes.h"
#include "platform/word/document/CStoryEditor.h"
#include "platform/word/om/CTables.h"

CRange::CRange(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
               std::shared_ptr<CLiveRange> range)
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
  const std::int32_t last = m_story->End();
  const std::int32_t start = std::clamp(m_range->Start(), 0, last);
  m_range->Set(start, std::clamp(m_range->End(), start, last));
}

CStr CRange::Text() {
  Clamp();
  return CStr(m_story->Text(m_range->Start(), m_range->End()));
}

void CRange::SetText(const CStr& text) {
  Clamp();
  CStoryEditor editor(*m_story);
  const std::int32_t start = m_range->Start();
  std::int32_t replaced = 0;
  if (editor.ReplaceObject(start, m_range->End(), text.View(), replaced)) {
    m_range->Set(start, start + replaced);
    return;
  }
  if (m_range->End() > start) editor.Delete(start, m_range->End());
  const std::int32_t at = std::min(start, editor.LastInsertPosition());
  const std::int32_t inserted = text.IsEmpty() ? 0 : editor.InsertText(at, text.View());
  m_range->Set(at, at + inserted);
}

long CRange::Start() {
  Clamp();
  return m_range->Start();
}

long CRange::End() {
  Clamp();
  return m_range->End();
}

void CRange::SetStart(long start) {
  const auto at = static_cast<std::int32_t>(start);
  m_range->Set(at, std::max(m_range->End(), at));
  Clamp();
}

void CRange::SetEnd(long end) {
  const auto at = static_cast<std::int32_t>(end);
  m_range->Set(std::min(m_range->Start(), at), at);
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
  std::int32_t start = m_range->Start(), end = m_range->End();
  if (start == end) {
    if (units >= 0) end = start + static_cast<std::int32_t>(units);
    else start = end + static_cast<std::int32_t>(units);
  }
  CStoryEditor editor(*m_story);
  const std::int32_t removed = editor.Delete(std::max(start, 0), end);
  m_range->Set(m_range->Start(), m_range->Start());
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
