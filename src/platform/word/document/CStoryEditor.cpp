#include "platform/word/document/CStoryEditor.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "folio/util/CStr.h"
#include "platform/com/CComError.h"
#include "platform/word/package/CPart.h"
#include "platform/word/document/ScriptRuns.h"

namespace {

// Byte offset in UTF-8 text of the UTF-16 offset units.
size_t Utf8Offset(std::string_view utf8, std::int32_t units) {
  size_t i = 0;
  for (; i < utf8.size() && units > 0; ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if ((c & 0xC0) == 0x80) continue;
    units -= c >= 0xF0 ? 2 : 1;
  }
  while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
  return i;
}

void SetText(pugi::xml_node t, std::string_view text) {
  t.text().set(std::string(text).c_str());
  if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
}

bool HasAncestorIn(pugi::xml_node node, const std::unordered_set<const void*>& set) {
  for (auto p = node.parent(); p; p = p.parent())
    if (set.count(p.internal_object())) return true;
  return false;
}

// First element of the subtree named name, found without recursion.
pugi::xml_node FindDescendant(pugi::xml_node root, const std::string& name) {
  pugi::xml_node node = root.first_child();
  while (node) {
    if (node.type() == pugi::node_element && name == node.name()) return node;
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  return {};
}

}  // namespace

bool CStoryEditor::IsRunLevel(const SAtom& atom) const {
  return m_n.run == atom.node.parent().name();
}

std::int32_t CStoryEditor::LastInsertPosition() {
  const auto& atoms = m_story.Atoms();
  if (!atoms.empty() && atoms.back().kind == EAtomKind::eParagraphEnd) return atoms.back().start;
  return m_story.End();
}

void CStoryEditor::CloseFinalTable() {
  const auto& atoms = m_story.Atoms();
  if (atoms.empty() || atoms.back().kind != EAtomKind::eRowEnd) return;
  pugi::xml_node table = atoms.back().node.parent();
  const std::int32_t end = m_story.End();
  table.parent().insert_child_after(m_n.p.c_str(), table);
  m_story.Part().MarkDirty();
  m_story.Changed(end, 0, 1);
}

void CStoryEditor::SplitAt(std::int32_t pos) {
  const auto& atoms = m_story.Atoms();
  size_t i = m_story.AtomAt(pos);
  if (i == 0) return;
  const SAtom a = atoms[i - 1];
  if ((a.kind != EAtomKind::eText && a.kind != EAtomKind::eInstrText) || a.start >= pos || a.start + a.length <= pos)
    return;
  pugi::xml_node run = a.node.parent();
  const std::string text = a.node.child_value();
  const size_t cut = Utf8Offset(text, pos - a.start);
  pugi::xml_node tail = run.parent().insert_child_after(m_n.run.c_str(), run);
  if (auto rPr = run.child(m_n.rPr.c_str())) tail.append_copy(rPr);
  pugi::xml_node t2 = tail.append_child(a.node.name());
  SetText(t2, std::string_view(text).substr(cut));
  SetText(a.node, std::string_view(text).substr(0, cut));
  for (pugi::xml_node next = a.node.next_sibling(); next;) {
    pugi::xml_node moving = next;
    next = next.next_sibling();
    tail.append_move(moving);
  }
  m_story.Part().MarkDirty();
  m_story.Changed(0, 0, 0);
}

pugi::xml_node CStoryEditor::NewRunNear(const SAtom* before, const SAtom* after) {
  auto make = [&](pugi::xml_node parent, pugi::xml_node where, bool afterWhere, pugi::xml_node formatFrom) {
    pugi::xml_node run = !where ? parent.append_child(m_n.run.c_str())
                         : afterWhere ? parent.insert_child_after(m_n.run.c_str(), where)
                                      : parent.insert_child_before(m_n.run.c_str(), where);
    if (auto rPr = formatFrom.child(m_n.rPr.c_str())) run.append_copy(rPr);
    return run;
  };
  const bool beforeInParagraph = before && before->kind != EAtomKind::eParagraphEnd &&
                                 before->kind != EAtomKind::eCellEnd && before->kind != EAtomKind::eRowEnd;
  if (beforeInParagraph && IsRunLevel(*before)) {
    pugi::xml_node run = before->node.parent();
    return make(run.parent(), run, true, run);
  }
  if (beforeInParagraph && before->kind == EAtomKind::eFieldSeparate)  // w:fldSimple: result starts here
    return make(before->node, before->node.first_child(), false, {});
  if (beforeInParagraph && before->kind == EAtomKind::eFieldEnd)
    return make(before->node.parent(), before->node, true, {});
  if (!after) throw CComError(E_FAIL, u"the story has no paragraph to insert into");
  if (IsRunLevel(*after)) {
    pugi::xml_node run = after->node.parent();
    return make(run.parent(), run, false, run);
  }
  switch (after->kind) {
    case EAtomKind::eParagraphEnd:
    case EAtomKind::eCellEnd: return make(after->node, {}, false, {});
    case EAtomKind::eFieldBegin: return make(after->node.parent(), after->node, false, {});
    case EAtomKind::eFieldSeparate: return make(after->node, after->node.first_child(), false, {});
    case EAtomKind::eFieldEnd: return make(after->node, {}, false, {});
    default: throw CComError(E_FAIL, u"text cannot be inserted at the end of a table row");
  }
}

pugi::xml_node CStoryEditor::NewRunAt(std::int32_t pos) {
  pos = std::clamp(pos, 0, LastInsertPosition());
  SplitAt(pos);
  const auto& atoms = m_story.Atoms();
  if (atoms.empty()) {
    // An empty text box: give it its paragraph.
    pugi::xml_node p = m_story.Root().append_child(m_n.p.c_str());
    m_story.Changed(0, 0, 0);
    return p.append_child(m_n.run.c_str());
  }
  // Text at the end of a story that ends with a table goes into the paragraph after it.
  if (pos == m_story.End()) CloseFinalTable();
  const size_t k = m_story.AtomAt(pos);
  const std::optional<SAtom> before = k > 0 ? std::optional(atoms[k - 1]) : std::nullopt;
  const std::optional<SAtom> after = k < atoms.size() ? std::optional(atoms[k]) : std::nullopt;
  pugi::xml_node run = NewRunNear(before ? &*before : nullptr, after ? &*after : nullptr);
  m_story.Touched();  // an empty run holds no position
  return run;
}

pugi::xml_node CStoryEditor::SplitParagraph(pugi::xml_node run) {
  pugi::xml_node p = run;
  pugi::xml_node top = run;
  while (p && m_n.p != p.name()) {
    top = p;
    p = p.parent();
  }
  if (!p) throw CComError(E_FAIL, u"a paragraph break needs a paragraph");
  pugi::xml_node second = p.parent().insert_child_after(m_n.p.c_str(), p);
  if (auto pPr = p.child(m_n.pPr.c_str())) {
    second.append_copy(pPr);
    // the section break stays with the paragraph mark, which moves to the second half
    if (auto sect = pPr.child(m_n.sectPr.c_str())) pPr.remove_child(sect);
  }
  for (pugi::xml_node next = top.next_sibling(); next;) {
    pugi::xml_node moving = next;
    next = next.next_sibling();
    second.append_move(moving);
  }
  pugi::xml_node newRun = second.insert_child_after(m_n.run.c_str(), second.child(m_n.pPr.c_str()));
  if (!second.child(m_n.pPr.c_str())) {
    second.remove_child(newRun);
    newRun = second.prepend_child(m_n.run.c_str());
  }
  if (auto rPr = run.child(m_n.rPr.c_str())) newRun.append_copy(rPr);
  return newRun;
}

std::int32_t CStoryEditor::InsertChars(pugi::xml_node& run, std::u16string_view text) {
  std::int32_t inserted = 0;
  std::string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    SetText(run.append_child(m_n.t.c_str()), pending);
    pending.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF) {
      size_t j = i;
      while (j < text.size() && text[j] >= 0x20 && text[j] != 0xFFFE && text[j] != 0xFFFF) ++j;
      AppendUtf8(text.substr(i, j - i), pending);
      inserted += static_cast<std::int32_t>(j - i);
      i = j - 1;
      continue;
    }
    flush();
    if (c == u'\t') run.append_child(m_n.tab.c_str());
    else if (c == u'\v' || c == u'\n') run.append_child(m_n.br.c_str());
    else if (c == u'\r') {
      pugi::xml_node previous = run;
      run = SplitParagraph(run);
      RemoveEmptyRun(previous);
    } else continue;  // other control characters have no place in text
    ++inserted;
  }
  flush();
  return inserted;
}

