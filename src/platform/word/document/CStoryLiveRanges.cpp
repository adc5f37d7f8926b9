#include "platform/word/document/CStoryLiveRanges.h"

#include <algorithm>

CLiveRange::CLiveRange(CLiveRanges& ranges, std::int32_t start, std::int32_t end) : m_ranges(&ranges) {
  m_ranges->Insert(*this, 0, start);
  m_ranges->Insert(*this, 1, end);
}

CLiveRange::~CLiveRange() {
  if (!m_ranges) return;
  m_ranges->Erase(*this, 0);
  m_ranges->Erase(*this, 1);
}

std::int32_t CLiveRange::Start() const { return m_ranges ? m_ranges->Value(*this, 0) : m_kept[0]; }

std::int32_t CLiveRange::End() const { return m_ranges ? m_ranges->Value(*this, 1) : m_kept[1]; }

void CLiveRange::Set(std::int32_t start, std::int32_t end) {
  if (!m_ranges) {
    m_kept[0] = start;
    m_kept[1] = end;
    return;
  }
  if (start != Start()) {
    m_ranges->Erase(*this, 0);
    m_ranges->Insert(*this, 0, start);
  }
  if (end != End()) {
    m_ranges->Erase(*this, 1);
    m_ranges->Insert(*this, 1, end);
  }
}

CLiveRanges::~CLiveRanges() {
  // Ranges that outlive their story keep their last positions.
  for (size_t b = 0; b < m_blocks.size(); ++b)
    for (const SEnd& end : m_blocks[b]->ends) end.owner->m_kept[end.which] = end.value + Shift(b);
  for (const auto& block : m_blocks)
    for (const SEnd& end : block->ends) end.owner->m_ranges = nullptr;
}

std::int32_t CLiveRanges::Value(const CLiveRange& range, int which) const {
  const SBlock& block = *static_cast<const SBlock*>(range.m_blocks[which]);
  for (const SEnd& end : block.ends)
    if (end.owner == &range && end.which == which) return end.value + Shift(block.ordinal);
  return 0;
}

std::pair<size_t, size_t> CLiveRanges::FirstAfter(std::int32_t pos) const {
  // the last block that starts at or before pos holds the first end after it, or ends before it
  size_t low = 0, high = m_blocks.size();
  while (high - low > 1) {
    const size_t mid = (low + high) / 2;
    if (m_blocks[mid]->ends.front().value + Shift(mid) <= pos) low = mid;
    else high = mid;
  }
  const auto& ends = m_blocks[low]->ends;
  const std::int32_t relative = pos - Shift(low);
  const size_t at = static_cast<size_t>(
      std::upper_bound(ends.begin(), ends.end(), relative, [](std::int32_t p, const SEnd& e) { return p < e.value; }) -
      ends.begin());
  if (at == ends.size() && low + 1 < m_blocks.size()) return {low + 1, 0};
  return {low, at};
}

void CLiveRanges::Insert(CLiveRange& range, int which, std::int32_t value) {
  if (m_blocks.empty()) {
    m_blocks.push_back(std::make_unique<SBlock>());
    Renumber();
  }
  auto [b, at] = FirstAfter(value);
  if (at == 0 && b > 0) at = m_blocks[--b]->ends.size();  // at the end of the block before
  SBlock& block = *m_blocks[b];
  block.ends.insert(block.ends.begin() + static_cast<std::ptrdiff_t>(at), SEnd{value - Shift(b), &range, which});
  range.m_blocks[which] = &block;
  ++m_count;
  if (block.ends.size() <= 2 * kFill) return;
  // split the block in two halves of the same shift
  Fold();
  auto second = std::make_unique<SBlock>();
  second->base = block.base;
  second->ends.assign(block.ends.begin() + static_cast<std::ptrdiff_t>(kFill), block.ends.end());
  block.ends.resize(kFill);
  for (const SEnd& end : second->ends) end.owner->m_blocks[end.which] = second.get();
  m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(second));
  Renumber();
}

void CLiveRanges::Erase(CLiveRange& range, int which) {
  SBlock& block = *static_cast<SBlock*>(range.m_blocks[which]);
  const auto it = std::find_if(block.ends.begin(), block.ends.end(),
                               [&](const SEnd& e) { return e.owner == &range && e.which == which; });
  if (it == block.ends.end()) return;
  block.ends.erase(it);
  --m_count;
  if (!block.ends.empty()) return;
  Fold();
  m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(block.ordinal));
  Renumber();
}

void CLiveRanges::Fold() {
  for (size_t b = 0; b < m_blocks.size(); ++b) m_blocks[b]->base = Shift(b);
  m_shifts.Build(std::vector<std::int64_t>(m_blocks.size(), 0));
}

void CLiveRanges::Renumber() {
  for (size_t b = 0; b < m_blocks.size(); ++b) m_blocks[b]->ordinal = b;
  m_shifts.Build(std::vector<std::int64_t>(m_blocks.size(), 0));
}

void CLiveRanges::Move(std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  if (m_blocks.empty() || (removed <= 0 && inserted <= 0)) return;
  removed = std::max(removed, 0);
  inserted = std::max(inserted, 0);
  // Ends inside what was removed go to pos; those after it move by the difference.
  auto [b, at] = FirstAfter(pos);
  for (; b < m_blocks.size(); ++b, at = 0) {
    SBlock& block = *m_blocks[b];
    const std::int32_t shift = Shift(b);
    for (; at < block.ends.size() && block.ends[at].value + shift <= pos + removed; ++at) block.ends[at].value = pos - shift;
    if (at < block.ends.size()) break;
  }
  if (b >= m_blocks.size()) return;
  SBlock& block = *m_blocks[b];
  for (; at < block.ends.size(); ++at) block.ends[at].value += inserted - removed;
  if (b + 1 < m_blocks.size()) m_shifts.Add(b + 1, inserted - removed);
}
