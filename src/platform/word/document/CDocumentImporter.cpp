#include "platform/word/document/CDocumentImporter.h"

#include <cstring>
#include <deque>
#include <random>
#include <set>

#include "platform/com/CComError.h"
#include "platform/word/document/CStoryEditor.h"

namespace {

std::string_view Local(const char* name) {
  const char* colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

// Calls f on every element below root, without recursion.
template <typename F>
void ForEachElement(pugi::xml_node root, F&& f) {
  for (pugi::xml_node n = root; n;) {
    pugi::xml_node next = n.first_child();
    if (n.type() == pugi::node_element) f(n);
    if (next) {
      n = next;
      continue;
    }
    while (n && n != root && !n.next_sibling()) n = n.parent();
    if (!n || n == root) break;
    n = n.next_sibling();
  }
}

pugi::xml_node ChildByLocal(pugi::xml_node node, std::string_view local) {
  for (auto c : node.children())
    if (Local(c.name()) == local) return c;
  return {};
}

pugi::xml_attribute AttrByLocal(pugi::xml_node node, std::string_view local) {
  for (auto a : node.attributes())
    if (Local(a.name()) == local) return a;
  return {};
}

using PrefixMap = std::map<std::string, std::string>;

// The namespaces root declares, by prefix ("" for the default namespace).
PrefixMap Declarations(pugi::xml_node root) {
  PrefixMap declared;
  for (auto a : root.attributes()) {
    if (std::strncmp(a.name(), "xmlns:", 6) == 0) declared[a.name() + 6] = a.value();
    else if (std::strcmp(a.name(), "xmlns") == 0) declared[""] = a.value();
  }
  return declared;
}

// Maps each prefix the source root declares to the prefix the target root uses for the
// same namespace (Strict and Transitional names count as one), declaring on the target
// what it lacks under a prefix that is free there.
PrefixMap MapPrefixes(pugi::xml_node sourceRoot, pugi::xml_node targetRoot) {
  PrefixMap target = Declarations(targetRoot), prefixOf, map;
  // A Transitional target gets Transitional declarations, whatever the source used.
  const char* colon = std::strchr(targetRoot.name(), ':');
  const auto rootNs = target.find(colon ? std::string(targetRoot.name(), colon) : std::string());
  const bool strict = rootNs != target.end() && CXmlNames::Transitional(rootNs->second) != rootNs->second;
  for (const auto& [prefix, ns] : target)
    if (!prefix.empty()) prefixOf.emplace(CXmlNames::Transitional(ns), prefix);
  for (const auto& [prefix, ns] : Declarations(sourceRoot)) {
    if (auto it = prefixOf.find(CXmlNames::Transitional(ns)); it != prefixOf.end()) {
      map[prefix] = it->second;
      continue;
    }
    // The engine reads an undeclared namespace under its usual prefix.
    std::string chosen = CXmlNames::UsualPrefix(ns);
    if (chosen.empty() || target.count(chosen)) chosen = prefix;
    for (int k = 1; chosen.empty() || target.count(chosen); ++k) chosen = "ns" + std::to_string(k);
    const std::string declared = strict ? ns : CXmlNames::Transitional(ns);
    targetRoot.append_attribute(("xmlns:" + chosen).c_str()) = declared.c_str();
    target[chosen] = declared;
    prefixOf[CXmlNames::Transitional(ns)] = chosen;
    map[prefix] = chosen;
  }
  return map;
}

// Renames the prefixes of the elements and attributes below block (and of the prefix
// lists that mc:Choice/@Requires and mc:Ignorable hold) by map. Prefixes the block
// declares again itself keep their meaning there and are left alone.
void RenamePrefixes(pugi::xml_node block, const PrefixMap& map) {
  std::set<std::string> redeclared;
  ForEachElement(block, [&](pugi::xml_node e) {
    for (auto a : e.attributes()) {
      if (std::strncmp(a.name(), "xmlns:", 6) == 0) redeclared.insert(a.name() + 6);
      else if (std::strcmp(a.name(), "xmlns") == 0) redeclared.insert("");
    }
  });
  auto mapped = [&](const std::string& prefix) -> const std::string* {
    if (prefix == "xml" || prefix == "xmlns" || redeclared.count(prefix)) return nullptr;
    auto it = map.find(prefix);
    return it == map.end() || it->second == prefix ? nullptr : &it->second;
  };
  auto rename = [&](const char* name, bool element) -> std::string {
    const char* colon = std::strchr(name, ':');
    if (!colon && !element) return {};  // an unprefixed attribute is in no namespace
    const std::string* to = mapped(colon ? std::string(name, colon) : std::string());
    if (!to) return {};
    const char* local = colon ? colon + 1 : name;
    return to->empty() ? std::string(local) : *to + ":" + local;
  };
  ForEachElement(block, [&](pugi::xml_node e) {
    if (const std::string name = rename(e.name(), true); !name.empty()) e.set_name(name.c_str());
    for (auto a : e.attributes()) {
      if (std::strncmp(a.name(), "xmlns", 5) == 0) continue;
      if (const std::string name = rename(a.name(), false); !name.empty()) a.set_name(name.c_str());
      const std::string_view local = Local(a.name());
      if (local != "Requires" && local != "Ignorable") continue;
      std::string tokens, token;
      for (const char c : std::string(a.value()) + " ") {
        if (c != ' ') {
          token += c;
          continue;
        }
        if (token.empty()) continue;
        const std::string* to = mapped(token);
        tokens += (tokens.empty() ? "" : " ") + (to ? *to : token);
        token.clear();
      }
      a.set_value(tokens.c_str());
    }
  });
}

constexpr const char* kStylesType = "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml";
constexpr const char* kNumberingType = "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";

}  // namespace

CPart* CDocumentImporter::StylesPart(CWordDocument& doc, bool create) {
  auto rel = doc.Package().Relationships(&doc.MainPart()).FindByType(RelType::kStyles);
  if (rel) return doc.Package().RelatedPart(doc.MainPart(), rel->id);
  if (!create) return nullptr;
  CPart& part = doc.Package().AddPart(doc.Package().UniquePartName("word/styles", ".xml"), kStylesType,
                                      std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                                                  "<w:styles xmlns:w=\"") + Ns::kW + "\"/>");
  doc.Package().Relationships(&doc.MainPart()).Add(RelType::kStyles, CPackage::RelativeTarget("word/document.xml", part.Name()));
  return &part;
}

