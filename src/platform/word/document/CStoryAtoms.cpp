#include "platform/word/document/CStoryAtoms.h"

#include <algorithm>
#include <bit>

void CBlockSums::Build(const std::vector<std::int64_t>& values) {
  m_tree.assign(values.size() + 1, 0);
  for (size_t i = 1; i <= values.size(); ++i) {
    m_tree[i] += values[i - 1];
    const size_t parent = i + (i & -i);
    if (parent <= values.size()) m_tree[parent] += m_tree[i];
  }
}

void CBlockSums::Add(size_t block, std::int64_t delta) {
  for (size_t i = block + 1; i < m_tree.size(); i += i & -i) m_tree[i] += delta;
}

std::int64_t CBlockSums::Before(size_t block) const {
  std::int64_t sum = 0;
  for (size_t i = block; i > 0; i -= i & -i) sum += m_tree[i];
  return sum;
}

size_t CBlockSums::Find(std::int64_t& target) const {
  if (m_tree.empty()) return 0;
  const size_t n = m_tree.size() - 1;
  size_t at = 0;
  for (size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
    if (at + step <= n && m_tree[at + step] <= target) {
      at += step;
      target -= m_tree[at];
    }
  }
  return at;
}

void CStoryAtoms::Clear() {
  m_blocks.clear();
  m_objects.clear();
  m_size = 0;
  m_end = 0;
  m_sumsStale = true;
  m_cursor = {};
}

std::int64_t& CStoryAtoms::Objects(SBlock& block, EAtomKind kind) const {
  return kind == EAtomKind::eInline ? block.inlines : block.anchors;
}

void CStoryAtoms::Append(const pugi::xml_node& node, EAtomKind kind, std::int32_t length) {
  if (m_blocks.empty() || m_blocks.back()->atoms.size() >= kFill) {
    m_blocks.push_back(std::make_unique<SBlock>());
    m_blocks.back()->ordinal = m_blocks.size() - 1;
  }
  SBlock& block = *m_blocks.back();
  block.atoms.push_back(SAtom{node, kind, block.length, length});
  block.length += length;
  if (kind == EAtomKind::eInline || kind == EAtomKind::eAnchor) {
    ++Objects(block, kind);
    m_objects[node.internal_object()] = &block;
  }
  ++m_size;
  m_end += length;
  m_sumsStale = true;
  m_cursor = {};
}

void CStoryAtoms::Sum() const {
  if (!m_sumsStale) return;
  std::vector<std::int64_t> lengths, counts, inlines, anchors;
  for (const auto& block : m_blocks) {
    lengths.push_back(block->length);
    counts.push_back(static_cast<std::int64_t>(block->atoms.size()));
    inlines.push_back(block->inlines);
    anchors.push_back(block->anchors);
  }
  m_lengths.Build(lengths);
  m_counts.Build(counts);
  m_inlines.Build(inlines);
  m_anchors.Build(anchors);
  m_sumsStale = false;
}

const CStoryAtoms::SCursor& CStoryAtoms::Locate(size_t index) const {
  SCursor& c = m_cursor;
  if (c.block < m_blocks.size()) {
    const size_t count = m_blocks[c.block]->atoms.size();
    if (index >= c.first && index < c.first + count) return c;
    // the next block: reading atoms in order never searches
    if (index == c.first + count && c.block + 1 < m_blocks.size()) {
      c.start += m_blocks[c.block]->length;
      c.first += count;
      ++c.block;
      return c;
    }
  }
  Sum();
  std::int64_t rest = static_cast<std::int64_t>(index);
  c.block = m_counts.Find(rest);
  c.first = index - static_cast<size_t>(rest);
  c.start = static_cast<std::int32_t>(m_lengths.Before(c.block));
  return c;
}

SAtom CStoryAtoms::operator[](size_t index) const {
  const SCursor& c = Locate(index);
  SAtom atom = m_blocks[c.block]->atoms[index - c.first];
  atom.start += c.start;
  return atom;
}

size_t CStoryAtoms::AtomAt(std::int32_t pos) const {
  if (m_blocks.empty()) return 0;
  Sum();
  // the first block that reaches pos; a later atom starting at pos may only be in it or begin the next
  std::int64_t rest = static_cast<std::int64_t>(pos) - 1;
  const size_t b = m_lengths.Find(rest);
  if (b >= m_blocks.size()) return m_size;
  const SBlock& block = *m_blocks[b];
  const std::int32_t from = static_cast<std::int32_t>(pos - m_lengths.Before(b));
  const auto it = std::lower_bound(block.atoms.begin(), block.atoms.end(), from,
                                   [](const SAtom& a, std::int32_t p) { return a.start < p; });
  return static_cast<size_t>(m_counts.Before(b)) + static_cast<size_t>(it - block.atoms.begin());
}

