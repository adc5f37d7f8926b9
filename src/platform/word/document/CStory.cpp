#include "platform/word/document/CStory.h"

#include <algorithm>
#include <cstring>

#include "folio/util/CStr.h"
#include "platform/word/package/CPart.h"

namespace {

bool IsFloatingVml(const pugi::xml_node& container) {
  for (auto child : container.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view style = child.attribute("style").value();
    if (style.find("position:absolute") != std::string_view::npos) return true;
  }
  return false;
}

// A w:pict holding only shape type definitions (which other shapes refer to) draws nothing.
bool OnlyDefinesShapeTypes(const pugi::xml_node& pict) {
  for (auto child : pict.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = child.name();
    const std::size_t colon = name.find(':');
    if (name.substr(colon == std::string_view::npos ? 0 : colon + 1) != "shapetype") return false;
  }
  return true;
}

}  // namespace

CStory::CStory(CPart& part, pugi::xml_node root, EStoryType type)
    : m_part(&part), m_root(root), m_type(type), m_names(part.Xml().document_element()) {}

std::int32_t CStory::Utf16Length(std::string_view utf8) {
  std::int32_t n = 0;
  size_t i = 0;
  // Eight ASCII bytes at a time; other bytes one by one.
  for (; i + 8 <= utf8.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, utf8.data() + i, 8);
    if ((word & 0x8080808080808080ull) == 0) {
      n += 8;
      continue;
    }
    for (size_t k = i; k < i + 8; ++k) {
      const unsigned char c = static_cast<unsigned char>(utf8[k]);
      if ((c & 0xC0) != 0x80) n += c >= 0xF0 ? 2 : 1;
    }
  }
  for (; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if ((c & 0xC0) != 0x80) n += c >= 0xF0 ? 2 : 1;
  }
  return n;
}

CStory::EElement CStory::Classify(const char* name) const {
  // Almost every element carries the w: prefix: check it once, then the local name.
  const std::string& w = m_names.w;
  const char* start = name;
  if (w.empty()) {
    if (std::strchr(name, ':')) return m_names.mcAlternateContent == name ? EElement::eAlternateContent : EElement::eOther;
  } else {
    if (std::strncmp(name, w.c_str(), w.size()) != 0 || name[w.size()] != ':')
      return m_names.mcAlternateContent == name ? EElement::eAlternateContent : EElement::eOther;
    start = name + w.size() + 1;
  }
  const std::string_view local(start);
  switch (local.size()) {
    case 1:
      if (local[0] == 'p') return EElement::eP;
      if (local[0] == 'r') return EElement::eR;
      if (local[0] == 't') return EElement::eT;
      break;
    case 2:
      if (local == "tr") return EElement::eTr;
      if (local == "tc") return EElement::eTc;
      if (local == "br" || local == "cr") return EElement::eChar;
      break;
    case 3:
      if (local == "tab" || local == "sym") return EElement::eChar;
      if (local == "tbl") return EElement::eTbl;
      if (local == "sdt") return EElement::eSdt;
      if (local == "ins") return EElement::eContainer;
      break;
    case 4:
      if (local == "pict") return EElement::eObject;
      if (local == "ptab") return EElement::eChar;
      break;
    case 6:
      if (local == "object") return EElement::eObject;
      break;
    case 7:
      if (local == "drawing") return EElement::eObject;
      if (local == "fldChar") return EElement::eFldChar;
      break;
    case 8:
      if (local == "smartTag") return EElement::eContainer;
      break;
    case 9:
      if (local == "instrText") return EElement::eInstrText;
      if (local == "fldSimple") return EElement::eFldSimple;
      if (local == "hyperlink" || local == "customXml") return EElement::eContainer;
      break;
    case 10:
      if (local == "sdtContent") return EElement::eContainer;
      if (local == "softHyphen") return EElement::eChar;
      break;
    case 13:
      if (local == "noBreakHyphen") return EElement::eChar;
      break;
    case 16:
      if (local == "endnoteReference") return EElement::eChar;
      break;
    case 17:
      if (local == "footnoteReference") return EElement::eChar;
      break;
    default: break;
  }
  return EElement::eOther;
}

const CStoryAtoms& CStory::Atoms() {
  if (m_builtGeneration != m_part->Generation()) Rebuild();
  return m_atoms;
}

size_t CStory::CountObjects(EAtomKind kind, std::int32_t start, std::int32_t end) {
  const auto& atoms = Atoms();
  if (end <= start) return 0;
  return atoms.CountBefore(kind, atoms.AtomAt(end)) - atoms.CountBefore(kind, atoms.AtomAt(start));
}