CPart* CDocumentImporter::NumberingPart(CWordDocument& doc, bool create) {
  auto rel = doc.Package().Relationships(&doc.MainPart()).FindByType(RelType::kNumbering);
  if (rel) return doc.Package().RelatedPart(doc.MainPart(), rel->id);
  if (!create) return nullptr;
  CPart& part = doc.Package().AddPart(doc.Package().UniquePartName("word/numbering", ".xml"), kNumberingType,
                                      std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                                                  "<w:numbering xmlns:w=\"") + Ns::kW + "\"/>");
  doc.Package().Relationships(&doc.MainPart()).Add(RelType::kNumbering, CPackage::RelativeTarget("word/document.xml", part.Name()));
  return &part;
}

std::int32_t CDocumentImporter::Insert(CWordDocument& source, std::int32_t pos) {
  m_source = &source;
  const CXmlNames& n = m_story.Names();
  CStoryEditor editor(m_story);
  if (pos >= m_story.End()) editor.CloseFinalTable();
  pos = std::clamp(pos, 0, editor.LastInsertPosition());
  editor.SplitAt(pos);
  const std::int32_t oldEnd = m_story.End();
  const auto& atoms = m_story.Atoms();
  const size_t index = m_story.AtomAt(pos);
  if (index >= atoms.size()) throw CComError(E_FAIL, u"a document can only be inserted into a paragraph");
  const SAtom& at = atoms[index];
  pugi::xml_node paragraph = at.node;
  pugi::xml_node top = at.node;  // the paragraph's child that holds pos
  while (paragraph && n.p != paragraph.name()) {
    top = paragraph;
    paragraph = paragraph.parent();
  }
  if (!paragraph) throw CComError(E_FAIL, u"a document can only be inserted into a paragraph");

  // Content before pos stays in a paragraph of its own.
  pugi::xml_node container = paragraph.parent();
  pugi::xml_node before = container.insert_child_before(n.p.c_str(), paragraph);
  if (auto pPr = paragraph.child(n.pPr.c_str())) {
    before.append_copy(pPr).remove_child(n.sectPr.c_str());
  }
  for (pugi::xml_node child = paragraph.first_child(); child && child != top;) {
    pugi::xml_node moving = child;
    child = child.next_sibling();
    if (n.pPr != moving.name()) before.append_move(moving);
  }

  auto sourceRoot = source.MainPart().Xml().document_element();
  const CXmlNames sn(sourceRoot);
  pugi::xml_node sourceBody = sourceRoot.child(sn.body.c_str());
  // Bookmark ids continue after the target's.
  long highest = -1;
  ForEachElement(m_target.MainPart().Xml().document_element(), [&](pugi::xml_node e) {
    if (Local(e.name()) == "bookmarkStart") highest = std::max<long>(highest, AttrByLocal(e, "id").as_int());
  });
  m_bookmarkOffset = highest + 1;

  m_prefixes = MapPrefixes(sourceRoot, m_story.Part().Xml().document_element());
  std::vector<pugi::xml_node> copies;
  for (auto block : sourceBody.children()) {
    if (block.type() != pugi::node_element || sn.sectPr == block.name()) continue;
    copies.push_back(container.insert_copy_before(block, paragraph));
    RenamePrefixes(copies.back(), m_prefixes);
  }
  bool beforeEmpty = true;
  for (auto child : before.children())
    if (n.pPr != child.name()) beforeEmpty = false;
  if (beforeEmpty && !copies.empty() && n.p == copies.front().name()) container.remove_child(before);

  for (auto copy : copies) Remap(copy);
  MergeNamespaces();
  m_story.Part().MarkDirty();
  const std::int32_t inserted = m_story.End() - oldEnd;
  m_story.MoveRanges(pos, 0, inserted);
  return inserted;
}