pugi::xml_node CStoryEditor::RunAfter(pugi::xml_node run, pugi::xml_node model) {
  pugi::xml_node next = run.parent().insert_child_after(m_n.run.c_str(), run);
  if (model) next.append_copy(model);
  return next;
}

std::int32_t CStoryEditor::AddInScriptRuns(pugi::xml_node& run, std::u16string_view text, const AddPiece& add) {
  if (!NeedsScriptRuns(text)) return add(run, text);
  // Each script in a run of its own, all with the properties the first run has.
  pugi::xml_document model;
  if (auto rPr = run.child(m_n.rPr.c_str())) model.append_copy(rPr);
  std::int32_t added = 0;
  bool first = true;
  for (const SScriptPiece& piece : ScriptPieces(text)) {
    if (!first) {
      pugi::xml_node previous = run;
      run = RunAfter(run, model.first_child());
      RemoveEmptyRun(previous);
    }
    first = false;
    MarkRunScript(run, piece.script, m_n);
    added += add(run, piece.text);
  }
  return added;
}

std::int32_t CStoryEditor::InsertText(std::int32_t pos, std::u16string_view text) {
  pos = std::clamp(pos, 0, LastInsertPosition());
  pugi::xml_node run = NewRunAt(pos);
  const std::int32_t inserted = AddInScriptRuns(
      run, text, [this](pugi::xml_node& into, std::u16string_view piece) { return InsertChars(into, piece); });
  RemoveEmptyRun(run);
  Inserted(pos, inserted);
  return inserted;
}

