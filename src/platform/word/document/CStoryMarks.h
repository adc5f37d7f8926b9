#pragma once
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "platform/word/document/CStoryAtoms.h"

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

// Positions in ascending order that edits move the way they move a live range's ends,
// in blocks of fixed size whose shifts are running totals: none comes or goes, so an
// edit costs a logarithm and the blocks never split.
class CMarkPositions {
public:
  void Assign(std::vector<std::int32_t> ascending);
  size_t size() const { return m_values.size(); }
  std::int32_t operator[](size_t i) const { return m_values[i] + Shift(i / kBlock); }
  // Sets position i to value, which must keep the order.
  void Set(size_t i, std::int32_t value) { m_values[i] = value - Shift(i / kBlock); }
  // removed positions went away at pos, then inserted ones came in at pos: those inside
  // what was removed go to pos, those after it move by the difference.
  void Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // The first index whose position is at or after pos (size() if none).
  size_t FirstFrom(std::int32_t pos) const;

private:
  static constexpr size_t kBlock = 64;
  std::int32_t Shift(size_t block) const { return static_cast<std::int32_t>(m_shifts.Before(block + 1)); }

  std::vector<std::int32_t> m_values;  // from their block's shift
  CBlockSums m_shifts;                 // block b's shift is the sum through b
};

// Where a story's fields and outermost tables are, found in one walk of its atoms and
// kept until the atoms are indexed afresh. The edits in between (a placeholder filled,
// a field's result replaced) leave every mark in place and only move positions, which
// the story hands on here as it does to its live ranges, or remove fields, which stay
// as gaps; so a lookup costs a logarithm however many fields and tables there are.
// Each field answer is checked against the atoms it names, and a mismatch walks the
// atoms again.
class CStoryMarks {
public:
  // Ordinals [first, last) of the fields whose begin mark lies in [start, end).
  std::pair<size_t, size_t> Fields(CStory& story, std::int32_t start, std::int32_t end);
  // The begin mark of the field of ordinal; nothing for one that went with an edit.
  pugi::xml_node FieldBegin(size_t ordinal) const { return m_fields[ordinal].begin; }
  // How many of the ordinals [first, last) name fields still there, and the ordinal of
  // the nth (from 0) of those from first.
  size_t CountFields(size_t first, size_t last) const;
  size_t NthField(size_t first, size_t nth) const;
  // Records that the fields of begins went with an edit that patched the atoms.
  void FieldsRemoved(CStory& story, const std::vector<pugi::xml_node>& begins);
  // The field whose begin mark is begin (w:fldChar or w:fldSimple); nothing when it has gone.
  std::optional<SFieldSpan> Field(CStory& story, const pugi::xml_node& begin);
  // Records that the field of begin has been given the separate mark separate at pos.
  void Separated(CStory& story, const pugi::xml_node& begin, const pugi::xml_node& separate, std::int32_t pos);

  // Ordinals [first, last) of the tables whose first position lies in [start, end).
  std::pair<size_t, size_t> Tables(CStory& story, std::int32_t start, std::int32_t end);
  STableSpan Table(size_t ordinal) const;
  // The positions of table; nothing when it is not an outermost table of the story.
  std::optional<STableSpan> Table(CStory& story, const pugi::xml_node& table);

  // An edit of the story, as its live ranges see it.
  void Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // How many times the atoms were walked for fields or tables.
  size_t Walks() const { return m_walks; }

private:
  // Each mark is kept by the position after it (its start + 1): an insertion right
  // after a mark stays after it, one right before it moves it. A field without a
  // separate mark has a place for one, next to its end mark's.
  struct SField {
    pugi::xml_node begin, separate, end;
    std::uint32_t marks[3];  // indexes of begin, separate and end in m_fieldMarks (kNone: none)
  };
  struct STable {
    pugi::xml_node table, last;  // last: its final row, when its atoms end with one
  };
  static constexpr std::uint32_t kNone = UINT32_MAX;

  // Finds the fields (tables) again when the story's atoms were indexed afresh since;
  // true when it did.
  bool FieldsCurrent(CStory& story);
  bool TablesCurrent(CStory& story);
  void BuildFields(CStory& story);
  void BuildTables(CStory& story);
  std::optional<SFieldSpan> Locate(CStory& story, const SField& field) const;
  bool Check(CStory& story, size_t ordinal) const;

  std::uint64_t m_fieldsBuilt = 0, m_tablesBuilt = 0;  // the story's indexings they were found in
  size_t m_walks = 0;
  std::vector<SField> m_fields;
  CBlockSums m_present;  // 1 for each field still there, 0 for one that went
  std::vector<STable> m_tables;
  CMarkPositions m_fieldMarks, m_tableBounds;  // tables: start and end of each in turn
  std::unordered_map<const void*, size_t> m_fieldOrdinals, m_tableOrdinals;
};
