#include "platform/word/document/CStoryMarks.h"

#include <algorithm>

#include "platform/word/document/CStory.h"

namespace {

// The first of count ordinals whose position is at or after pos (positions ascending).
template <typename Position>
size_t FirstFrom(size_t count, std::int32_t pos, Position position) {
  size_t low = 0, high = count;
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    if (position(mid) < pos) low = mid + 1;
    else high = mid;
  }
  return low;
}

// Index of the mark of kind whose node is node and which ends at after, or SIZE_MAX.
size_t MarkEndingAt(const CStoryAtoms& atoms, std::int32_t after, const pugi::xml_node& node, EAtomKind kind) {
  const std::int32_t pos = after - 1;
  size_t i = atoms.AtomAt(pos);
  while (i < atoms.size() && atoms[i].start == pos && atoms[i].length == 0) ++i;
  if (i >= atoms.size()) return SIZE_MAX;
  const SAtom atom = atoms[i];
  return atom.start == pos && atom.kind == kind && atom.node == node ? i : SIZE_MAX;
}

// The outermost table of each ancestor, each found once: nested tables many levels
// deep cost their number, not its square.
class COutermostTables {
public:
  explicit COutermostTables(CStory& story) : m_story(story) {}

  pugi::xml_node Of(const pugi::xml_node& node) {
    std::vector<pugi::xml_node> path;
    pugi::xml_node outer;
    for (pugi::xml_node p = node.parent(); p && p != m_story.Root(); p = p.parent()) {
      const auto known = m_outer.find(p.internal_object());
      if (known != m_outer.end()) {
        outer = known->second;
        break;
      }
      path.push_back(p);
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
      if (!outer && m_story.Names().tbl == it->name()) outer = *it;
      m_outer.emplace(it->internal_object(), outer);
    }
    return outer;
  }

private:
  CStory& m_story;
  std::unordered_map<const void*, pugi::xml_node> m_outer;
};

}  // namespace

void CMarkPositions::Assign(std::vector<std::int32_t> ascending) {
  m_values = std::move(ascending);
  m_shifts.Build(std::vector<std::int64_t>((m_values.size() + kBlock - 1) / kBlock, 0));
}

size_t CMarkPositions::FirstFrom(std::int32_t pos) const {
  return ::FirstFrom(m_values.size(), pos, [this](size_t i) { return (*this)[i]; });
}

void CMarkPositions::Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  if (m_values.empty() || (removed <= 0 && inserted <= 0)) return;
  removed = std::max(removed, 0);
  inserted = std::max(inserted, 0);
  size_t i = FirstFrom(pos + 1);
  for (; i < m_values.size() && (*this)[i] <= pos + removed; ++i) Set(i, pos);
  if (i >= m_values.size() || inserted == removed) return;
  // the rest of i's block one by one, the blocks after it by their running shift
  const size_t block = i / kBlock;
  for (; i < std::min(m_values.size(), (block + 1) * kBlock); ++i) m_values[i] += inserted - removed;
  if ((block + 1) * kBlock < m_values.size()) m_shifts.Add(block + 1, inserted - removed);
}

bool CStoryMarks::FieldsCurrent(CStory& story) {
  story.Atoms();
  if (m_fieldsBuilt == story.Indexings()) return false;
  BuildFields(story);
  return true;
}

bool CStoryMarks::TablesCurrent(CStory& story) {
  story.Atoms();
  if (m_tablesBuilt == story.Indexings()) return false;
  BuildTables(story);
  return true;
}

void CStoryMarks::BuildFields(CStory& story) {
  m_fields.clear();
  m_fieldOrdinals.clear();
  // Fields pair up the way Word nests them: an end closes the innermost open field,
  // a separate belongs to it, unmatched ones count for nothing. Marks come in order,
  // so their positions are ascending.
  std::vector<size_t> open;
  std::vector<std::int32_t> positions;
  const auto add = [&positions](std::int32_t after) {
    positions.push_back(after);
    return static_cast<std::uint32_t>(positions.size() - 1);
  };
  for (const SAtom& atom : story.Atoms()) {
    switch (atom.kind) {
      case EAtomKind::eFieldBegin:
        open.push_back(m_fields.size());
        m_fields.push_back({atom.node, {}, {}, {add(atom.start + 1), kNone, kNone}});
        break;
      case EAtomKind::eFieldSeparate:
        if (!open.empty()) {
          m_fields[open.back()].separate = atom.node;
          m_fields[open.back()].marks[1] = add(atom.start + 1);
        }
        break;
      case EAtomKind::eFieldEnd:
        if (!open.empty()) {
          SField& field = m_fields[open.back()];
          if (field.marks[1] == kNone) field.marks[1] = add(atom.start + 1);  // the place for a separate mark
          field.end = atom.node;
          field.marks[2] = add(atom.start + 1);
          open.pop_back();
        }
        break;
      default: break;
    }
  }
  m_fieldMarks.Assign(std::move(positions));
  m_present.Build(std::vector<std::int64_t>(m_fields.size(), 1));
  for (size_t k = 0; k < m_fields.size(); ++k) m_fieldOrdinals.emplace(m_fields[k].begin.internal_object(), k);
  m_fieldsBuilt = story.Indexings();
  ++m_walks;
}