void CStoryEditor::IsolateObject(pugi::xml_node object) {
  pugi::xml_node run = object.parent();
  const pugi::xml_node rPr = run.child(m_n.rPr.c_str());
  bool before = false;
  for (pugi::xml_node n = object.previous_sibling(); n && !before; n = n.previous_sibling()) before = n != rPr;
  if (before) {
    pugi::xml_node head = run.parent().insert_child_before(m_n.run.c_str(), run);
    if (rPr) head.append_copy(rPr);
    for (pugi::xml_node n = run.first_child(); n != object;) {
      pugi::xml_node moving = n;
      n = n.next_sibling();
      if (moving != rPr) head.append_move(moving);
    }
  }
  if (object.next_sibling()) {
    pugi::xml_node tail = RunAfter(run, rPr);
    while (pugi::xml_node moving = object.next_sibling()) tail.append_move(moving);
  }
}

std::int32_t CStoryEditor::AddText(pugi::xml_node run, pugi::xml_node before, std::u16string_view text,
                                   std::vector<SAtom>* atoms) {
  auto add = [&](const std::string& name) {
    return before ? run.insert_child_before(name.c_str(), before) : run.append_child(name.c_str());
  };
  std::int32_t added = 0;
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF) {
      size_t j = i;
      while (j < text.size() && text[j] >= 0x20 && text[j] != 0xFFFE && text[j] != 0xFFFF) ++j;
      std::string utf8;
      AppendUtf8(text.substr(i, j - i), utf8);
      pugi::xml_node t = add(m_n.t);
      SetText(t, utf8);
      if (atoms) atoms->push_back({t, EAtomKind::eText, 0, static_cast<std::int32_t>(j - i)});
      added += static_cast<std::int32_t>(j - i);
      i = j;
      continue;
    }
    pugi::xml_node mark;
    if (c == u'\t') mark = add(m_n.tab);
    else if (c == u'\v' || c == u'\n') mark = add(m_n.br);
    if (mark) {
      if (atoms) atoms->push_back({mark, EAtomKind::eChar, 0, 1});
      ++added;
    }
    ++i;
  }
  return added;
}

