#include "platform/com/CCompoundFile.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/com/CComError.h"

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD, kDifatSector = 0xFFFFFFFC,
                        kNoStream = 0xFFFFFFFF, kMaxSector = 0xFFFFFFFA;
constexpr size_t kHeaderSize = 512, kEntrySize = 128, kMiniSectorSize = 64, kMiniCutoff = 4096, kHeaderFatSlots = 109;
enum EEntryType : std::uint8_t { eStorage = 1, eStream = 2, eRoot = 5 };

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

[[noreturn]] void Fail(const std::string& why) {
  throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the embedded object is no valid compound file (" + why + ")"));
}

// at + width could wrap for an offset counted back from a short sector's end.
std::uint32_t U32(std::string_view b, size_t at) {
  if (at > b.size() || b.size() - at < 4) Fail("a field lies past the end");
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
                                    static_cast<unsigned char>(b[at + 2]) << 16) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t U16(std::string_view b, size_t at) {
  if (at > b.size() || b.size() - at < 2) Fail("a field lies past the end");
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

struct SEntry {
  std::u16string name;
  std::uint8_t type = 0;
  std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream, start = kEndOfChain;
  std::uint64_t size = 0;
  CLSID clsid;
};

class CReader {
public:
  explicit CReader(std::string_view bytes) : m_bytes(bytes) {}

  SCompoundFile Read() {
    ReadHeader();
    ReadFat();
    ReadDirectory();
    const SEntry& root = m_entries[0];
    if (root.type != eRoot) Fail("the first directory entry is no root");
    m_miniStream = Gather(Chain(root.start, m_fat, m_fatUsed, m_sectors, Needed(root.size, m_sectorSize)), m_sectorSize,
                          root.size, false);
    for (std::uint32_t id : Chain(m_firstMiniFat, m_fat, m_fatUsed, m_sectors, kWholeChain)) {
      const std::string_view sector = Sector(id);
      for (size_t at = 0; at < sector.size(); at += 4) m_miniFat.push_back(U32(sector, at));
    }
    m_owner.assign(m_entries.size(), kNoStream);
    m_onPath.assign(m_entries.size(), false);
    m_owner[0] = 0;
    SCompoundFile file;
    file.clsid = root.clsid;
    ReadStorage(0, file, 0);
    return file;
  }

private:
  void ReadHeader() {
    if (m_bytes.size() < kHeaderSize || m_bytes.substr(0, 8) != CCompoundFile::kSignature) Fail("no signature");
    const std::uint16_t shift = U16(m_bytes, 30);
    if ((shift != 9 && shift != 12) || U16(m_bytes, 32) != 6) Fail("unknown sector size");
    m_sectorSize = size_t{1} << shift;
    m_sectors = static_cast<std::uint32_t>(std::min<size_t>((m_bytes.size() - 1) / m_sectorSize, 0xFFFFFFF0u));
    m_fatCount = U32(m_bytes, 44);
    m_firstDirectory = U32(m_bytes, 48);
    // Which streams live in the mini stream is fixed by the format, not by the file.
    if (U32(m_bytes, 56) != kMiniCutoff) Fail("the mini stream cutoff is not 4096");
    m_firstMiniFat = U32(m_bytes, 60);
    if (m_fatCount > m_sectors) Fail("more allocation sectors than the file holds");
  }

  std::string_view Sector(std::uint32_t id) const {
    if (id >= m_sectors) Fail("a sector lies outside the file");
    return m_bytes.substr((size_t{id} + 1) * m_sectorSize, m_sectorSize);
  }

  // Sector ids of the allocation table: the header's slots, then the extension chain.
  void ReadFat() {
    std::vector<std::uint32_t> fatSectors;
    for (size_t i = 0; i < kHeaderFatSlots && fatSectors.size() < m_fatCount; ++i)
      fatSectors.push_back(U32(m_bytes, 76 + i * 4));
    std::uint32_t next = U32(m_bytes, 68);
    for (std::uint32_t steps = 0; fatSectors.size() < m_fatCount; ++steps) {
      if (steps > m_sectors) Fail("the allocation table's extension loops");
      const std::string_view sector = Sector(next);
      if (sector.size() < m_sectorSize) Fail("the allocation table's extension is cut short");
      for (size_t at = 0; at + 4 < sector.size() && fatSectors.size() < m_fatCount; at += 4)
        fatSectors.push_back(U32(sector, at));
      next = U32(sector, sector.size() - 4);
    }
    for (std::uint32_t id : fatSectors) {
      const std::string_view sector = Sector(id);
      for (size_t at = 0; at < sector.size(); at += 4) m_fat.push_back(U32(sector, at));
    }
  }

  static constexpr size_t kWholeChain = SIZE_MAX;
  static size_t Needed(std::uint64_t size, size_t sectorSize) {
    return static_cast<size_t>(std::min<std::uint64_t>((size + sectorSize - 1) / sectorSize, SIZE_MAX));
  }

  // A chain of sector ids, at most count of them: a stream's chain is followed no
  // further than its size needs. Each sector belongs to one chain at most, which used
  // records for the whole file; a loop, a shared sector, or an id outside the table or
  // the file, is an error.
  std::vector<std::uint32_t> Chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                   std::vector<std::uint32_t>& used, std::uint32_t limit, size_t count) {
    const std::uint32_t chain = ++m_chains;
    used.resize(table.size(), 0);
    std::vector<std::uint32_t> ids;
    for (std::uint32_t id = start; id != kEndOfChain && ids.size() < count;) {
      if (id >= table.size() || id >= limit) Fail("a sector chain leaves the file");
      if (used[id] == chain) Fail("a sector chain loops");
      if (used[id] != 0) Fail("two sector chains share a sector");
      used[id] = chain;
      ids.push_back(id);
      id = table[id];
    }
    return ids;
  }

  // The first size bytes of the sectors, regular or mini.
  std::string Gather(const std::vector<std::uint32_t>& ids, size_t sectorSize, std::uint64_t size, bool mini) const {
    if (size > ids.size() * sectorSize) Fail("a stream is longer than its sectors");
    std::string data;
    data.reserve(static_cast<size_t>(size));
    for (std::uint32_t id : ids) {
      if (data.size() >= size) break;
      const std::string_view sector = mini ? MiniSector(id) : Sector(id);
      data.append(sector.substr(0, std::min<size_t>(sector.size(), static_cast<size_t>(size) - data.size())));
    }
    return data;
  }

  std::string_view MiniSector(std::uint32_t id) const {
    const size_t at = size_t{id} * kMiniSectorSize;
    if (at + kMiniSectorSize > m_miniStream.size()) Fail("a mini sector lies outside the mini stream");
    return std::string_view(m_miniStream).substr(at, kMiniSectorSize);
  }

  void ReadDirectory() {
    for (std::uint32_t id : Chain(m_firstDirectory, m_fat, m_fatUsed, m_sectors, kWholeChain)) {
      const std::string_view sector = Sector(id);
      for (size_t at = 0; at + kEntrySize <= sector.size(); at += kEntrySize) m_entries.push_back(Entry(sector.substr(at, kEntrySize)));
    }
    if (m_entries.empty()) Fail("no directory");
  }

  SEntry Entry(std::string_view e) const {
    SEntry entry;
    const size_t nameBytes = std::min<size_t>(U16(e, 64), 64);
    for (size_t at = 0; at + 1 < nameBytes; at += 2) {
      const char16_t c = U16(e, at);
      if (c == 0) break;
      entry.name += c;
    }
    entry.type = static_cast<std::uint8_t>(e[66]);
    entry.left = U32(e, 68);
    entry.right = U32(e, 72);
    entry.child = U32(e, 76);
    entry.clsid = CLSID::FromStoredBytes(reinterpret_cast<const std::uint8_t*>(e.data() + 80));
    entry.start = U32(e, 116);
    // Version 3 files may leave garbage in the high half of the size.
    entry.size = m_sectorSize == 512 ? U32(e, 120) : U32(e, 120) | std::uint64_t{U32(e, 124)} << 32;
    return entry;
  }

  // The streams and storages below entry id, each entry of the whole file visited once.
  void ReadStorage(std::uint32_t id, SStorage& storage, int depth) {
    if (depth > CCompoundFile::kMaxDepth)
      Fail("storages nest deeper than " + std::to_string(CCompoundFile::kMaxDepth) + " levels");
    m_onPath[id] = true;
    for (std::uint32_t child : Children(id)) {
      const SEntry& entry = m_entries[child];
      if (entry.type == eStream) {
        storage.streams.emplace_back(entry.name, StreamData(entry));
      } else if (entry.type == eStorage) {
        storage.storages.push_back(SStorage{entry.name, entry.clsid, {}, {}});
        ReadStorage(child, storage.storages.back(), depth + 1);
      }
    }
    m_onPath[id] = false;
  }

  // The entries of storage's sibling tree. An entry met before is a loop when it lies
  // on the way here (this tree or a storage above), and shared between storages otherwise.
  std::vector<std::uint32_t> Children(std::uint32_t storage) {
    std::vector<std::uint32_t> found, pending;
    if (m_entries[storage].child != kNoStream) pending.push_back(m_entries[storage].child);
    while (!pending.empty()) {
      const std::uint32_t id = pending.back();
      pending.pop_back();
      if (id >= m_entries.size()) Fail("a directory entry points outside the directory");
      if (m_owner[id] != kNoStream) {
        if (m_owner[id] == storage || m_onPath[id]) Fail("the directory tree loops");
        Fail("a directory entry is reached twice");
      }
      m_owner[id] = storage;
      found.push_back(id);
      for (std::uint32_t next : {m_entries[id].left, m_entries[id].right})
        if (next != kNoStream) pending.push_back(next);
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  // A stream's bytes. Streams may not claim more than the file holds in all, so that
  // chains shared between streams cannot multiply the memory a small file takes.
  std::string StreamData(const SEntry& entry) {
    const bool mini = entry.size < kMiniCutoff;
    const size_t sectorSize = mini ? kMiniSectorSize : m_sectorSize;
    const std::vector<std::uint32_t> chain =
        mini ? Chain(entry.start, m_miniFat, m_miniUsed, static_cast<std::uint32_t>(m_miniStream.size() / kMiniSectorSize),
                     Needed(entry.size, sectorSize))
             : Chain(entry.start, m_fat, m_fatUsed, m_sectors, Needed(entry.size, sectorSize));
    std::string data = Gather(chain, sectorSize, entry.size, mini);
    (mini ? m_miniClaimed : m_claimed) += entry.size;
    if (m_miniClaimed > m_miniStream.size() || m_claimed > std::uint64_t{m_sectors} * m_sectorSize)
      Fail("the streams claim more data than the file holds");
    return data;
  }

  std::string_view m_bytes;
  size_t m_sectorSize = 512;
  std::uint32_t m_sectors = 0, m_fatCount = 0, m_firstDirectory = 0, m_firstMiniFat = 0;
  std::vector<std::uint32_t> m_fat, m_miniFat;
  std::vector<std::uint32_t> m_fatUsed, m_miniUsed;  // per sector, the chain it belongs to (0: none)
  std::uint32_t m_chains = 0;
  std::vector<SEntry> m_entries;
  std::string m_miniStream;
  std::uint64_t m_claimed = 0, m_miniClaimed = 0;
  // Per entry: the storage whose tree reached it (kNoStream before), and whether it is a
  // storage being read.
  std::vector<std::uint32_t> m_owner;
  std::vector<bool> m_onPath;
};

bool SameName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) { return Upper(x) == Upper(y); });
}

}  // namespace

