#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "platform/word/document/CStoryLiveRanges.h"

class CStory;

// A field's extent in a story's atoms.
struct SFieldSpan {
  size_t begin = 0, separate = SIZE_MAX, end = 0;  // atom indexes
};

// An outermost table and the positions it covers.
struct STableSpan {
  pugi::xml_node table;
  std::int32_t start = 0, end = 0;
};

// Where a story's fields and outermost tables are, found in one walk of its atoms and
// kept until the atoms are indexed afresh. The edits in between (a placeholder filled,
// a field's result replaced) leave every mark in place and only move positions, which
// live ranges follow; so a lookup costs a logarithm however many fields and tables
// there are. Each field answer is checked against the atoms it names, and a mismatch
// walks the atoms again.
class CStoryMarks {
public:
  // Ordinals [first, last) of the fields whose begin mark lies in [start, end).
  std::pair<size_t, size_t> Fields(CStory& story, std::int32_t start, std::int32_t end);
  pugi::xml_node FieldBegin(size_t ordinal) const { return m_fields[ordinal].begin; }
  // The field whose begin mark is begin (w:fldChar or w:fldSimple); nothing when it has gone.
  std::optional<SFieldSpan> Field(CStory& story, const pugi::xml_node& begin);
  // Records that the field of begin has been given the separate mark separate at pos.
  void Separated(CStory& story, const pugi::xml_node& begin, const pugi::xml_node& separate, std::int32_t pos);

  // Ordinals [first, last) of the tables whose first position lies in [start, end).
  std::pair<size_t, size_t> Tables(CStory& story, std::int32_t start, std::int32_t end);
  STableSpan Table(size_t ordinal) const;
  // The positions of table; nothing when it is not an outermost table of the story.
  std::optional<STableSpan> Table(CStory& story, const pugi::xml_node& table);

private:
  // Live ranges hold the end of each mark (its start + 1): an insertion right after a
  // mark stays after it, one right before it moves it.
  struct SField {
    pugi::xml_node begin, separate, end;
    std::shared_ptr<CLiveRange> marks;      // begin and end marks (the end: when closed)
    std::shared_ptr<CLiveRange> separator;  // when there is one
  };
  struct STable {
    pugi::xml_node table, last;  // last: its final row, when its atoms end with one
    std::shared_ptr<CLiveRange> range;
  };

  // Finds the fields (tables) again when the story's atoms were indexed afresh since;
  // true when it did.
  bool FieldsCurrent(CStory& story);
  bool TablesCurrent(CStory& story);
  void BuildFields(CStory& story);
  void BuildTables(CStory& story);
  std::optional<SFieldSpan> Locate(CStory& story, const SField& field) const;
  bool Check(CStory& story, const STable& table) const;

  std::uint64_t m_fieldsBuilt = 0, m_tablesBuilt = 0;  // the story's indexings they were found in
  std::vector<SField> m_fields;
  std::vector<STable> m_tables;
  std::unordered_map<const void*, size_t> m_fieldOrdinals, m_tableOrdinals;
};