bool CStoryEditor::ReplaceObject(std::int32_t pos, std::int32_t end, std::u16string_view text, std::int32_t& inserted) {
  if (end != pos + 1 || text.find(u'\r') != std::u16string_view::npos) return false;
  const auto& atoms = m_story.Atoms();
  size_t k = m_story.AtomAt(pos);
  while (k < atoms.size() && atoms[k].start == pos && atoms[k].length == 0) ++k;
  if (k >= atoms.size() || atoms[k].start != pos || atoms[k].kind != EAtomKind::eInline || !IsRunLevel(atoms[k]))
    return false;
  pugi::xml_node object = atoms[k].node;
  pugi::xml_node run = object.parent();
  std::vector<SAtom> replacement;
  if (!NeedsScriptRuns(text)) {
    inserted = AddText(run, object, text, &replacement);
  } else {
    // Each script in a run of its own with the placeholder's properties; the runs
    // follow one another where the placeholder stood.
    IsolateObject(object);
    pugi::xml_document model;
    if (auto rPr = run.child(m_n.rPr.c_str())) model.append_copy(rPr);
    inserted = 0;
    pugi::xml_node last = run;
    bool first = true;
    for (const SScriptPiece& piece : ScriptPieces(text)) {
      pugi::xml_node target = first ? run : RunAfter(last, model.first_child());
      MarkRunScript(target, piece.script, m_n);
      inserted += AddText(target, first ? object : pugi::xml_node(), piece.text, &replacement);
      last = target;
      first = false;
    }
  }
  run.remove_child(object);
  RemoveEmptyRun(run);
  m_story.Changed(pos, 1, inserted);
  m_story.SpliceAtoms(k, replacement);
  SyncFallback();
  return true;
}

pugi::xml_node CStoryEditor::InsertObject(std::int32_t pos,
                                          const std::function<pugi::xml_node(pugi::xml_node run)>& fill) {
  pos = std::clamp(pos, 0, LastInsertPosition());
  pugi::xml_node run = NewRunAt(pos);
  // When the new run stands right before the run of the atom at pos, the object takes
  // that atom's index and the index is patched; anywhere else it is rebuilt when next read.
  std::optional<std::pair<size_t, SAtom>> next;
  if (m_story.IsCurrent()) {
    const auto& atoms = m_story.Atoms();
    const size_t k = m_story.AtomAt(pos);
    if (k < atoms.size()) {
      const SAtom after = atoms[k];
      const bool first = k == 0 || atoms[k - 1].node.parent() != after.node.parent();
      if (IsRunLevel(after) && after.node.parent() == run.next_sibling() && first) next.emplace(k, after);
    }
  }
  pugi::xml_node object = fill(run);
  m_story.Changed(pos, 0, 1);
  if (next) m_story.SpliceAtoms(next->first, {SAtom{object, EAtomKind::eInline, 0, 1}, next->second});
  SyncFallback();
  return object;
}

void CStoryEditor::Inserted(std::int32_t pos, std::int32_t length) {
  m_story.Part().MarkDirty();
  m_story.Changed(pos, 0, length);
  SyncFallback();
}

void CStoryEditor::RemoveEmptyRun(pugi::xml_node run) {
  if (!run || m_n.run != run.name()) return;
  for (auto child : run.children())
    if (child.type() == pugi::node_element && m_n.rPr != child.name()) return;
  run.parent().remove_child(run);
}

