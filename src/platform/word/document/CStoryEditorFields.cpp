// Field results replaced in place: the edit a field update makes, kept apart from the
// general deletion and insertion, which index the story afresh.
#include "platform/word/document/CStoryEditor.h"

namespace {

pugi::xml_node ParagraphOf(pugi::xml_node node, const CXmlNames& n) {
  while (node && n.p != node.name()) node = node.parent();
  return node;
}

}  // namespace

bool CStoryEditor::SOldResult::Take(const SAtom& atom, const CXmlNames& n) {
  const bool simple = n.fldSimple == atom.node.name();
  if (inSimple) {
    // Its content goes with it.
    if (atom.node == inSimple) {
      if (atom.kind == EAtomKind::eFieldEnd) inSimple = pugi::xml_node();
      return true;
    }
    return atom.kind == EAtomKind::eText || atom.kind == EAtomKind::eChar;
  }
  switch (atom.kind) {
    case EAtomKind::eParagraphEnd: paragraphs.push_back(atom.node); return true;
    case EAtomKind::eText:
    case EAtomKind::eChar:
    case EAtomKind::eInstrText: runChildren.push_back(atom.node); return true;
    case EAtomKind::eFieldBegin:
      fields.push_back(atom.node);
      if (simple) {
        inSimple = atom.node;
        simpleFields.push_back(atom.node);
      } else {
        ++open;
        runChildren.push_back(atom.node);
      }
      return true;
    case EAtomKind::eFieldSeparate:
    case EAtomKind::eFieldEnd:
      // Marks of a field that began before the result are not the result's to take.
      if (simple || open == 0) return false;
      if (atom.kind == EAtomKind::eFieldEnd) --open;
      runChildren.push_back(atom.node);
      return true;
    default: return false;
  }
}

bool CStoryEditor::ParagraphsJoinInOrder(pugi::xml_node mark, const std::vector<pugi::xml_node>& paragraphs,
                                         pugi::xml_node endMark) const {
  if (paragraphs.empty()) return true;
  if (ParagraphOf(mark, m_n) != paragraphs.front()) return false;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    const pugi::xml_node joins = i + 1 < paragraphs.size() ? paragraphs[i + 1] : ParagraphOf(endMark, m_n);
    if (!joins || NextBlock(paragraphs[i]) != joins) return false;
  }
  return true;
}

std::int32_t CStoryEditor::AddResultText(pugi::xml_node& run, std::u16string_view text, SNewResult& result) {
  std::int32_t added = 0;
  for (;;) {
    const size_t cr = text.find(u'\r');
    added += AddText(run, {}, text.substr(0, cr), &result.atoms);
    if (cr == std::u16string_view::npos) return added;
    // As typed text does: the paragraph is split after the run, which moves on to the second half.
    const pugi::xml_node paragraph = run.parent();
    const pugi::xml_node previous = run;
    run = SplitParagraph(run);
    RemoveEmptyRun(previous);
    result.atoms.push_back({paragraph, EAtomKind::eParagraphEnd, 0, 1});
    result.lastParagraph = run.parent();
    ++added;
    text.remove_prefix(cr + 1);
  }
}

pugi::xml_node CStoryEditor::ReplaceFieldResult(size_t separate, size_t end, std::u16string_view text) {
  if (!m_story.IsCurrent()) return {};
  const CStoryAtoms& atoms = m_story.Atoms();
  if (end >= atoms.size() || (separate != SIZE_MAX && separate >= end)) return {};
  const SAtom endMark = atoms[end];
  if (endMark.kind != EAtomKind::eFieldEnd) return {};
  // What deleting the old result would remove: every atom that starts before the end
  // mark. Paragraph marks among them join their paragraphs with the end mark's.
  SOldResult old;
  size_t gone = 0;
  for (size_t i = separate == SIZE_MAX ? end : separate + 1; i < end; ++i, ++gone) {
    const SAtom atom = atoms[i];
    if (atom.start >= endMark.start) break;
    if (!old.Take(atom, m_n)) return {};
  }
  if (!old.Whole()) return {};
  const std::vector<pugi::xml_node>& paragraphs = old.paragraphs;
  // A paragraph break splits the end mark's paragraph: both marks must be runs of it (or
  // of the paragraphs that join it), and its own mark is found among the next atoms.
  const bool breaks = text.find(u'\r') != std::u16string_view::npos;
  size_t paragraphEnd = SIZE_MAX;
  if (breaks) {
    const pugi::xml_node paragraph = endMark.node.parent().parent();
    if (!IsRunLevel(endMark) || m_n.p != paragraph.name()) return {};
    if (separate != SIZE_MAX &&
        (!IsRunLevel(atoms[separate]) ||
         atoms[separate].node.parent().parent() != (paragraphs.empty() ? paragraph : paragraphs.front())))
      return {};
    for (size_t i = end + 1; i < atoms.size() && paragraphEnd == SIZE_MAX; ++i)
      if (atoms[i].node == paragraph) paragraphEnd = i;
    if (paragraphEnd == SIZE_MAX) return {};
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
    if (!ParagraphsJoinInOrder(mark.node, paragraphs, endMark.node)) return {};
  }
  for (pugi::xml_node simple : old.simpleFields) simple.parent().remove_child(simple);
  std::vector<pugi::xml_node> runs;
  for (pugi::xml_node node : old.runChildren) {
    pugi::xml_node parent = node.parent();
    parent.remove_child(node);
    if (runs.empty() || runs.back() != parent) runs.push_back(parent);  // a run's atoms come together
  }
  for (pugi::xml_node emptied : runs) RemoveEmptyRun(emptied);
  // From the last: each paragraph's content then moves once, to the front of the end mark's.
  for (auto p = paragraphs.rbegin(); p != paragraphs.rend(); ++p) MergeWithNext(*p);
  pugi::xml_node run = NewRunNear(&mark, &endMark);
  SNewResult result;
  result.atoms.push_back(mark);
  const std::int32_t inserted = AddInScriptRuns(
      run, text, [&](pugi::xml_node& into, std::u16string_view piece) { return AddResultText(into, piece, result); });
  RemoveEmptyRun(run);
  // The atom at index slot becomes `spliced` atoms and the `gone` after it go (none
  // when the field had no separate mark: the loop above started at its end).
  const size_t slot = separate == SIZE_MAX ? end : separate;
  if (separate == SIZE_MAX) {
    m_story.Changed(endMark.start, 0, 1 + inserted);
    result.atoms.push_back(endMark);
  } else {
    const std::int32_t from = mark.start + 1;
    m_story.Changed(from, endMark.start - from, inserted);
  }
  const size_t spliced = result.atoms.size();
  m_story.SpliceAtoms(slot, result.atoms);
  for (size_t k = 0; k < gone; ++k) m_story.SpliceAtoms(slot + spliced, {});
  m_story.Marks().FieldsRemoved(m_story, old.fields);
  if (result.lastParagraph) {
    // The end mark's paragraph now ends at the first break; its old mark ends the last part.
    const size_t moved = paragraphEnd - 1 + spliced - gone;
    SAtom last = m_story.Atoms()[moved];
    last.node = result.lastParagraph;
    m_story.SpliceAtoms(moved, {last});
  }
  SyncFallback();
  return mark.node;
}