const std::string* SStorage::Stream(std::u16string_view name) const {
  for (const auto& [streamName, data] : streams)
    if (SameName(streamName, name)) return &data;
  return nullptr;
}

const SStorage* SStorage::Storage(std::u16string_view name) const {
  for (const SStorage& storage : storages)
    if (SameName(storage.name, name)) return &storage;
  return nullptr;
}

SCompoundFile CCompoundFile::Read(std::string_view bytes) { return CReader(bytes).Read(); }

namespace {

constexpr size_t kSector = 512, kSlots = kSector / 4;

void Put(std::string& out, size_t at, std::uint64_t v, int width) {
  for (int i = 0; i < width; ++i, v >>= 8) out[at + static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
}

// Directory order: shorter names first, then by upper-case code units.
bool NameLess(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Upper(x) < Upper(y); });
}

struct SPlaced {
  std::uint32_t left = kNoStream, right = kNoStream;
  bool red = false;
};

// A balanced search tree over sorted entries; the deepest level is red when the tree is
// not perfect, so that every path holds the same number of black entries.
std::uint32_t Balance(std::vector<SPlaced>& placed, size_t from, size_t to, int depth, int deepest) {
  if (from >= to) return kNoStream;
  const size_t middle = from + (to - from) / 2;
  placed[middle].left = Balance(placed, from, middle, depth + 1, deepest);
  placed[middle].right = Balance(placed, middle + 1, to, depth + 1, deepest);
  placed[middle].red = depth == deepest && deepest > 0;
  return static_cast<std::uint32_t>(middle);
}

