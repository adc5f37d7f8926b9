#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/word/document/CStoryAtoms.h"

class CLiveRanges;

// A live position range of a story: edits before or inside it move it.
class CLiveRange {
public:
  CLiveRange(CLiveRanges& ranges, std::int32_t start, std::int32_t end);
  ~CLiveRange();
  CLiveRange(const CLiveRange&) = delete;
  CLiveRange& operator=(const CLiveRange&) = delete;

  std::int32_t Start() const;
  std::int32_t End() const;
  void Set(std::int32_t start, std::int32_t end);

private:
  friend class CLiveRanges;
  CLiveRanges* m_ranges;                 // null once its story is gone
  void* m_blocks[2] = {nullptr, nullptr};  // where its start and end are kept
  std::int32_t m_kept[2] = {0, 0};       // its positions when its story went
};

// The ends of a story's live ranges in position order, in blocks whose positions are
// counted from a shift that is kept as running totals: an edit sets the ends inside
// what it removed and shifts one block's tail, whatever the number of ranges.
class CLiveRanges {
public:
  CLiveRanges() = default;
  ~CLiveRanges();
  CLiveRanges(const CLiveRanges&) = delete;
  CLiveRanges& operator=(const CLiveRanges&) = delete;

  // removed positions went away at pos, then inserted ones came in at pos.
  void Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  size_t Count() const { return m_count; }

private:
  friend class CLiveRange;
  struct SEnd {
    std::int32_t value;  // from its block's shift
    CLiveRange* owner;
    int which;           // 0 start, 1 end
  };
  struct SBlock {
    std::vector<SEnd> ends;
    std::int32_t base = 0;
    size_t ordinal = 0;
  };
  static constexpr size_t kFill = 64;

  std::int32_t Shift(size_t block) const { return m_blocks[block]->base + static_cast<std::int32_t>(m_shifts.Before(block + 1)); }
  std::int32_t Value(const CLiveRange& range, int which) const;
  void Insert(CLiveRange& range, int which, std::int32_t value);
  void Erase(CLiveRange& range, int which);
  // The block and index of the first end whose position exceeds pos.
  std::pair<size_t, size_t> FirstAfter(std::int32_t pos) const;
  // Folds the running shifts into the blocks' bases, before blocks come or go;
  // Renumber after they did.
  void Fold();
  void Renumber();

  std::vector<std::unique_ptr<SBlock>> m_blocks;
  CBlockSums m_shifts;  // block b's shift is its base plus the sum through b
  size_t m_count = 0;
};