void CDocumentImporter::Remap(pugi::xml_node block) {
  // The block's prefixes are the story part's by now.
  const CXmlNames sn(m_source->MainPart().Xml().document_element());
  const auto r = m_prefixes.find(sn.r);
  const std::string relPrefix = (r == m_prefixes.end() ? sn.r : r->second) + ":";
  std::vector<pugi::xml_node> drop;
  std::vector<std::string> styleIds;
  ForEachElement(block, [&](pugi::xml_node e) {
    const std::string_view local = Local(e.name());
    for (auto a : e.attributes())
      if (std::strncmp(a.name(), relPrefix.c_str(), relPrefix.size()) == 0) {
        const std::string mapped = MapRelationship(a.value());
        a.set_value(mapped.c_str());
      }
    if (local == "docPr") AttrByLocal(e, "id").set_value(m_target.NextDrawingId());
    else if (local == "bookmarkStart" || local == "bookmarkEnd") {
      auto id = AttrByLocal(e, "id");
      id.set_value(id.as_int() + m_bookmarkOffset);
    } else if (local == "pStyle" || local == "rStyle" || local == "tblStyle") {
      styleIds.push_back(AttrByLocal(e, "val").value());
    } else if (local == "numId" && Local(e.parent().name()) == "numPr") {
      auto val = AttrByLocal(e, "val");
      const std::string mapped = MapNumbering(val.value());
      val.set_value(mapped.c_str());
    } else if (local == "headerReference" || local == "footerReference" || local == "footnoteReference" ||
               local == "endnoteReference" || local == "commentReference" || local == "commentRangeStart" ||
               local == "commentRangeEnd") {
      drop.push_back(e);
    }
  });
  for (auto e : drop) e.parent().remove_child(e);
  CopyStyles(styleIds);
  ForEachElement(block, [&](pugi::xml_node e) {
    const std::string_view local = Local(e.name());
    if (local == "pStyle" || local == "rStyle" || local == "tblStyle") {
      auto val = AttrByLocal(e, "val");
      const std::string mapped = MapStyle(val.value());
      val.set_value(mapped.c_str());
    }
  });
}

std::string CDocumentImporter::MapRelationship(const std::string& id) {
  if (auto it = m_relationships.find(id); it != m_relationships.end()) return it->second;
  CPackage& source = m_source->Package();
  auto rel = source.Relationships(&m_source->MainPart()).Find(id);
  std::string mapped;
  CRelationships targetRels = m_target.Package().Relationships(&m_story.Part());
  if (!rel) mapped = id;
  else if (rel->external) mapped = targetRels.Add(rel->type, rel->target, true);
  else if (CPart* part = source.RelatedPart(m_source->MainPart(), id))
    mapped = targetRels.Add(rel->type, CPackage::RelativeTarget(m_story.Part().Name(), CopyPart(*part)));
  else mapped = id;
  m_relationships[id] = mapped;
  return mapped;
}

