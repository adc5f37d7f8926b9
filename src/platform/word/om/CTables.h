#pragma once
#include "platform/word/om/CRange.h"

// The outermost tables of a story (or of a live range of it), computed on every call.
class CTables : public IWordTables {
public:
  CTables(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
          std::shared_ptr<CLiveRange> range)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_range(std::move(range)) {}

  long Count() override;
  std::shared_ptr<IWordTable> Item(long index) override;

  struct SSpan {
    pugi::xml_node table;
    std::int32_t start, end;
  };
  // Tables whose first position lies in the range, with the positions they cover.
  static std::vector<SSpan> Spans(CStory& story, std::int32_t start, std::int32_t end);

private:
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
