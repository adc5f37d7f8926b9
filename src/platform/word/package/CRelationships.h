#pragma once
#include <functional>
#include <optional>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/word/package/CPart.h"

struct SRelationship {
  std::string id;
  std::string type;
  std::string target;  // as written (relative to the source part's folder)
  bool external = false;
};

// Ids of one rels part to their elements, as they were at the part's generation: a
// part that gains thousands of pictures gains thousands of relationships, and walking
// them all for each new one made a picture report quadratic.
struct SRelationshipIndex {
  const CPart* part = nullptr;
  std::uint64_t generation = 0;
  std::unordered_map<std::string, pugi::xml_node> byId;
  std::uint64_t highest = 0;  // of the ids "rIdN"
  bool duplicates = false;    // an id given twice, which only a damaged part does
};

// The relationships of one source part (or of the package), a view over its
// "_rels/....rels" part. The package hands in the part if it exists, a way to create it
// (so that reading never adds an empty rels part and this class needs no package) and
// the index it keeps for that part.
class CRelationships {
public:
  using PartCreator = std::function<CPart&()>;
  CRelationships(CPart* relsPart, PartCreator createRelsPart, SRelationshipIndex& index);

  std::vector<SRelationship> All() const;
  std::optional<SRelationship> Find(const std::string& id) const;
  // The first relationship of that type.
  std::optional<SRelationship> FindByType(const std::string& type) const;
  // Adds a relationship and returns its id: the one given, or a new "rIdN" unused in this part.
  std::string Add(const std::string& type, const std::string& target, bool external = false,
                  const std::string& id = {});
  void Remove(const std::string& id);
  // Points relationship id at another target.
  void Retarget(const std::string& id, const std::string& target);
  // Name of the rels part for a source part ("word/_rels/document.xml.rels").
  static std::string RelsPartName(const std::string& sourceName);

private:
  CPart* RelsPart(bool create) const;
  // The index of part, rebuilt when the part changed since it was made.
  SRelationshipIndex& Index(CPart& part) const;
  // Marks part changed by this view, whose edit the index already holds.
  void Changed(CPart& part) const;
  mutable CPart* m_part;
  PartCreator m_create;
  SRelationshipIndex& m_index;
};

namespace RelType {
constexpr const char* kOfficeDocument = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* kImage = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr const char* kOleObject = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/oleObject";
constexpr const char* kPackage = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/package";
constexpr const char* kControl = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/control";
constexpr const char* kActiveXBinary = "http://schemas.microsoft.com/office/2006/relationships/activeXControlBinary";
constexpr const char* kHeader = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
constexpr const char* kFooter = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";
constexpr const char* kStyles = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char* kNumbering = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering";
constexpr const char* kSettings = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings";
constexpr const char* kHyperlink = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink";
}  // namespace RelType