std::string CDocumentImporter::CopyPart(CPart& part) {
  if (auto it = m_parts.find(part.Name()); it != m_parts.end()) return it->second;
  CPackage& target = m_target.Package();
  if (part.ContentType().starts_with("image/"))
    for (CPart* existing : target.Parts())
      if (existing->ContentType() == part.ContentType() && existing->Bytes() == part.Bytes())
        return m_parts[part.Name()] = existing->Name();
  auto copyOf = [&](CPart& original) {
    // "word/embeddings/oleObject3.bin" becomes the next free "word/embeddings/oleObjectN.bin".
    const std::string& name = original.Name();
    const size_t dot = name.rfind('.');
    std::string stem = name.substr(0, dot == std::string::npos ? name.size() : dot);
    while (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.back()))) stem.pop_back();
    const std::string copyName = target.UniquePartName(stem, dot == std::string::npos ? "" : name.substr(dot));
    target.AddPart(copyName, original.ContentType(), original.Bytes());
    m_parts[name] = copyName;
    return copyName;
  };
  const std::string copyName = copyOf(part);
  // The part's own relationships (a control's binary data) come along, one level deep,
  // under their ids, which the part's XML uses.
  for (const auto& rel : m_source->Package().Relationships(&part).All()) {
    if (rel.external) continue;
    CPart* inner = m_source->Package().RelatedPart(part, rel.id);
    if (!inner) continue;
    auto known = m_parts.find(inner->Name());
    const std::string innerCopy = known != m_parts.end() ? known->second : copyOf(*inner);
    target.Relationships(target.FindPart(copyName)).Add(rel.type, CPackage::RelativeTarget(copyName, innerCopy), false, rel.id);
  }
  return copyName;
}

void CDocumentImporter::CopyStyles(const std::vector<std::string>& ids) {
  CPart* sourceStyles = StylesPart(*m_source, false);
  if (!sourceStyles) return;
  auto sourceRoot = sourceStyles->Xml().document_element();
  std::map<std::string, pugi::xml_node> sourceById;
  for (auto style : sourceRoot.children())
    if (Local(style.name()) == "style") sourceById[AttrByLocal(style, "styleId").value()] = style;
  CPart* targetStyles = StylesPart(m_target, true);
  auto targetRoot = targetStyles->Xml().document_element();
  const PrefixMap prefixes = MapPrefixes(sourceRoot, targetRoot);
  std::map<std::string, std::string> targetByName;
  std::set<std::string> targetIds;
  for (auto style : targetRoot.children())
    if (Local(style.name()) == "style") {
      targetIds.insert(AttrByLocal(style, "styleId").value());
      targetByName[AttrByLocal(ChildByLocal(style, "name"), "val").value()] = AttrByLocal(style, "styleId").value();
    }
  std::deque<std::string> queue(ids.begin(), ids.end());
  std::vector<pugi::xml_node> copied;
  while (!queue.empty()) {
    const std::string id = queue.front();
    queue.pop_front();
    if (m_styles.count(id)) continue;
    auto found = sourceById.find(id);
    if (found == sourceById.end()) {
      m_styles[id] = id;
      continue;
    }
    const std::string name = AttrByLocal(ChildByLocal(found->second, "name"), "val").value();
    if (auto same = targetByName.find(name); same != targetByName.end()) {
      m_styles[id] = same->second;  // the target's definition wins
      continue;
    }
    std::string newId = id;
    for (int k = 1; targetIds.count(newId); ++k) newId = id + std::to_string(k);
    targetIds.insert(newId);
    m_styles[id] = newId;
    pugi::xml_node copy = targetRoot.append_copy(found->second);
    RenamePrefixes(copy, prefixes);
    AttrByLocal(copy, "styleId").set_value(newId.c_str());
    if (auto isDefault = AttrByLocal(copy, "default")) copy.remove_attribute(isDefault);
    copied.push_back(copy);
    for (const char* link : {"basedOn", "link", "next"})
      if (auto ref = ChildByLocal(copy, link)) queue.push_back(AttrByLocal(ref, "val").value());
  }
  for (auto copy : copied)
    for (const char* link : {"basedOn", "link", "next"})
      if (auto ref = ChildByLocal(copy, link)) {
        auto val = AttrByLocal(ref, "val");
        const std::string mapped = MapStyle(val.value());
        val.set_value(mapped.c_str());
      }
  if (!copied.empty()) targetStyles->MarkDirty();
}