pugi::xml_node CStory::NthObject(EAtomKind kind, std::int32_t start, size_t nth) {
  const auto& atoms = Atoms();
  const size_t index = atoms.NthObject(kind, atoms.CountBefore(kind, atoms.AtomAt(start)) + nth);
  return index < atoms.size() ? atoms[index].node : pugi::xml_node();
}

std::int32_t CStory::End() { return Atoms().End(); }

int CStory::FindAtom(const pugi::xml_node& node) {
  const auto& atoms = Atoms();
  const std::int64_t object = atoms.ObjectIndex(node);
  if (object >= 0) return static_cast<int>(object);
  size_t i = 0;
  for (const SAtom& atom : atoms) {
    if (atom.node == node) return static_cast<int>(i);
    ++i;
  }
  return -1;
}

size_t CStory::AtomAt(std::int32_t pos) { return Atoms().AtomAt(pos); }

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
  switch (Classify(node.name())) {
    case EElement::eT: Add(node, EAtomKind::eText, Utf16Length(node.child_value())); break;
    case EElement::eInstrText: Add(node, EAtomKind::eInstrText, Utf16Length(node.child_value())); break;
    case EElement::eChar: Add(node, EAtomKind::eChar, 1); break;
    case EElement::eFldChar: {
      const std::string_view type = node.attribute(m_names.fldCharType.c_str()).value();
      Add(node, type == "begin" ? EAtomKind::eFieldBegin : type == "separate" ? EAtomKind::eFieldSeparate : EAtomKind::eFieldEnd, 1);
      break;
    }
    case EElement::eObject:
      if (node.name() == m_names.pict && OnlyDefinesShapeTypes(node)) break;
      [[fallthrough]];
    case EElement::eAlternateContent: {
      const EAtomKind kind = ObjectKind(node);
      Add(node, kind, kind == EAtomKind::eInline ? 1 : 0);
      break;
    }
    default: break;
  }
}

bool CStory::Enter(const pugi::xml_node& node) {
  if (node.type() != pugi::node_element) return false;
  switch (Classify(node.name())) {
    case EElement::eR:
      for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) RunChild(child);
      return false;
    case EElement::eP:
    case EElement::eTbl:
    case EElement::eTr:
    case EElement::eTc:
    case EElement::eSdt:  // only its w:sdtContent holds runs
    case EElement::eContainer: return true;
    case EElement::eFldSimple:
      Add(node, EAtomKind::eFieldBegin, 1);
      Add(node, EAtomKind::eFieldSeparate, 1);
      return true;
    default: return false;
  }
}

void CStory::Exit(const pugi::xml_node& node) {
  switch (Classify(node.name())) {
    case EElement::eP: {
      bool lastInCell = Classify(node.parent().name()) == EElement::eTc;
      for (auto next = node.next_sibling(); lastInCell && next; next = next.next_sibling()) {
        const EElement kind = Classify(next.name());
        if (kind == EElement::eP || kind == EElement::eTbl || kind == EElement::eSdt) lastInCell = false;
      }
      Add(node, lastInCell ? EAtomKind::eCellEnd : EAtomKind::eParagraphEnd, 1);
      break;
    }
    case EElement::eTr: Add(node, EAtomKind::eRowEnd, 1); break;
    case EElement::eFldSimple: Add(node, EAtomKind::eFieldEnd, 1); break;
    default: break;
  }
}

void CStory::Rebuild() {
  m_atoms.Clear();
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
  ++m_indexings;
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

bool CStory::IsCurrent() const { return m_builtGeneration == m_part->Generation(); }

void CStory::Touched() {
  const bool current = IsCurrent();
  m_part->MarkDirty();
  if (current) m_builtGeneration = m_part->Generation();
}

void CStory::Changed(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  m_part->MarkDirty();
  MoveRanges(pos, removed, inserted);
}

void CStory::MoveRanges(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  m_ranges.Move(pos, removed, inserted);
  m_marks.Move(pos, removed, inserted);
}

void CStory::SpliceAtoms(size_t index, const std::vector<SAtom>& replacement) {
  m_atoms.Replace(index, replacement);
  m_builtGeneration = m_part->Generation();
}

std::shared_ptr<CLiveRange> CStory::MakeRange(std::int32_t start, std::int32_t end) {
  return std::make_shared<CLiveRange>(m_ranges, start, end);
}
