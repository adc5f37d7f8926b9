#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/word/document/CWordDocument.h"

// Inserts another document's body into a story (InsertFile): blocks are copied, and
// what they refer to comes along: relationships and parts (pictures shared by
// content), styles by name (the target's definition wins; missing ones are copied
// with their basedOn/link/next chain), numbering (new ids and nsid), drawing and
// bookmark ids, namespace prefixes (renamed to the target's where the two differ); section breaks lose their header and footer
// references, and note and comment references are dropped.
class CDocumentImporter {
public:
  CDocumentImporter(CWordDocument& target, CStory& story) : m_target(target), m_story(story) {}
  // Inserts source at pos (splitting the paragraph there); returns positions inserted.
  std::int32_t Insert(CWordDocument& source, std::int32_t pos);

private:
  void Remap(pugi::xml_node block);
  std::string MapRelationship(const std::string& id);
  std::string CopyPart(CPart& part);
  std::string MapStyle(const std::string& id);
  void CopyStyles(const std::vector<std::string>& ids);
  std::string MapNumbering(const std::string& id);
  void MergeNamespaces();
  CPart* StylesPart(CWordDocument& doc, bool create);
  CPart* NumberingPart(CWordDocument& doc, bool create);

  CWordDocument& m_target;
  CStory& m_story;
  CWordDocument* m_source = nullptr;
  std::map<std::string, std::string> m_relationships, m_parts, m_styles, m_numbering;
  std::map<std::string, std::string> m_prefixes;  // the source main part's prefixes -> the story part's
  long m_bookmarkOffset = 0;
};
