#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

// One unit of a story's character positions.
enum class EAtomKind : std::uint8_t {
  eText,           // w:t: one position per UTF-16 unit
  eInstrText,      // field code text
  eChar,           // tab, break, symbol, note reference
  eInline,         // an inline object: drawing, VML picture, OLE object, control
  eAnchor,         // a floating object's anchor: no position
  eFieldBegin,
  eFieldSeparate,
  eFieldEnd,
  eParagraphEnd,
  eCellEnd,        // the last paragraph mark of a table cell
  eRowEnd,
};

struct SAtom {
  pugi::xml_node node;  // w:t, the run child, w:fldChar, w:fldSimple, w:p or w:tr
  EAtomKind kind;
  std::int32_t start;
  std::int32_t length;
};

// Running totals over a row of blocks, each changed on its own (a Fenwick tree).
class CBlockSums {
public:
  void Build(const std::vector<std::int64_t>& values);
  void Add(size_t block, std::int64_t delta);
  // Sum of the blocks before block.
  std::int64_t Before(size_t block) const;
  // The first block whose running total exceeds target (the number of blocks if none);
  // target becomes what is left of it inside that block.
  size_t Find(std::int64_t& target) const;

private:
  std::vector<std::int64_t> m_tree;  // 1-based
};

// A story's atoms in document order, kept in blocks of a few hundred whose starts are
// counted from their block: replacing an atom touches its block and a logarithmic
// number of running totals, whatever the number of atoms. Reading atoms one after
// another costs a constant each; any other index costs a logarithm.
class CStoryAtoms {
public:
  class const_iterator {
  public:
    const_iterator(const CStoryAtoms* atoms, size_t index) : m_atoms(atoms), m_index(index) {}
    SAtom operator*() const { return (*m_atoms)[m_index]; }
    const_iterator& operator++() {
      ++m_index;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return m_index == other.m_index; }

  private:
    const CStoryAtoms* m_atoms;
    size_t m_index;
  };

  void Clear();
  // Adds an atom after the last one (while the story is indexed).
  void Append(const pugi::xml_node& node, EAtomKind kind, std::int32_t length);
  // Replaces the atom at index by replacement, whose starts are ignored: they follow
  // from the replaced atom's start and their lengths.
  void Replace(size_t index, const std::vector<SAtom>& replacement);

  size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }
  SAtom operator[](size_t index) const;
  SAtom back() const { return (*this)[m_size - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, m_size}; }
  // Position after the last atom.
  std::int32_t End() const { return m_end; }

  // Index of the first atom that starts at or after pos (size() if none).
  size_t AtomAt(std::int32_t pos) const;
  // Index of the inline or anchored object whose node is node, or -1.
  std::int64_t ObjectIndex(const pugi::xml_node& node) const;
  // Number of atoms of kind (eInline or eAnchor) before index.
  size_t CountBefore(EAtomKind kind, size_t index) const;
  // Index of the atom of kind (eInline or eAnchor) that has nth such atoms before it.
  size_t NthObject(EAtomKind kind, size_t nth) const;

private:
  struct SBlock {
    std::vector<SAtom> atoms;  // starts counted from the block's start
    std::int32_t length = 0;
    std::int64_t inlines = 0, anchors = 0;
    size_t ordinal = 0;
  };
  struct SCursor {
    size_t block = SIZE_MAX;
    size_t first = 0;          // index of the block's first atom
    std::int32_t start = 0;    // position of the block's start
  };
  static constexpr size_t kFill = 128;  // atoms per block when indexed; split at twice that

  const SCursor& Locate(size_t index) const;
  // Rebuilds the running totals after blocks came or went (or were appended to).
  void Sum() const;
  void Split(size_t ordinal);
  std::int64_t& Objects(SBlock& block, EAtomKind kind) const;

  std::vector<std::unique_ptr<SBlock>> m_blocks;
  mutable CBlockSums m_lengths, m_counts, m_inlines, m_anchors;
  mutable bool m_sumsStale = true;
  std::unordered_map<const void*, SBlock*> m_objects;  // run child -> its block
  size_t m_size = 0;
  std::int32_t m_end = 0;
  mutable SCursor m_cursor;
};
