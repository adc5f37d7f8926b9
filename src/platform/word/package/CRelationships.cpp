#include "platform/word/package/CRelationships.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

SRelationship FromNode(const pugi::xml_node& node) {
  return SRelationship{node.attribute("Id").value(), node.attribute("Type").value(),
                       node.attribute("Target").value(),
                       std::string_view(node.attribute("TargetMode").value()) == "External"};
}

// N of an id "rIdN" that fits 64 bits, else 0.
std::uint64_t IdNumber(std::string_view id) {
  std::uint64_t n = 0;
  if (id.size() > 3 && id.size() < 19 && id.starts_with("rId") &&
      std::from_chars(id.data() + 3, id.data() + id.size(), n).ptr == id.data() + id.size())
    return n;
  return 0;
}

}  // namespace

CRelationships::CRelationships(CPart* relsPart, PartCreator createRelsPart, SRelationshipIndex& index)
    : m_part(relsPart), m_create(std::move(createRelsPart)), m_index(index) {}

SRelationshipIndex& CRelationships::Index(CPart& part) const {
  if (m_index.part == &part && m_index.generation == part.Generation()) return m_index;
  m_index.byId.clear();
  m_index.highest = 0;
  m_index.duplicates = false;
  for (auto node : part.Xml().document_element().children("Relationship")) {
    const std::string_view id = node.attribute("Id").value();
    // The first of equal ids is the one found.
    m_index.duplicates = !m_index.byId.emplace(id, node).second || m_index.duplicates;
    m_index.highest = std::max(m_index.highest, IdNumber(id));
  }
  m_index.part = &part;
  m_index.generation = part.Generation();
  return m_index;
}

void CRelationships::Changed(CPart& part) const {
  const bool current = m_index.part == &part && m_index.generation == part.Generation();
  part.MarkDirty();
  if (current) m_index.generation = part.Generation();
}

std::string CRelationships::RelsPartName(const std::string& sourceName) {
  const auto slash = sourceName.rfind('/');
  if (sourceName.empty()) return "_rels/.rels";
  if (slash == std::string::npos) return "_rels/" + sourceName + ".rels";
  return sourceName.substr(0, slash + 1) + "_rels/" + sourceName.substr(slash + 1) + ".rels";
}

CPart* CRelationships::RelsPart(bool create) const {
  if (!m_part && create) m_part = &m_create();
  return m_part;
}

std::vector<SRelationship> CRelationships::All() const {
  std::vector<SRelationship> out;
  if (CPart* part = RelsPart(false))
    for (auto node : part->Xml().document_element().children("Relationship")) out.push_back(FromNode(node));
  return out;
}

std::optional<SRelationship> CRelationships::Find(const std::string& id) const {
  CPart* part = RelsPart(false);
  if (!part) return std::nullopt;
  const SRelationshipIndex& index = Index(*part);
  const auto found = index.byId.find(id);
  if (found == index.byId.end()) return std::nullopt;
  return FromNode(found->second);
}

std::optional<SRelationship> CRelationships::FindByType(const std::string& type) const {
  if (CPart* part = RelsPart(false))
    for (auto node : part->Xml().document_element().children("Relationship"))
      if (type == node.attribute("Type").value()) return FromNode(node);
  return std::nullopt;
}

std::string CRelationships::Add(const std::string& type, const std::string& target, bool external,
                                const std::string& wanted) {
  CPart* part = RelsPart(true);
  SRelationshipIndex& index = Index(*part);
  const std::string id =
      wanted.empty() || index.byId.count(wanted) ? "rId" + std::to_string(index.highest + 1) : wanted;
  auto node = part->Xml().document_element().append_child("Relationship");
  node.append_attribute("Id") = id.c_str();
  node.append_attribute("Type") = type.c_str();
  node.append_attribute("Target") = target.c_str();
  if (external) node.append_attribute("TargetMode") = "External";
  index.byId.emplace(id, node);
  index.highest = std::max(index.highest, IdNumber(id));
  Changed(*part);
  return id;
}

void CRelationships::Remove(const std::string& id) {
  CPart* part = RelsPart(false);
  if (!part) return;
  SRelationshipIndex& index = Index(*part);
  const auto found = index.byId.find(id);
  if (found == index.byId.end()) return;
  part->Xml().document_element().remove_child(found->second);
  index.byId.erase(found);
  // A later element of the same id, which only a damaged part holds, is the one now found.
  if (index.duplicates)
    for (auto node : part->Xml().document_element().children("Relationship"))
      if (id == node.attribute("Id").value()) {
        index.byId.emplace(id, node);
        break;
      }
  Changed(*part);
}

void CRelationships::Retarget(const std::string& id, const std::string& target) {
  CPart* part = RelsPart(false);
  if (!part) return;
  const SRelationshipIndex& index = Index(*part);
  const auto found = index.byId.find(id);
  if (found == index.byId.end()) return;
  found->second.attribute("Target").set_value(target.c_str());
  Changed(*part);
}
