#include "platform/word/CStory.h"

#include <algorithm>
#include <cstring>

#include "folio/util/CStr.h"
#include "platform/word/CPart.h"

namespace {

bool IsFloatingVml(const pugi::xml_node& container) {
  for (auto child : container.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view style = child.attribute("style").value();
    if (style.find("position:absolute") != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

CStory::CStory(CPart& part, pugi::xml_node root, EStoryType type)
    : m_part(&part), m_root(root), m_type(type), m_names(part.Xml().document_element()) {}

std::int32_t CStory::Utf16Length(std::string_view utf8) {
  std::int32_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) n += c >= 0xF0 ? 2 : 1;
  return n;
}

const std::vector<SAtom>& CStory::Atoms() {
  if (m_builtGeneration != m_part->Generation()) Rebuild();
  return m_atoms;
}

std::int32_t CStory::End() {
  Atoms();
  return m_end;
}

int CStory::FindAtom(const pugi::xml_node& node) {
  Atoms();
  auto it = m_objectIndex.find(node.internal_object());
  if (it != m_objectIndex.end()) return static_cast<int>(it->second);
  for (size_t i = 0; i < m_atoms.size(); ++i)
    if (m_atoms[i].node == node) return static_cast<int>(i);
  return -1;
}

size_t CStory::AtomAt(std::int32_t pos) {
  const auto& atoms = Atoms();
  auto it = std::lower_bound(atoms.begin(), atoms.end(), pos,
                             [](const SAtom& a, std::int32_t p) { return a.start + std::max(a.length, 1) <= p; });
  // lower_bound stops at the atom containing pos; step to the first starting at or after it
  while (it != atoms.end() && it->start < pos) ++it;
  return static_cast<size_t>(it - atoms.begin());
}

void CStory::Add(const pugi::xml_node& node, EAtomKind kind, std::int32_t length) {
  if (kind == EAtomKind::eInline || kind == EAtomKind::eAnchor) m_objectIndex[node.internal_object()] = m_atoms.size();
  m_atoms.push_back(SAtom{node, kind, m_end, length});
  m_end += length;
}

EAtomKind CStory::ObjectKind(const pugi::xml_node& node) const {
  const std::string_view name = node.name();
  if (name == m_names.drawing) return node.child(m_names.wpAnchor.c_str()) ? EAtomKind::eAnchor : EAtomKind::eInline;
  if (name == m_names.pict) {
    if (node.child(m_names.control.c_str())) return EAtomKind::eInline;
    return IsFloatingVml(node) ? EAtomKind::eAnchor : EAtomKind::eInline;
  }
  if (name == m_names.mcAlternateContent) {
    auto choice = node.child(m_names.mcChoice.c_str());
    for (auto child : choice.children())
      if (child.type() == pugi::node_element) return ObjectKind(child);
    return EAtomKind::eAnchor;
  }
  return EAtomKind::eInline;  // w:object
}

void CStory::RunChild(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const auto& n = m_names;
  if (name == n.t) Add(node, EAtomKind::eText, Utf16Length(node.child_value()));
  else if (name == n.instrText) Add(node, EAtomKind::eInstrText, Utf16Length(node.child_value()));
  else if (name == n.tab || name == n.br || name == n.cr || name == n.sym || name == n.noBreakHyphen ||
           name == n.softHyphen || name == n.ptab || name == n.footnoteReference || name == n.endnoteReference)
    Add(node, EAtomKind::eChar, 1);
  else if (name == n.fldChar) {
    const std::string_view type = node.attribute(n.fldCharType.c_str()).value();
    Add(node, type == "begin" ? EAtomKind::eFieldBegin : type == "separate" ? EAtomKind::eFieldSeparate : EAtomKind::eFieldEnd, 1);
  } else if (name == n.drawing || name == n.pict || name == n.object || name == n.mcAlternateContent) {
    const EAtomKind kind = ObjectKind(node);
    Add(node, kind, kind == EAtomKind::eInline ? 1 : 0);
  }
}

bool CStory::Enter(const pugi::xml_node& node) {
  if (node.type() != pugi::node_element) return false;
  const std::string_view name = node.name();
  const auto& n = m_names;
  if (name == n.run) {
    for (auto child : node.children())
      if (child.type() == pugi::node_element) RunChild(child);
    return false;
  }
  if (name == n.p || name == n.tbl || name == n.tr || name == n.tc || name == n.sdtContent || name == n.hyperlink ||
      name == n.smartTag || name == n.customXml || name == n.ins)
    return true;
  if (name == n.sdt) return true;  // only its w:sdtContent counts; w:sdtPr holds no runs we read
  if (name == n.fldSimple) {
    Add(node, EAtomKind::eFieldBegin, 1);
    Add(node, EAtomKind::eFieldSeparate, 1);
    return true;
  }
  return false;
}

void CStory::Exit(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const auto& n = m_names;
  if (name == n.p) {
    bool lastInCell = std::string_view(node.parent().name()) == n.tc;
    for (auto next = node.next_sibling(); lastInCell && next; next = next.next_sibling())
      if (next.name() == n.p || next.name() == n.tbl || next.name() == n.sdt) lastInCell = false;
    Add(node, lastInCell ? EAtomKind::eCellEnd : EAtomKind::eParagraphEnd, 1);
  } else if (name == n.tr) {
    Add(node, EAtomKind::eRowEnd, 1);
  } else if (name == n.fldSimple) {
    Add(node, EAtomKind::eFieldEnd, 1);
  }
}

void CStory::Rebuild() {
  m_atoms.clear();
  m_objectIndex.clear();
  m_end = 0;
  pugi::xml_node node = m_root.first_child();
  while (node) {
    const bool descend = Enter(node);
    if (descend && node.first_child()) {
      node = node.first_child();
      continue;
    }
    if (descend) Exit(node);
    // climb until a sibling is found, leaving each finished container
    while (node && !node.next_sibling()) {
      node = node.parent();
      if (node == m_root) {
        node = pugi::xml_node();
        break;
      }
      Exit(node);
    }
    if (node) node = node.next_sibling();
  }
  m_builtGeneration = m_part->Generation();
}

std::u16string CStory::Text(std::int32_t start, std::int32_t end) {
  std::u16string out;
  const auto& atoms = Atoms();
  size_t i = AtomAt(start);
  // a text atom that starts before start but reaches into the range
  if (i > 0 && atoms[i - 1].start < start && atoms[i - 1].start + atoms[i - 1].length > start) --i;
  bool inCode = false;
  for (; i < atoms.size() && atoms[i].start < end; ++i) {
    const SAtom& a = atoms[i];
    switch (a.kind) {
      case EAtomKind::eText: {
        std::u16string text;
        AppendUtf16(a.node.child_value(), text);
        const std::int32_t from = std::max(start - a.start, 0);
        const std::int32_t to = std::min(end - a.start, a.length);
        if (!inCode && to > from) out.append(text, static_cast<size_t>(from), static_cast<size_t>(to - from));
        break;
      }
      case EAtomKind::eInstrText: break;
      case EAtomKind::eChar: {
        const std::string_view name = a.node.name();
        if (name == m_names.tab || name == m_names.ptab) out += u'\t';
        else if (name == m_names.br) out += std::string_view(a.node.attribute(m_names.type.c_str()).value()) == "page" ? u'\f' : u'\v';
        else if (name == m_names.cr) out += u'\v';
        else if (name == m_names.noBreakHyphen) out += u'\x1E';
        else if (name == m_names.softHyphen) out += u'\x1F';
        else out += u'\x02';
        break;
      }
      case EAtomKind::eInline: if (!inCode) out += u'\x01'; break;
      case EAtomKind::eAnchor: break;
      case EAtomKind::eFieldBegin: inCode = true; break;
      case EAtomKind::eFieldSeparate: inCode = false; break;
      case EAtomKind::eFieldEnd: inCode = false; break;
      case EAtomKind::eParagraphEnd: out += u'\r'; break;
      case EAtomKind::eCellEnd:
      case EAtomKind::eRowEnd: out += u"\r\a"; break;
    }
  }
  return out;
}

void CStory::Changed(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  m_part->MarkDirty();
  MoveRanges(pos, removed, inserted);
}

void CStory::MoveRanges(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  std::erase_if(m_ranges, [](const std::weak_ptr<SRangeState>& w) { return w.expired(); });
  for (auto& weak : m_ranges) {
    auto range = weak.lock();
    for (std::int32_t* x : {&range->start, &range->end}) {
      if (removed > 0) {
        if (*x >= pos + removed) *x -= removed;
        else if (*x > pos) *x = pos;
      }
      if (inserted > 0 && *x > pos) *x += inserted;
    }
  }
}

std::shared_ptr<SRangeState> CStory::MakeRange(std::int32_t start, std::int32_t end) {
  auto range = std::make_shared<SRangeState>(SRangeState{start, end});
  m_ranges.push_back(range);
  return range;
}