void CStoryMarks::BuildTables(CStory& story) {
  m_tables.clear();
  m_tableOrdinals.clear();
  std::vector<std::int32_t> bounds;
  COutermostTables outermost(story);
  pugi::xml_node parent, outer;
  for (const SAtom& atom : story.Atoms()) {
    if (atom.node.parent() != parent) {
      parent = atom.node.parent();
      outer = outermost.Of(atom.node);
    }
    if (!outer) continue;
    if (m_tables.empty() || m_tables.back().table != outer) {
      m_tableOrdinals.emplace(outer.internal_object(), m_tables.size());
      m_tables.push_back({outer, {}});
      bounds.push_back(atom.start);
      bounds.push_back(atom.start);
    }
    bounds.back() = atom.start + atom.length;
    const bool rowEnd = atom.kind == EAtomKind::eRowEnd && atom.length == 1;
    m_tables.back().last = rowEnd ? atom.node : pugi::xml_node();
  }
  m_tableBounds.Assign(std::move(bounds));
  m_tablesBuilt = story.Indexings();
  ++m_walks;
}

void CStoryMarks::Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  m_fieldMarks.Move(pos, removed, inserted);
  m_tableBounds.Move(pos, removed, inserted);
}

std::pair<size_t, size_t> CStoryMarks::Fields(CStory& story, std::int32_t start, std::int32_t end) {
  FieldsCurrent(story);
  const auto begin = [this](size_t k) { return m_fieldMarks[m_fields[k].marks[0]] - 1; };
  const size_t first = FirstFrom(m_fields.size(), start, begin);
  return {first, std::max(first, FirstFrom(m_fields.size(), end, begin))};
}

size_t CStoryMarks::CountFields(size_t first, size_t last) const {
  return static_cast<size_t>(m_present.Before(last) - m_present.Before(first));
}

size_t CStoryMarks::NthField(size_t first, size_t nth) const {
  std::int64_t target = m_present.Before(first) + static_cast<std::int64_t>(nth);
  return m_present.Find(target);
}

void CStoryMarks::FieldsRemoved(CStory& story, const std::vector<pugi::xml_node>& begins) {
  if (m_fieldsBuilt != story.Indexings()) return;  // found afresh when next asked
  for (const pugi::xml_node& begin : begins) {
    const auto found = m_fieldOrdinals.find(begin.internal_object());
    if (found == m_fieldOrdinals.end()) continue;
    m_fields[found->second].begin = pugi::xml_node();
    m_present.Add(found->second, -1);
    m_fieldOrdinals.erase(found);
  }
}

std::optional<SFieldSpan> CStoryMarks::Locate(CStory& story, const SField& field) const {
  const CStoryAtoms& atoms = story.Atoms();
  SFieldSpan span;
  span.begin = MarkEndingAt(atoms, m_fieldMarks[field.marks[0]], field.begin, EAtomKind::eFieldBegin);
  if (span.begin == SIZE_MAX) return std::nullopt;
  if (field.separate) {
    span.separate = MarkEndingAt(atoms, m_fieldMarks[field.marks[1]], field.separate, EAtomKind::eFieldSeparate);
    if (span.separate == SIZE_MAX) return std::nullopt;
  }
  // an unclosed field ends with the story
  span.end = field.end ? MarkEndingAt(atoms, m_fieldMarks[field.marks[2]], field.end, EAtomKind::eFieldEnd)
                       : atoms.size() - 1;
  if (span.end == SIZE_MAX) return std::nullopt;
  return span;
}

std::optional<SFieldSpan> CStoryMarks::Field(CStory& story, const pugi::xml_node& begin) {
  bool fresh = FieldsCurrent(story);
  for (;;) {
    const auto found = m_fieldOrdinals.find(begin.internal_object());
    if (found != m_fieldOrdinals.end())
      if (auto span = Locate(story, m_fields[found->second])) return span;
    if (fresh) return std::nullopt;
    BuildFields(story);
    fresh = true;
  }
}

void CStoryMarks::Separated(CStory& story, const pugi::xml_node& begin, const pugi::xml_node& separate,
                            std::int32_t pos) {
  if (FieldsCurrent(story)) return;  // found afresh, the new mark with the rest
  const auto found = m_fieldOrdinals.find(begin.internal_object());
  if (found == m_fieldOrdinals.end()) return;
  SField& field = m_fields[found->second];
  if (field.marks[1] == kNone) {
    m_fieldsBuilt = 0;  // no place kept for it: found again when next asked
    return;
  }
  field.separate = separate;
  m_fieldMarks.Set(field.marks[1], pos + 1);
}

std::pair<size_t, size_t> CStoryMarks::Tables(CStory& story, std::int32_t start, std::int32_t end) {
  TablesCurrent(story);
  const auto first = [this](size_t k) { return m_tableBounds[2 * k]; };
  const size_t from = FirstFrom(m_tables.size(), start, first);
  return {from, std::max(from, FirstFrom(m_tables.size(), end, first))};
}

STableSpan CStoryMarks::Table(size_t ordinal) const {
  return {m_tables[ordinal].table, m_tableBounds[2 * ordinal], m_tableBounds[2 * ordinal + 1]};
}

bool CStoryMarks::Check(CStory& story, size_t ordinal) const {
  const STable& table = m_tables[ordinal];
  return !table.last ||
         MarkEndingAt(story.Atoms(), m_tableBounds[2 * ordinal + 1], table.last, EAtomKind::eRowEnd) != SIZE_MAX;
}

std::optional<STableSpan> CStoryMarks::Table(CStory& story, const pugi::xml_node& table) {
  bool fresh = TablesCurrent(story);
  for (;;) {
    const auto found = m_tableOrdinals.find(table.internal_object());
    if (found != m_tableOrdinals.end() && Check(story, found->second)) return Table(found->second);
    if (fresh) return std::nullopt;
    BuildTables(story);
    fresh = true;
  }
}
