#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/word/package/CPart.h"
#include "platform/word/package/CRelationships.h"
#include "platform/word/zip/CZipArchive.h"
#include "platform/word/zip/CZipWriter.h"

// An Open Packaging Conventions package held in memory: parts by name, their
// content types and relationships.
class CPackage {
public:
  // Reads a package; CComError (invalid data) for a damaged or hostile archive.
  static std::unique_ptr<CPackage> FromBytes(std::string bytes, const SZipLimits& limits = {});
  // The same over bytes that owner keeps alive (a file read in). XML parts are inflated
  // now; other parts when first used, and unchanged ones are saved without inflating.
  static std::unique_ptr<CPackage> Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                        const SZipLimits& limits = {});
  CPackage(const CPackage&) = delete;
  CPackage& operator=(const CPackage&) = delete;

  // Part by name without leading slash, compared ignoring ASCII case; null if absent.
  CPart* FindPart(const std::string& name);
  // Adds a part (replacing one of the same name) and registers its content type.
  CPart& AddPart(const std::string& name, const std::string& contentType, std::string bytes);
  void RemovePart(const std::string& name);
  // Gives part another name and content type, keeping the object, and points every
  // internal relationship that led to it at the new name.
  void RenamePart(CPart& part, const std::string& name, const std::string& contentType);
  std::vector<CPart*> Parts();

  // The relationships of source (null: of the package); the rels part is created on the first addition.
  CRelationships Relationships(const CPart* source);
  // The part an internal relationship of source points to; null for a missing,
  // external or escaping target.
  CPart* RelatedPart(const CPart& source, const std::string& id);
  // Part name for a target relative to source's folder, or empty when it leaves the package.
  static std::string ResolveTarget(const std::string& sourceName, const std::string& target);
  // Target text for part name as seen from source's folder.
  static std::string RelativeTarget(const std::string& sourceName, const std::string& partName);
  // An unused name "prefix" + n + extension, n counting from 1 the first time and from
  // the last number given after that.
  std::string UniquePartName(const std::string& prefix, const std::string& extension);
  // The main document part (officeDocument relationship of the package).
  CPart* MainPart();

  // The archive bytes: [Content_Types].xml first, then the parts in their order.
  std::string Save();
  // The same archive written to path.
  void SaveToFile(const std::string& path);

private:
  CPackage() = default;
  std::string ContentTypeFor(const std::string& name) const;
  std::vector<SZipSource> Members();
  void RegisterContentType(const std::string& name, const std::string& contentType);
  void ForgetOverride(const std::string& name);

  void ReadContentTypes(const std::string& bytes);

  std::shared_ptr<CZipArchive> m_archive;
  std::vector<std::unique_ptr<CPart>> m_parts;
  std::map<std::string, CPart*> m_byName;  // lower-cased names
  std::map<std::string, SRelationshipIndex> m_relationshipIndexes;  // by rels part name
  std::map<std::string, size_t> m_nextPartNumber;  // prefix and extension -> next n
  std::map<std::string, std::string> m_defaults;   // extension (lower case) -> type
  std::map<std::string, std::string> m_overrides;  // lower-cased part name -> type
  std::unique_ptr<pugi::xml_document> m_contentTypes;
  bool m_contentTypesDirty = false;
  std::string m_contentTypesBytes;
};
