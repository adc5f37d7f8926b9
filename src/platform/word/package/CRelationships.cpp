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

}  // namespace

CRelationships::CRelationships(CPart* relsPart, PartCreator createRelsPart)
    : m_part(relsPart), m_create(std::move(createRelsPart)) {}

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
  if (CPart* part = RelsPart(false))
    for (auto node : part->Xml().document_element().children("Relationship"))
      if (id == node.attribute("Id").value()) return FromNode(node);
  return std::nullopt;
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
  auto root = part->Xml().document_element();
  // One walk without allocating: a part that gains thousands of pictures adds thousands
  // of relationships, and collecting every id for each made that quadratic in earnest.
  std::uint64_t highest = 0;
  bool wantedUsed = false;
  for (auto node : root.children("Relationship")) {
    const std::string_view used = node.attribute("Id").value();
    wantedUsed = wantedUsed || used == wanted;
    std::uint64_t n = 0;
    if (used.size() > 3 && used.size() < 19 && used.starts_with("rId") &&
        std::from_chars(used.data() + 3, used.data() + used.size(), n).ptr == used.data() + used.size())
      highest = std::max(highest, n);
  }
  const std::string id = wanted.empty() || wantedUsed ? "rId" + std::to_string(highest + 1) : wanted;
  auto node = root.append_child("Relationship");
  node.append_attribute("Id") = id.c_str();
  node.append_attribute("Type") = type.c_str();
  node.append_attribute("Target") = target.c_str();
  if (external) node.append_attribute("TargetMode") = "External";
  part->MarkDirty();
  return id;
}

void CRelationships::Remove(const std::string& id) {
  if (CPart* part = RelsPart(false)) {
    auto root = part->Xml().document_element();
    for (auto node : root.children("Relationship"))
      if (id == node.attribute("Id").value()) {
        root.remove_child(node);
        part->MarkDirty();
        return;
      }
  }
}

void CRelationships::Retarget(const std::string& id, const std::string& target) {
  if (CPart* part = RelsPart(false))
    for (auto node : part->Xml().document_element().children("Relationship"))
      if (id == node.attribute("Id").value()) {
        node.attribute("Target").set_value(target.c_str());
        part->MarkDirty();
        return;
      }
}