// A directory entry to be written.
struct SFlat {
  const std::u16string* name = nullptr;
  std::uint8_t type = eStream;
  const SStorage* storage = nullptr; // storages
  const std::string* data = nullptr;  // streams
  SPlaced tree;
  std::uint32_t child = kNoStream, start = kEndOfChain;
};

// Appends the entries below storage (entry self): its children together in name order
// as a balanced tree, then the entries below each child storage in turn.
void Flatten(const SStorage& storage, size_t self, int depth, std::vector<SFlat>& out) {
  std::vector<SFlat> children;
  for (const auto& [name, data] : storage.streams) children.push_back(SFlat{&name, eStream, nullptr, &data, {}});
  for (const SStorage& child : storage.storages) children.push_back(SFlat{&child.name, eStorage, &child, nullptr, {}});
  if (!storage.storages.empty() && depth >= CCompoundFile::kMaxDepth)
    throw CComError(E_INVALIDARG, u"storages nest too deep");
  std::stable_sort(children.begin(), children.end(), [](const SFlat& a, const SFlat& b) { return NameLess(*a.name, *b.name); });
  for (size_t k = 0; k < children.size(); ++k) {
    const std::u16string& name = *children[k].name;
    if (name.empty() || name.size() > 31 || (k > 0 && !NameLess(*children[k - 1].name, name)))
      throw CComError(E_INVALIDARG, u"a stream or storage name is empty, longer than 31 characters or used twice");
    if (children[k].data && children[k].data->size() > 0x7FFFFFFF)
      throw CComError(E_INVALIDARG, u"a stream of the embedded object is too large to be saved");
  }
  std::vector<SPlaced> tree(children.size());
  int deepest = 0;
  while ((size_t{2} << deepest) - 1 < children.size()) ++deepest;
  const std::uint32_t top = Balance(tree, 0, children.size(), 0, deepest);
  const size_t first = out.size();
  out[self].child = top == kNoStream ? kNoStream : static_cast<std::uint32_t>(first + top);
  for (size_t k = 0; k < children.size(); ++k) {
    for (std::uint32_t* link : {&tree[k].left, &tree[k].right})
      if (*link != kNoStream) *link += static_cast<std::uint32_t>(first);
    children[k].tree = tree[k];
    out.push_back(children[k]);
  }
  for (size_t k = 0; k < children.size(); ++k)
    if (children[k].storage) Flatten(*children[k].storage, first + k, depth + 1, out);
}