void CStoryEditor::RemoveObject(pugi::xml_node object) {
  const int index = m_story.FindAtom(object);
  const std::int32_t pos = index >= 0 ? m_story.Atoms()[static_cast<size_t>(index)].start : 0;
  const std::int32_t length = index >= 0 ? m_story.Atoms()[static_cast<size_t>(index)].length : 0;
  pugi::xml_node run = object.parent();
  run.remove_child(object);
  RemoveEmptyRun(run);
  m_story.Changed(pos, length, 0);
  // an object is one atom, and its run (if it goes) none
  if (index >= 0) m_story.SpliceAtoms(static_cast<size_t>(index), {});
  SyncFallback();
}

std::int32_t CStoryEditor::Delete(std::int32_t start, std::int32_t end) {
  start = std::max(start, 0);
  end = std::min(end, LastInsertPosition());
  if (start >= end) return 0;
  SplitAt(start);
  SplitAt(end);
  const std::int32_t oldEnd = m_story.End();
  const CStoryAtoms& atoms = m_story.Atoms();  // read before anything is removed
  const size_t first = m_story.AtomAt(start);

  SDeletion deletion = Collect(atoms, first, end);
  AddWholeTables(deletion, first > 0 ? atoms[first - 1].node : pugi::xml_node());
  pugi::xml_node container = RemoveCollected(deletion);
  for (auto p : deletion.paragraphs) container = MergeWithNext(p);
  JoinAdjacentTables(container);
  m_story.Part().MarkDirty();
  m_story.Changed(0, 0, 0);
  const std::int32_t removed = oldEnd - m_story.End();
  m_story.MoveRanges(start, removed, 0);
  SyncFallback();
  return removed;
}

CStoryEditor::SDeletion CStoryEditor::Collect(const CStoryAtoms& atoms, size_t first, std::int32_t end) const {
  SDeletion d;
  for (size_t i = first; i < atoms.size() && atoms[i].start < end; ++i) {
    const SAtom& a = atoms[i];
    switch (a.kind) {
      case EAtomKind::eParagraphEnd: d.paragraphs.push_back(a.node); break;
      case EAtomKind::eRowEnd: d.rowEnds.insert(a.node.internal_object()); [[fallthrough]];
      case EAtomKind::eCellEnd:
        for (auto t = a.node.parent(); t && t != m_story.Root(); t = t.parent())
          if (m_n.tbl == t.name() && std::find(d.tables.begin(), d.tables.end(), t) == d.tables.end()) d.tables.push_back(t);
        break;
      case EAtomKind::eFieldBegin:
        if (m_n.fldSimple == a.node.name()) {
          // the whole simple field goes when its end goes too
          for (size_t j = i + 1; j < atoms.size() && atoms[j].start < end; ++j)
            if (atoms[j].node == a.node && atoms[j].kind == EAtomKind::eFieldEnd) d.remove.push_back(a.node);
        } else {
          d.remove.push_back(a.node);
        }
        break;
      case EAtomKind::eFieldSeparate:
      case EAtomKind::eFieldEnd:
        if (m_n.fldSimple != a.node.name()) d.remove.push_back(a.node);
        break;
      default: d.remove.push_back(a.node);
    }
  }
  return d;
}

void CStoryEditor::AddWholeTables(SDeletion& d, pugi::xml_node before) const {
  // A table goes as a whole when nothing of it lies before the deletion and its last row ends inside.
  for (auto t : d.tables) {
    bool startsInside = true;
    for (auto p = before; p; p = p.parent())
      if (p == t) startsInside = false;
    pugi::xml_node lastRow;
    for (auto row : t.children(m_n.tr.c_str())) lastRow = row;
    if (startsInside && lastRow && d.rowEnds.count(lastRow.internal_object())) d.remove.push_back(t);
  }
}

