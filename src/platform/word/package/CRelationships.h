#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/word/package/CPart.h"

struct SRelationship {
  std::string id;
  std::string type;
  std::string target;  // as written (relative to the source part's folder)
  bool external = false;
};

// The relationships of one source part (or of the package), a view over its
// "_rels/....rels" part. The package hands in the part if it exists and a way to create
// it, so that reading never adds an empty rels part and this class needs no package.
class CRelationships {
public:
  using PartCreator = std::function<CPart&()>;
  CRelationships(CPart* relsPart, PartCreator createRelsPart);

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
  mutable CPart* m_part;
  PartCreator m_create;
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
