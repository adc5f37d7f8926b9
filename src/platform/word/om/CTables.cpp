#include "platform/word/om/CTables.h"

#include "platform/com/CComError.h"

std::pair<size_t, size_t> CTables::Ordinals() {
  m_app->CheckRunning();
  return m_story->Marks().Tables(*m_story, m_range ? m_range->Start() : 0, m_range ? m_range->End() : m_story->End());
}

long CTables::Count() {
  const auto [first, last] = Ordinals();
  return static_cast<long>(last - first);
}

std::shared_ptr<IWordTable> CTables::Item(long index) {
  const auto [first, last] = Ordinals();
  if (index < 1 || index > static_cast<long>(last - first))
    throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  const STableSpan span = m_story->Marks().Table(first + static_cast<size_t>(index - 1));
  return std::make_shared<CTable>(m_app, m_doc, m_story, span.table);
}

std::shared_ptr<IWordRange> CTable::Range() {
  m_app->CheckRunning();
  if (const auto span = m_story->Marks().Table(*m_story, m_table))
    return CRange::Make(m_app, m_doc, m_story, span->start, span->end);
  throw CComError(E_FAIL, u"the table has been deleted");
}