pugi::xml_node CStoryEditor::RemoveCollected(SDeletion& d) {
  // Decide everything before the first removal: a removed element takes its subtree along.
  std::unordered_set<const void*> removing;
  for (auto node : d.remove) removing.insert(node.internal_object());
  std::vector<pugi::xml_node> roots, runs;
  for (auto node : d.remove)
    if (!HasAncestorIn(node, removing)) roots.push_back(node);
  std::erase_if(d.paragraphs, [&](pugi::xml_node p) { return HasAncestorIn(p, removing); });
  pugi::xml_node container = m_story.Root();
  for (auto node : roots) {
    pugi::xml_node parent = node.parent();
    if (m_n.run == parent.name() && std::find(runs.begin(), runs.end(), parent) == runs.end()) runs.push_back(parent);
    else if (m_n.tbl == node.name()) container = parent;
  }
  for (auto node : roots) node.parent().remove_child(node);
  for (auto run : runs) RemoveEmptyRun(run);
  return container;
}

pugi::xml_node CStoryEditor::NextBlock(pugi::xml_node p) const {
  pugi::xml_node next = p.next_sibling();
  while (next && next.type() == pugi::node_element && m_n.p != next.name() && m_n.tbl != next.name() &&
         m_n.sdt != next.name() && m_n.sectPr != next.name())
    next = next.next_sibling();
  return next;
}

pugi::xml_node CStoryEditor::MergeWithNext(pugi::xml_node p) {
  // The paragraph mark went: the content joins the next paragraph, or an empty paragraph goes.
  pugi::xml_node next = NextBlock(p);
  pugi::xml_node container = p.parent();
  if (next && m_n.p == next.name()) {
    pugi::xml_node anchor = next.child(m_n.pPr.c_str()) ? next.child(m_n.pPr.c_str()).next_sibling() : next.first_child();
    for (pugi::xml_node child = p.first_child(); child;) {
      pugi::xml_node moving = child;
      child = child.next_sibling();
      if (m_n.pPr == moving.name()) continue;
      if (anchor) next.insert_move_before(moving, anchor);
      else next.append_move(moving);
    }
    container.remove_child(p);
  } else {
    bool empty = true;
    for (auto child : p.children())
      if (m_n.pPr != child.name()) empty = false;
    if (empty) container.remove_child(p);
  }
  return container;
}

void CStoryEditor::JoinAdjacentTables(pugi::xml_node container) {
  for (pugi::xml_node node = container.first_child(); node;) {
    pugi::xml_node next = node.next_sibling();
    if (next && m_n.tbl == node.name() && m_n.tbl == next.name()) {
      for (pugi::xml_node row = next.child(m_n.tr.c_str()); row;) {
        pugi::xml_node moving = row;
        row = row.next_sibling(m_n.tr.c_str());
        node.append_move(moving);
      }
      container.remove_child(next);
      continue;
    }
    node = next;
  }
  // A table never ends a cell or the body: a paragraph follows it.
  pugi::xml_node last = container.last_child();
  while (last && m_n.sectPr == last.name()) last = last.previous_sibling();
  if (last && m_n.tbl == last.name()) container.insert_child_after(m_n.p.c_str(), last);
}

void CStoryEditor::SyncFallback() {
  pugi::xml_node root = m_story.Root();
  pugi::xml_node alternate = root;
  while (alternate && m_n.mcAlternateContent != alternate.name()) alternate = alternate.parent();
  if (!alternate) return;
  for (auto p = root.parent(); p != alternate; p = p.parent())
    if (m_n.mcChoice != p.name() && p.parent() == alternate) return;  // the story is the fallback copy itself
  pugi::xml_node fallback = FindDescendant(alternate.child(m_n.mcFallback.c_str()), m_n.txbxContent);
  if (!fallback || fallback == root) return;
  while (fallback.first_child()) fallback.remove_child(fallback.first_child());
  for (auto child : root.children()) fallback.append_copy(child);
}