void PutEntry(std::string& out, size_t at, const SFlat& entry, std::uint64_t size) {
  const std::u16string& name = *entry.name;
  for (size_t i = 0; i < name.size(); ++i) Put(out, at + i * 2, name[i], 2);
  Put(out, at + 64, (name.size() + 1) * 2, 2);
  out[at + 66] = static_cast<char>(entry.type);
  out[at + 67] = entry.tree.red ? 0 : 1;
  Put(out, at + 68, entry.tree.left, 4);
  Put(out, at + 72, entry.tree.right, 4);
  Put(out, at + 76, entry.child, 4);
  if (entry.storage) {
    const auto stored = entry.storage->clsid.StoredBytes();
    std::memcpy(out.data() + at + 80, stored.data(), stored.size());
  }
  Put(out, at + 116, entry.type == eStorage ? 0 : entry.start, 4);
  Put(out, at + 120, size, 8);
}

}  // namespace

std::string CCompoundFile::Write(const SCompoundFile& file) {
  auto sectorsFor = [](size_t bytes, size_t unit) { return (bytes + unit - 1) / unit; };
  static const std::u16string kRootName = u"Root Entry";
  std::vector<SFlat> entries{SFlat{&kRootName, eRoot, &file, nullptr, {}}};
  Flatten(file, 0, 0, entries);

  // Small streams go to the mini stream, the others to sectors of their own.
  std::string mini;
  std::vector<std::uint32_t> miniFat;
  size_t bigSectors = 0;
  for (SFlat& entry : entries) {
    if (entry.type != eStream || entry.data->empty()) continue;
    const std::string& data = *entry.data;
    if (data.size() >= kMiniCutoff) {
      bigSectors += sectorsFor(data.size(), kSector);
      continue;
    }
    entry.start = static_cast<std::uint32_t>(mini.size() / kMiniSectorSize);
    const size_t count = sectorsFor(data.size(), kMiniSectorSize);
    for (size_t s = 1; s <= count; ++s) miniFat.push_back(s == count ? kEndOfChain : entry.start + static_cast<std::uint32_t>(s));
    mini += data;
    mini.resize(mini.size() + (kMiniSectorSize - mini.size() % kMiniSectorSize) % kMiniSectorSize, '\0');
  }
  const size_t directorySectors = sectorsFor(entries.size() * kEntrySize, kSector);
  const size_t miniFatSectors = sectorsFor(miniFat.size() * 4, kSector);
  const size_t miniSectors = sectorsFor(mini.size(), kSector);
  const size_t dataSectors = directorySectors + miniFatSectors + miniSectors + bigSectors;
  // Allocation sectors beyond the header's slots are listed in extension sectors, whose
  // last slot links to the next.
  auto difatFor = [&](size_t fat) { return fat > kHeaderFatSlots ? sectorsFor(fat - kHeaderFatSlots, kSlots - 1) : 0; };
  size_t fatSectors = 1;
  while (fatSectors * kSlots < dataSectors + fatSectors + difatFor(fatSectors)) ++fatSectors;
  const size_t difatSectors = difatFor(fatSectors);
  if (dataSectors + fatSectors + difatSectors >= kMaxSector)
    throw CComError(E_INVALIDARG, u"the embedded object is too large to be saved");

  // Sectors in order: allocation table, its extension, directory, mini allocation table,
  // mini stream, large streams.
  std::vector<std::uint32_t> fat(fatSectors * kSlots, kFree);
  std::uint32_t next = 0;
  auto allocate = [&](size_t count, std::uint32_t marker) {
    const std::uint32_t first = count ? next : kEndOfChain;
    for (size_t s = 0; s < count; ++s, ++next) fat[next] = marker ? marker : (s + 1 == count ? kEndOfChain : next + 1);
    return first;
  };
  allocate(fatSectors, kFatSector);
  const std::uint32_t difatStart = allocate(difatSectors, kDifatSector);
  const std::uint32_t directoryStart = allocate(directorySectors, 0);
  const std::uint32_t miniFatStart = allocate(miniFatSectors, 0);
  const std::uint32_t miniStart = allocate(miniSectors, 0);
  for (SFlat& entry : entries)
    if (entry.type == eStream && entry.data->size() >= kMiniCutoff) entry.start = allocate(sectorsFor(entry.data->size(), kSector), 0);
  entries[0].start = mini.empty() ? kEndOfChain : miniStart;

  std::string out((size_t{1} + next) * kSector, '\0');
  out.replace(0, 8, kSignature);
  Put(out, 24, 0x003E, 2);
  Put(out, 26, 3, 2);
  Put(out, 28, 0xFFFE, 2);
  Put(out, 30, 9, 2);
  Put(out, 32, 6, 2);
  Put(out, 44, fatSectors, 4);
  Put(out, 48, directoryStart, 4);
  Put(out, 56, kMiniCutoff, 4);
  Put(out, 60, miniFatStart, 4);
  Put(out, 64, miniFatSectors, 4);
  Put(out, 68, difatStart, 4);
  Put(out, 72, difatSectors, 4);
  for (size_t i = 0; i < kHeaderFatSlots; ++i) Put(out, 76 + i * 4, i < fatSectors ? i : kFree, 4);
  auto sectorAt = [&](std::uint32_t id) { return (size_t{id} + 1) * kSector; };
  for (size_t d = 0; d < difatSectors; ++d) {
    const size_t at = sectorAt(difatStart + static_cast<std::uint32_t>(d));
    for (size_t slot = 0; slot + 1 < kSlots; ++slot) {
      const size_t fatId = kHeaderFatSlots + d * (kSlots - 1) + slot;
      Put(out, at + slot * 4, fatId < fatSectors ? fatId : kFree, 4);
    }
    Put(out, at + kSector - 4, d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain, 4);
  }
  for (size_t i = 0; i < fat.size(); ++i) Put(out, sectorAt(0) + i * 4, fat[i], 4);

  const size_t directory = sectorAt(directoryStart);
  for (size_t k = 0; k < entries.size(); ++k)
    PutEntry(out, directory + k * kEntrySize, entries[k], k == 0 ? mini.size() : entries[k].data ? entries[k].data->size() : 0);
  for (size_t k = entries.size(); k < directorySectors * (kSector / kEntrySize); ++k)
    for (size_t link = 68; link < 80; link += 4) Put(out, directory + k * kEntrySize + link, kNoStream, 4);

  for (size_t i = 0; i < miniFat.size(); ++i) Put(out, sectorAt(miniFatStart) + i * 4, miniFat[i], 4);
  for (size_t i = miniFat.size(); i < miniFatSectors * kSlots; ++i) Put(out, sectorAt(miniFatStart) + i * 4, kFree, 4);
  if (!mini.empty()) out.replace(sectorAt(miniStart), mini.size(), mini);
  for (const SFlat& entry : entries)
    if (entry.type == eStream && entry.data->size() >= kMiniCutoff) out.replace(sectorAt(entry.start), entry.data->size(), *entry.data);
  return out;
}
