#pragma once
#include "platform/word/om/CRange.h"

// The outermost tables of a story (or of a live range of it), as the story's marks know them.
class CTables : public IWordTables {
public:
  CTables(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
          std::shared_ptr<CLiveRange> range)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_range(std::move(range)) {}

  long Count() override;
  std::shared_ptr<IWordTable> Item(long index) override;

private:
  // Ordinals among the story's tables of those whose first position lies in the range.
  std::pair<size_t, size_t> Ordinals();

  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  std::shared_ptr<CLiveRange> m_range;
};

class CTable : public IWordTable {
public:
  CTable(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
         pugi::xml_node table)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_table(table) {}
  std::shared_ptr<IWordRange> Range() override;

private:
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  pugi::xml_node m_table;
};
