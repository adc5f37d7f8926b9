// Field results replaced in place: the edit a field update makes, kept apart from the
// general deletion and insertion, which index the story afresh.
#include "platform/word/document/CStoryEditor.h"


pugi::xml_node CStoryEditor::ReplaceFieldResult(size_t separate, size_t end, std::u16string_view text) {
  if (!m_story.IsCurrent() || text.find(u'\r') != std::u16string_view::npos) return {};
  const CStoryAtoms& atoms = m_story.Atoms();
  if (end >= atoms.size() || (separate != SIZE_MAX && separate >= end)) return {};
  const SAtom endMark = atoms[end];
  if (endMark.kind != EAtomKind::eFieldEnd) return {};
  // What deleting the old result would remove: every atom that starts before the end mark.
  std::vector<pugi::xml_node> removed;
  for (size_t i = separate == SIZE_MAX ? end : separate + 1; i < end; ++i) {
    const SAtom atom = atoms[i];
    if (atom.start >= endMark.start) break;
    if (atom.kind != EAtomKind::eText && atom.kind != EAtomKind::eChar) return {};
    removed.push_back(atom.node);
  }
  SAtom mark;
  if (separate == SIZE_MAX) {
    if (!IsRunLevel(endMark)) return {};
    pugi::xml_node endRun = endMark.node.parent();
    pugi::xml_node run = endRun.parent().insert_child_before(m_n.run.c_str(), endRun);
    pugi::xml_node node = run.append_child(m_n.fldChar.c_str());
    node.append_attribute(m_n.fldCharType.c_str()) = "separate";
    mark = {node, EAtomKind::eFieldSeparate, endMark.start, 1};
  } else {
    mark = atoms[separate];
  }
  pugi::xml_node run = NewRunNear(&mark, &endMark);
  std::vector<SAtom> replacement{mark};
  const std::int32_t inserted =
      AddInScriptRuns(run, text, [this, &replacement](pugi::xml_node& into, std::u16string_view piece) {
        return AddText(into, {}, piece, &replacement);
      });
  std::vector<pugi::xml_node> runs;
  for (pugi::xml_node node : removed) {
    pugi::xml_node parent = node.parent();
    parent.remove_child(node);
    if (runs.empty() || runs.back() != parent) runs.push_back(parent);  // a run's atoms come together
  }
  for (pugi::xml_node emptied : runs) RemoveEmptyRun(emptied);
  RemoveEmptyRun(run);
  if (separate == SIZE_MAX) {
    m_story.Changed(endMark.start, 0, 1 + inserted);
    replacement.push_back(endMark);
    m_story.SpliceAtoms(end, replacement);
  } else {
    const std::int32_t from = mark.start + 1;
    m_story.Changed(from, endMark.start - from, inserted);
    m_story.SpliceAtoms(separate, replacement);
    for (size_t k = 0; k < removed.size(); ++k) m_story.SpliceAtoms(separate + replacement.size(), {});
  }
  SyncFallback();
  return mark.node;
}
