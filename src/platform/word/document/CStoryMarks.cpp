#include "platform/word/document/CStoryMarks.h"

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
  // a separate belongs to it, unmatched ones count for nothing.
  std::vector<size_t> open;
  std::vector<std::int32_t> begins, separates, ends;
  for (const SAtom& atom : story.Atoms()) {
    switch (atom.kind) {
      case EAtomKind::eFieldBegin:
        open.push_back(m_fields.size());
        m_fields.push_back({atom.node, {}, {}, nullptr, nullptr});
        begins.push_back(atom.start);
        separates.push_back(-1);
        ends.push_back(-1);
        break;
      case EAtomKind::eFieldSeparate:
        if (!open.empty()) {
          m_fields[open.back()].separate = atom.node;
          separates[open.back()] = atom.start;
        }
        break;
      case EAtomKind::eFieldEnd:
        if (!open.empty()) {
          m_fields[open.back()].end = atom.node;
          ends[open.back()] = atom.start;
          open.pop_back();
        }
        break;
      default: break;
    }
  }
  for (size_t k = 0; k < m_fields.size(); ++k) {
    SField& field = m_fields[k];
    field.marks = story.MakeRange(begins[k] + 1, ends[k] >= 0 ? ends[k] + 1 : begins[k] + 1);
    if (separates[k] >= 0) field.separator = story.MakeRange(separates[k] + 1, separates[k] + 1);
    m_fieldOrdinals.emplace(field.begin.internal_object(), k);
  }
  m_fieldsBuilt = story.Indexings();
}

void CStoryMarks::BuildTables(CStory& story) {
  m_tables.clear();
  m_tableOrdinals.clear();
  std::vector<std::int32_t> starts, ends;
  COutermostTables outermost(story);
  pugi::xml_node parent, outer;
  for (const SAtom& atom : story.Atoms()) {
    if (atom.node.parent() != parent) {
      parent = atom.node.parent();
      outer = outermost.Of(atom.node);
    }
    if (!outer) continue;
    if (m_tables.empty() || m_tables.back().table != outer) {
      m_tables.push_back({outer, {}, nullptr});
      starts.push_back(atom.start);
      ends.push_back(atom.start);
    }
    ends.back() = atom.start + atom.length;
    const bool rowEnd = atom.kind == EAtomKind::eRowEnd && atom.length == 1;
    m_tables.back().last = rowEnd ? atom.node : pugi::xml_node();
  }
  for (size_t k = 0; k < m_tables.size(); ++k) {
    m_tables[k].range = story.MakeRange(starts[k], ends[k]);
    m_tableOrdinals.emplace(m_tables[k].table.internal_object(), k);
  }
  m_tablesBuilt = story.Indexings();
}

std::pair<size_t, size_t> CStoryMarks::Fields(CStory& story, std::int32_t start, std::int32_t end) {
  FieldsCurrent(story);
  const auto begin = [this](size_t k) { return m_fields[k].marks->Start() - 1; };
  const size_t first = FirstFrom(m_fields.size(), start, begin);
  return {first, std::max(first, FirstFrom(m_fields.size(), end, begin))};
}

std::optional<SFieldSpan> CStoryMarks::Locate(CStory& story, const SField& field) const {
  const CStoryAtoms& atoms = story.Atoms();
  SFieldSpan span;
  span.begin = MarkEndingAt(atoms, field.marks->Start(), field.begin, EAtomKind::eFieldBegin);
  if (span.begin == SIZE_MAX) return std::nullopt;
  if (field.separator) {
    span.separate = MarkEndingAt(atoms, field.separator->Start(), field.separate, EAtomKind::eFieldSeparate);
    if (span.separate == SIZE_MAX) return std::nullopt;
  }
  // an unclosed field ends with the story
  span.end = field.end ? MarkEndingAt(atoms, field.marks->End(), field.end, EAtomKind::eFieldEnd) : atoms.size() - 1;
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
  field.separate = separate;
  field.separator = story.MakeRange(pos + 1, pos + 1);
}

std::pair<size_t, size_t> CStoryMarks::Tables(CStory& story, std::int32_t start, std::int32_t end) {
  TablesCurrent(story);
  const auto first = [this](size_t k) { return m_tables[k].range->Start(); };
  const size_t from = FirstFrom(m_tables.size(), start, first);
  return {from, std::max(from, FirstFrom(m_tables.size(), end, first))};
}

STableSpan CStoryMarks::Table(size_t ordinal) const {
  const STable& table = m_tables[ordinal];
  return {table.table, table.range->Start(), table.range->End()};
}

bool CStoryMarks::Check(CStory& story, const STable& table) const {
  return !table.last || MarkEndingAt(story.Atoms(), table.range->End(), table.last, EAtomKind::eRowEnd) != SIZE_MAX;
}

std::optional<STableSpan> CStoryMarks::Table(CStory& story, const pugi::xml_node& table) {
  bool fresh = TablesCurrent(story);
  for (;;) {
    const auto found = m_tableOrdinals.find(table.internal_object());
    if (found != m_tableOrdinals.end() && Check(story, m_tables[found->second])) return Table(found->second);
    if (fresh) return std::nullopt;
    BuildTables(story);
    fresh = true;
  }
}