std::int64_t CStoryAtoms::ObjectIndex(const pugi::xml_node& node) const {
  const auto found = m_objects.find(node.internal_object());
  if (found == m_objects.end()) return -1;
  const SBlock& block = *found->second;
  Sum();
  for (size_t k = 0; k < block.atoms.size(); ++k)
    if (block.atoms[k].node == node) return m_counts.Before(block.ordinal) + static_cast<std::int64_t>(k);
  return -1;
}

size_t CStoryAtoms::CountBefore(EAtomKind kind, size_t index) const {
  if (index >= m_size) {
    Sum();
    return static_cast<size_t>((kind == EAtomKind::eInline ? m_inlines : m_anchors).Before(m_blocks.size()));
  }
  const SCursor c = Locate(index);
  size_t count = static_cast<size_t>((kind == EAtomKind::eInline ? m_inlines : m_anchors).Before(c.block));
  const SBlock& block = *m_blocks[c.block];
  for (size_t k = 0; k < index - c.first; ++k) count += block.atoms[k].kind == kind;
  return count;
}

size_t CStoryAtoms::NthObject(EAtomKind kind, size_t nth) const {
  Sum();
  std::int64_t rest = static_cast<std::int64_t>(nth);
  const size_t b = (kind == EAtomKind::eInline ? m_inlines : m_anchors).Find(rest);
  if (b >= m_blocks.size()) return m_size;
  const SBlock& block = *m_blocks[b];
  for (size_t k = 0; k < block.atoms.size(); ++k)
    if (block.atoms[k].kind == kind && rest-- == 0) return static_cast<size_t>(m_counts.Before(b)) + k;
  return m_size;
}

void CStoryAtoms::Replace(size_t index, const std::vector<SAtom>& replacement) {
  const SCursor c = Locate(index);
  SBlock& block = *m_blocks[c.block];
  const size_t at = index - c.first;
  const SAtom old = block.atoms[at];
  std::int32_t added = 0;
  std::vector<SAtom> atoms;
  atoms.reserve(replacement.size());
  for (SAtom atom : replacement) {
    atom.start = old.start + added;
    added += atom.length;
    atoms.push_back(atom);
  }
  std::int64_t inlines = 0, anchors = 0;
  if (old.kind == EAtomKind::eInline || old.kind == EAtomKind::eAnchor) {
    m_objects.erase(old.node.internal_object());
    --(old.kind == EAtomKind::eInline ? inlines : anchors);
  }
  for (const SAtom& atom : atoms) {
    if (atom.kind != EAtomKind::eInline && atom.kind != EAtomKind::eAnchor) continue;
    m_objects[atom.node.internal_object()] = &block;
    ++(atom.kind == EAtomKind::eInline ? inlines : anchors);
  }
  const auto where = block.atoms.begin() + static_cast<std::ptrdiff_t>(at);
  if (atoms.size() == 1) {
    *where = atoms.front();
  } else {
    block.atoms.insert(block.atoms.erase(where), atoms.begin(), atoms.end());
  }
  const std::int32_t shift = added - old.length;
  for (size_t k = at + atoms.size(); k < block.atoms.size(); ++k) block.atoms[k].start += shift;
  block.length += shift;
  block.inlines += inlines;
  block.anchors += anchors;
  m_size = m_size - 1 + atoms.size();
  m_end += shift;
  m_cursor = {};
  if (block.atoms.empty()) {
    m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(c.block));
    for (size_t b = c.block; b < m_blocks.size(); ++b) m_blocks[b]->ordinal = b;
    m_sumsStale = true;
  } else if (block.atoms.size() > 2 * kFill) {
    Split(c.block);
  } else if (!m_sumsStale) {
    m_lengths.Add(c.block, shift);
    m_counts.Add(c.block, static_cast<std::int64_t>(atoms.size()) - 1);
    m_inlines.Add(c.block, inlines);
    m_anchors.Add(c.block, anchors);
  }
}

void CStoryAtoms::Split(size_t ordinal) {
  SBlock& first = *m_blocks[ordinal];
  auto second = std::make_unique<SBlock>();
  const size_t keep = first.atoms.size() / 2;
  const std::int32_t offset = first.atoms[keep].start;
  second->atoms.assign(first.atoms.begin() + static_cast<std::ptrdiff_t>(keep), first.atoms.end());
  first.atoms.resize(keep);
  for (SAtom& atom : second->atoms) {
    atom.start -= offset;
    if (atom.kind != EAtomKind::eInline && atom.kind != EAtomKind::eAnchor) continue;
    ++Objects(*second, atom.kind);
    --Objects(first, atom.kind);
    m_objects[atom.node.internal_object()] = second.get();
  }
  second->length = first.length - offset;
  first.length = offset;
  m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(ordinal) + 1, std::move(second));
  for (size_t b = ordinal; b < m_blocks.size(); ++b) m_blocks[b]->ordinal = b;
  m_sumsStale = true;
}