std::string CDocumentImporter::MapStyle(const std::string& id) {
  auto it = m_styles.find(id);
  return it == m_styles.end() ? id : it->second;
}

std::string CDocumentImporter::MapNumbering(const std::string& id) {
  if (id == "0") return id;
  if (auto it = m_numbering.find(id); it != m_numbering.end()) return it->second;
  CPart* sourcePart = NumberingPart(*m_source, false);
  if (!sourcePart) return id;
  auto sourceRoot = sourcePart->Xml().document_element();
  pugi::xml_node num, abstractNum;
  for (auto c : sourceRoot.children())
    if (Local(c.name()) == "num" && id == AttrByLocal(c, "numId").value()) num = c;
  if (!num) return id;
  const std::string abstractId = AttrByLocal(ChildByLocal(num, "abstractNumId"), "val").value();
  for (auto c : sourceRoot.children())
    if (Local(c.name()) == "abstractNum" && abstractId == AttrByLocal(c, "abstractNumId").value()) abstractNum = c;

  CPart* targetPart = NumberingPart(m_target, true);
  auto targetRoot = targetPart->Xml().document_element();
  const PrefixMap prefixes = MapPrefixes(sourceRoot, targetRoot);
  long maxAbstract = -1, maxNum = 0;
  pugi::xml_node firstNum;
  for (auto c : targetRoot.children()) {
    if (Local(c.name()) == "abstractNum") maxAbstract = std::max<long>(maxAbstract, AttrByLocal(c, "abstractNumId").as_int());
    if (Local(c.name()) == "num") {
      maxNum = std::max<long>(maxNum, AttrByLocal(c, "numId").as_int());
      if (!firstNum) firstNum = c;
    }
  }
  const std::string newAbstract = std::to_string(maxAbstract + 1), newNum = std::to_string(maxNum + 1);
  if (abstractNum) {
    // abstractNum elements come before num elements.
    pugi::xml_node copy = firstNum ? targetRoot.insert_copy_before(abstractNum, firstNum) : targetRoot.append_copy(abstractNum);
    RenamePrefixes(copy, prefixes);
    AttrByLocal(copy, "abstractNumId").set_value(newAbstract.c_str());
    if (auto nsid = ChildByLocal(copy, "nsid")) {
      static std::mt19937 random(std::random_device{}());
      char hex[9];
      std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(random()));
      AttrByLocal(nsid, "val").set_value(hex);
    }
  }
  pugi::xml_node copy = targetRoot.append_copy(num);
  RenamePrefixes(copy, prefixes);
  AttrByLocal(copy, "numId").set_value(newNum.c_str());
  if (auto ref = ChildByLocal(copy, "abstractNumId")) AttrByLocal(ref, "val").set_value(newAbstract.c_str());
  targetPart->MarkDirty();
  m_numbering[id] = newNum;
  return newNum;
}

void CDocumentImporter::MergeNamespaces() {
  // Declarations came with the prefix map; what remains is to keep ignoring what the
  // source ignored, under the target's prefixes.
  auto sourceRoot = m_source->MainPart().Xml().document_element();
  auto targetRoot = m_story.Part().Xml().document_element();
  const CXmlNames sn(sourceRoot), tn(targetRoot);
  const auto mc = m_prefixes.find(sn.mc);
  const std::string sourceName = sn.mc + ":Ignorable";
  const std::string targetName = (mc == m_prefixes.end() ? tn.mc : mc->second) + ":Ignorable";
  auto extra = sourceRoot.attribute(sourceName.c_str());
  if (!extra) return;
  std::string tokens = targetRoot.attribute(targetName.c_str()).value();
  std::string word;
  for (char c : std::string(extra.value()) + " ") {
    if (c != ' ') {
      word += c;
      continue;
    }
    if (auto it = m_prefixes.find(word); it != m_prefixes.end()) word = it->second;
    if (!word.empty() && (" " + tokens + " ").find(" " + word + " ") == std::string::npos)
      tokens += (tokens.empty() ? "" : " ") + word;
    word.clear();
  }
  if (!targetRoot.attribute(targetName.c_str())) targetRoot.append_attribute(targetName.c_str());
  targetRoot.attribute(targetName.c_str()).set_value(tokens.c_str());
}
