#include "platform/word/om/CTables.h"

#include "platform/com/CComError.h"

std::vector<CTables::SSpan> CTables::Spans(CStory& story, std::int32_t start, std::int32_t end) {
  std::vector<SSpan> spans;
  const auto& names = story.Names();
  for (const SAtom& atom : story.Atoms()) {
    pugi::xml_node outer;
    for (auto p = atom.node.parent(); p && p != story.Root(); p = p.parent())
      if (names.tbl == p.name()) outer = p;
    if (!outer) continue;
    if (!spans.empty() && spans.back().table == outer) {
      spans.back().end = atom.start + atom.length;
      continue;
    }
    spans.push_back({outer, atom.start, atom.start + atom.length});
  }
  std::erase_if(spans, [&](const SSpan& s) { return s.start < start || s.start >= end; });
  return spans;
}

long CTables::Count() {
  m_app->CheckRunning();
  return static_cast<long>(Spans(*m_story, m_range ? m_range->Start() : 0, m_range ? m_range->End() : m_story->End()).size());
}

std::shared_ptr<IWordTable> CTables::Item(long index) {
  m_app->CheckRunning();
  const auto spans = Spans(*m_story, m_range ? m_range->Start() : 0, m_range ? m_range->End() : m_story->End());
  if (index < 1 || index > static_cast<long>(spans.size()))
    throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  return std::make_shared<CTable>(m_app, m_doc, m_story, spans[static_cast<size_t>(index - 1)].table);
}

std::shared_ptr<IWordRange> CTable::Range() {
  m_app->CheckRunning();
  for (const auto& span : CTables::Spans(*m_story, 0, m_story->End()))
    if (span.table == m_table) return CRange::Make(m_app, m_doc, m_story, span.start, span.end);
  throw CComError(E_FAIL, u"the table has been deleted");
}
