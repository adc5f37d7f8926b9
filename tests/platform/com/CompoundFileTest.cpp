#include <gtest/gtest.h>

#include <algorithm>

#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"
#include "platform/PlatformTestSupport.h"

namespace {

using platformtest::Le32At;

const CLSID kClass = *CGuid::Parse(u"{7B1E52C6-93D0-4A6F-B2E8-5C91D04F3A27}");

void Put32(std::string& b, size_t at, std::uint32_t v) { b.replace(at, 4, platformtest::Le(v, 4)); }

std::string ReadError(const std::string& bytes) {
  try {
    CCompoundFile::Read(bytes);
  } catch (const CComError& e) {
    return e.Description().ToUtf8();
  }
  return {};
}

// One small and one large stream; the directory sits in sector 1 (after the one FAT sector).
SCompoundFile Sample() {
  SCompoundFile file;
  file.clsid = kClass;
  file.streams = {{u"\1CompObj", std::string(90, 'c')}, {u"Contents", std::string(5000, 'x')}, {u"Empty", ""}};
  for (size_t i = 0; i < 5000; ++i) file.streams[1].second[i] = static_cast<char>(i * 7);
  return file;
}

constexpr size_t kDirectory = 512 * 2;

// Offset of the directory entry with that name (as written: UTF-16 code units).
size_t EntryOf(const std::string& bytes, std::u16string_view name) {
  for (size_t at = kDirectory; at + 128 <= bytes.size(); at += 128) {
    std::u16string entry;
    for (size_t i = 0; i < 32 && bytes[at + i * 2]; ++i) entry += static_cast<char16_t>(static_cast<unsigned char>(bytes[at + i * 2]));
    if (entry == name) return at;
  }
  return 0;
}

std::uint32_t IdOf(const std::string& bytes, std::u16string_view name) {
  const size_t at = EntryOf(bytes, name);
  EXPECT_NE(at, 0u) << "no entry named so";
  return static_cast<std::uint32_t>((at - kDirectory) / 128);
}

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// Two levels below the root, names whose order needs the length and upper-case rule
// ("_1234" sorts after "ALPHB" only when compared upper-cased), class ids at each level.
SCompoundFile Nested() {
  SCompoundFile file = Sample();
  SStorage pool{u"ObjectPool", *CGuid::Parse(u"{00000000-0000-0000-C000-000000000046}"), {}, {}};
  pool.streams = {{u"x", "1"}, {u"Beta", std::string(4096, 'b')}, {u"alpha", "a"}, {u"ALPHB", ""}};
  SStorage object{u"_1234", kClass, {{u"\1Ole", std::string(20, '\1')}, {u"CONTENTS", std::string(6000, 'C')}}, {}};
  for (size_t i = 0; i < 6000; ++i) object.streams[1].second[i] = static_cast<char>(i * 13 + 5);
  pool.storages = {object, SStorage{u"_12", {}, {{u"Contents", "small"}}, {}}};
  file.storages = {pool, SStorage{u"b", {}, {}, {}}};
  return file;
}

void ExpectSameStorage(const SStorage& expected, const SStorage& read, const std::string& where) {
  EXPECT_EQ(read.clsid, expected.clsid) << where;
  ASSERT_EQ(read.streams.size(), expected.streams.size()) << where;
  ASSERT_EQ(read.storages.size(), expected.storages.size()) << where;
  for (const auto& [name, data] : expected.streams) {
    const std::string* stream = read.Stream(name);
    ASSERT_NE(stream, nullptr) << where;
    EXPECT_EQ(*stream, data) << where;
  }
  for (const SStorage& storage : expected.storages) {
    const SStorage* below = read.Storage(storage.name);
    ASSERT_NE(below, nullptr) << where;
    EXPECT_EQ(below->name, storage.name);
    ExpectSameStorage(storage, *below, where + "/" + CStr(storage.name).ToUtf8());
  }
}

// The directory as written (contiguous after the allocation table).
struct SDirEntry {
  std::u16string name;
  std::uint8_t type, colour;
  std::uint32_t left, right, child;
};

SDirEntry DirEntry(const std::string& bytes, std::uint32_t id) {
  const size_t at = kDirectory + size_t{id} * 128;
  SDirEntry entry{{}, static_cast<std::uint8_t>(bytes[at + 66]), static_cast<std::uint8_t>(bytes[at + 67]),
                  Le32At(bytes, at + 68), Le32At(bytes, at + 72), Le32At(bytes, at + 76)};
  const size_t units = (static_cast<unsigned char>(bytes[at + 64]) | static_cast<unsigned char>(bytes[at + 65]) << 8) / 2;
  for (size_t i = 0; i + 1 < units; ++i)
    entry.name += static_cast<char16_t>(static_cast<unsigned char>(bytes[at + i * 2]) | static_cast<unsigned char>(bytes[at + i * 2 + 1]) << 8);
  return entry;
}

bool DirectoryLess(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]);
  return false;
}

// Walks a sibling tree in order, checking the red-black rules; returns its black height.
int Walk(const std::string& bytes, std::uint32_t id, std::vector<std::uint32_t>& ids, bool parentRed) {
  if (id == kNone) return 0;
  const SDirEntry entry = DirEntry(bytes, id);
  EXPECT_FALSE(parentRed && entry.colour == 0) << "a red entry below a red one";
  const int left = Walk(bytes, entry.left, ids, entry.colour == 0);
  ids.push_back(id);
  const int right = Walk(bytes, entry.right, ids, entry.colour == 0);
  EXPECT_EQ(left, right) << "paths with different numbers of black entries";
  return left + (entry.colour == 1 ? 1 : 0);
}

std::vector<std::u16string> NamesOf(const std::string& bytes, const std::vector<std::uint32_t>& ids) {
  std::vector<std::u16string> names;
  for (std::uint32_t id : ids) names.push_back(DirEntry(bytes, id).name);
  return names;
}

// Checks the sibling tree of every storage; returns the storages' names.
void CheckTrees(const std::string& bytes, std::uint32_t storage, std::vector<std::u16string>& storages) {
  const SDirEntry parent = DirEntry(bytes, storage);
  std::vector<std::uint32_t> ids;
  if (parent.child != kNone) {
    EXPECT_EQ(DirEntry(bytes, parent.child).colour, 1) << "a red top";
  }
  Walk(bytes, parent.child, ids, false);
  const std::vector<std::u16string> names = NamesOf(bytes, ids);
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end(), [](auto& a, auto& b) { return !DirectoryLess(a, b); }), names.end())
      << "siblings out of order";
  for (std::uint32_t id : ids) {
    if (DirEntry(bytes, id).type == 1) {
      storages.push_back(DirEntry(bytes, id).name);
      CheckTrees(bytes, id, storages);
    }
  }
}

TEST(CompoundFile, EveryStreamOfALargeDirectoryIsFound) {
  for (size_t count : {0u, 1u, 2u, 7u, 8u, 40u}) {
    SCompoundFile file;
    for (size_t i = 0; i < count; ++i)
      file.streams.emplace_back(u"S" + std::u16string(i % 5 + 1, static_cast<char16_t>(u'a' + i % 26)) + char16_t(u'0' + i / 26),
                                std::string(i * 37, static_cast<char>(i)));
    ExpectSameStorage(file, CCompoundFile::Read(CCompoundFile::Write(file)), std::to_string(count));
  }
}

TEST(CompoundFile, StreamNamesMustBeShortAndUnique) {
  for (const std::u16string& second : {std::u16string(u"A"), std::u16string(32, u'n'), std::u16string()}) {
    SCompoundFile file;
    file.streams = {{u"a", "1"}, {second, "2"}};
    EXPECT_THROW(CCompoundFile::Write(file), CComError);
  }
  SCompoundFile clash;  // a stream and a storage share the name space of their storage
  clash.streams = {{u"Same", "1"}};
  clash.storages = {SStorage{u"SAME", {}, {}, {}}};
  EXPECT_THROW(CCompoundFile::Write(clash), CComError);
  clash.storages[0].name = u"Other";
  clash.storages[0].streams = {{u"Same", "2"}};
  EXPECT_EQ(*CCompoundFile::Read(CCompoundFile::Write(clash)).Storage(u"Other")->Stream(u"Same"), "2");
  clash.storages[0].storages = {SStorage{u"", {}, {}, {}}};
  EXPECT_THROW(CCompoundFile::Write(clash), CComError);

  SCompoundFile deep;
  SStorage* level = &deep;
  for (int depth = 1; depth <= CCompoundFile::kMaxDepth; ++depth) {
    level->storages.push_back(SStorage{u"L", {}, {}, {}});
    level = &level->storages.back();
  }
  level->streams = {{u"Bottom", "deepest"}};
  const SCompoundFile deepBack = CCompoundFile::Read(CCompoundFile::Write(deep));
  const SStorage* walk = &deepBack;
  for (int depth = 1; depth <= CCompoundFile::kMaxDepth && walk; ++depth) walk = walk->Storage(u"L");
  ASSERT_NE(walk, nullptr);
  ASSERT_NE(walk->Stream(u"Bottom"), nullptr);
  EXPECT_EQ(*walk->Stream(u"Bottom"), "deepest");
  level->storages.push_back(SStorage{u"L", {}, {}, {}});
  EXPECT_THROW(CCompoundFile::Write(deep), CComError);

  SCompoundFile longest;
  longest.streams = {{std::u16string(31, u'n'), "fits"}};
  EXPECT_EQ(*CCompoundFile::Read(CCompoundFile::Write(longest)).Stream(std::u16string(31, u'n')), "fits");
}

TEST(CompoundFile, WrittenFilesReadBackWithClassStreamsStoragesAndOrderedTrees) {
  const SCompoundFile file = Nested();
  const std::string bytes = CCompoundFile::Write(file);
  EXPECT_EQ(bytes.substr(0, 8), CCompoundFile::kSignature);
  EXPECT_EQ(bytes.size() % 512, 0u);
  EXPECT_EQ(bytes, CCompoundFile::Write(file)) << "the same file each time";
  const SCompoundFile back = CCompoundFile::Read(bytes);
  ExpectSameStorage(file, back, "root");
  ASSERT_NE(back.Storage(u"OBJECTPOOL"), nullptr) << "names compare ignoring case";
  EXPECT_NE(back.Stream(u"CONTENTS"), nullptr) << "names compare ignoring case";
  EXPECT_EQ(back.Stream(u"Content"), nullptr);
  EXPECT_EQ(back.Storage(u"Contents"), nullptr) << "a stream is no storage";
  EXPECT_EQ(back.Stream(u"ObjectPool"), nullptr) << "a storage is no stream";
  EXPECT_EQ(back.Storage(u"ObjectPool")->Storage(u"_1234")->Stream(u"Contents")->size(), 6000u);

  std::vector<std::u16string> storages;
  CheckTrees(bytes, 0, storages);
  EXPECT_EQ(storages, (std::vector<std::u16string>{u"b", u"ObjectPool", u"_12", u"_1234"}));
  std::vector<std::uint32_t> pool;
  Walk(bytes, DirEntry(bytes, IdOf(bytes, u"ObjectPool")).child, pool, false);
  EXPECT_EQ(NamesOf(bytes, pool), (std::vector<std::u16string>{u"x", u"_12", u"Beta", u"alpha", u"ALPHB", u"_1234"}));

  // Many siblings at every level still form valid trees.
  SCompoundFile wide;
  SStorage* level = &wide;
  for (int depth = 0; depth < 3; ++depth) {
    for (int i = 0; i < 21; ++i) level->streams.emplace_back(u"s" + std::u16string(static_cast<size_t>(i % 4 + 1), static_cast<char16_t>(u'a' + i)), "");
    for (int i = 0; i < 10; ++i) level->storages.push_back(SStorage{u"T" + std::u16string(static_cast<size_t>(i % 3 + 1), static_cast<char16_t>(u'A' + i)), {}, {}, {}});
    level = &level->storages[4];
  }
  const std::string wideBytes = CCompoundFile::Write(wide);
  storages.clear();
  CheckTrees(wideBytes, 0, storages);
  EXPECT_EQ(storages.size(), 30u);
  ExpectSameStorage(wide, CCompoundFile::Read(wideBytes), "wide");
}

TEST(CompoundFile, LargeFilesListTheirAllocationSectorsBeyondTheHeader) {
  SCompoundFile file = Nested();
  // 17 MB need more allocation sectors than the header and one extension sector list.
  std::string large(17 * 1024 * 1024, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 131 + i / 512) % 251);
  file.storages[0].storages[0].streams.emplace_back(u"Large", large);
  const std::string bytes = CCompoundFile::Write(file);
  const std::uint32_t fatSectors = Le32At(bytes, 44), difatSectors = Le32At(bytes, 72);
  EXPECT_GT(fatSectors, 109u + 127u);
  EXPECT_EQ(difatSectors, 2u);
  // Every allocation sector is listed, once, and marked as such in the table; the
  // extension sectors are marked too and their chain ends.
  std::vector<std::uint32_t> listed;
  for (size_t i = 0; i < 109; ++i) listed.push_back(Le32At(bytes, 76 + i * 4));
  std::uint32_t extension = Le32At(bytes, 68);
  for (std::uint32_t d = 0; d < difatSectors; ++d) {
    ASSERT_LT(extension, bytes.size() / 512);
    for (size_t i = 0; i < 127; ++i) listed.push_back(Le32At(bytes, (extension + 1) * 512 + i * 4));
    const std::uint32_t fatOfExtension = Le32At(bytes, (listed[extension / 128] + 1) * 512 + (extension % 128) * 4);
    EXPECT_EQ(fatOfExtension, 0xFFFFFFFCu);
    extension = Le32At(bytes, (extension + 1) * 512 + 508);
  }
  EXPECT_EQ(extension, 0xFFFFFFFEu);
  for (size_t i = 0; i < listed.size(); ++i) {
    if (i >= fatSectors) {
      EXPECT_EQ(listed[i], kNone) << i;
      continue;
    }
    const std::uint32_t id = listed[i];
    EXPECT_EQ(Le32At(bytes, (listed[id / 128] + 1) * 512 + (id % 128) * 4), 0xFFFFFFFDu) << i;
  }
  ExpectSameStorage(file, CCompoundFile::Read(bytes), "root");

  // Just under and over the header's 109 allocation sectors.
  for (size_t sectors : {109u * 128 - 200, 109u * 128 + 200}) {
    SCompoundFile edge;
    edge.streams = {{u"Data", large.substr(0, sectors * 512)}};
    const std::string edgeBytes = CCompoundFile::Write(edge);
    EXPECT_EQ(Le32At(edgeBytes, 72), sectors > 109u * 128 ? 1u : 0u) << sectors;
    EXPECT_EQ(*CCompoundFile::Read(edgeBytes).Stream(u"Data"), edge.streams[0].second) << sectors;
  }
}

TEST(CompoundFile, HostileFilesAreClearErrorsNotHangs) {
  const std::string good = CCompoundFile::Write(Sample());
  const size_t contents = EntryOf(good, u"Contents"), compObj = EntryOf(good, u"\1CompObj");
  ASSERT_NE(contents, 0u);
  ASSERT_NE(compObj, 0u);
  const std::uint32_t first = Le32At(good, contents + 116);

  std::string looping = good;  // the large stream's second sector leads back to its first
  Put32(looping, 512 + (first + 1) * 4, first);
  EXPECT_NE(ReadError(looping).find("loops"), std::string::npos) << ReadError(looping);

  std::string outside = good;
  Put32(outside, contents + 116, 0x00FFFFFF);
  EXPECT_NE(ReadError(outside).find("leaves the file"), std::string::npos) << ReadError(outside);

  std::string longer = good;  // more bytes claimed than the chain holds
  Put32(longer, compObj + 120, 3000);
  EXPECT_NE(ReadError(longer).find("longer than its sectors"), std::string::npos) << ReadError(longer);

  std::string cycle = good;  // an entry that is its own sibling
  Put32(cycle, contents + 68, static_cast<std::uint32_t>((contents - kDirectory) / 128));
  EXPECT_NE(ReadError(cycle).find("loops"), std::string::npos) << ReadError(cycle);

  std::string sectorSize = good;
  sectorSize[30] = 20;
  EXPECT_NE(ReadError(sectorSize).find("sector size"), std::string::npos);
  EXPECT_NE(ReadError(good.substr(0, 700)).find("leaves the file"), std::string::npos) << ReadError(good.substr(0, 700));
  EXPECT_NE(ReadError("not a compound file").find("no signature"), std::string::npos);
  std::string fats = good;  // more allocation sectors than the file has
  Put32(fats, 44, 1000000);
  EXPECT_NE(ReadError(fats).find("more allocation sectors"), std::string::npos);
}

TEST(CompoundFile, HostileStorageTreesAreClearErrors) {
  const std::string good = CCompoundFile::Write(Nested());
  const std::uint32_t pool = IdOf(good, u"ObjectPool"), object = IdOf(good, u"_1234"), empty = IdOf(good, u"b");
  auto child = [](std::uint32_t id) { return kDirectory + size_t{id} * 128 + 76; };
  for (std::uint32_t target : {pool, object, 0u}) {  // a storage below itself
    std::string cycle = good;
    Put32(cycle, child(object), target);
    EXPECT_NE(ReadError(cycle).find("the directory tree loops"), std::string::npos) << target << ": " << ReadError(cycle);
  }
  std::string siblings = good;  // a loop through the siblings of a storage below the root
  Put32(siblings, kDirectory + IdOf(good, u"x") * 128 + 68, Le32At(good, child(pool)));
  EXPECT_NE(ReadError(siblings).find("the directory tree loops"), std::string::npos) << ReadError(siblings);

  std::string shared = good;  // an entry below two storages
  Put32(shared, child(empty), IdOf(good, u"_12"));
  EXPECT_NE(ReadError(shared).find("reached twice"), std::string::npos) << ReadError(shared);
  std::string twice = good;  // a storage listed by its parent and by its sibling
  Put32(twice, child(empty), object);
  EXPECT_NE(ReadError(twice).find("reached twice"), std::string::npos) << ReadError(twice);

  // Storages written side by side, then linked each below the one before.
  for (int levels : {CCompoundFile::kMaxDepth, CCompoundFile::kMaxDepth + 1}) {
    SCompoundFile flat;
    std::vector<std::u16string> names;
    for (int i = 0; i < levels; ++i) {
      names.push_back(u"S" + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) + static_cast<char16_t>(u'0' + i % 10));
      flat.storages.push_back(SStorage{names.back(), {}, {}, {}});
    }
    flat.storages.back().streams = {{u"Bottom", "deepest"}};
    std::string chained = CCompoundFile::Write(flat);
    Put32(chained, child(0), IdOf(chained, names[0]));
    for (int i = 0; i < levels; ++i) {
      const size_t at = kDirectory + IdOf(chained, names[static_cast<size_t>(i)]) * 128;
      Put32(chained, at + 68, kNone);
      Put32(chained, at + 72, kNone);
      if (i + 1 < levels) Put32(chained, at + 76, IdOf(chained, names[static_cast<size_t>(i) + 1]));
    }
    if (levels > CCompoundFile::kMaxDepth) {
      EXPECT_NE(ReadError(chained).find("storages nest deeper than 32"), std::string::npos) << ReadError(chained);
      continue;
    }
    const SCompoundFile read = CCompoundFile::Read(chained);
    const SStorage* walk = &read;
    for (const std::u16string& name : names) {
      ASSERT_EQ(walk->storages.size(), 1u);
      walk = walk->Storage(name);
      ASSERT_NE(walk, nullptr);
    }
    EXPECT_EQ(*walk->Stream(u"Bottom"), "deepest");
  }
}


// The allocation table's extension starts in a last sector of only a few bytes.
TEST(CompoundFile, AShortLastSectorIsAnErrorNotAReadPastTheEnd) {
  for (size_t tail : {1u, 2u, 3u, 5u}) {
    std::string bytes = CCompoundFile::Write(Sample());
    bytes.resize(512 + 110 * 512 + tail, '\0');
    Put32(bytes, 44, 110);   // one allocation sector more than the header lists
    Put32(bytes, 68, 110);   // listed in the short last sector
    EXPECT_NE(ReadError(bytes).find("cut short"), std::string::npos) << tail << ": " << ReadError(bytes);
  }
}

TEST(CompoundFile, TheMiniStreamCutoffIsTheFormatsNotTheFiles) {
  std::string bytes = CCompoundFile::Write(Sample());
  Put32(bytes, 56, 0xFFFFFFFF);
  EXPECT_NE(ReadError(bytes).find("cutoff"), std::string::npos) << ReadError(bytes);
}

// Empty streams whose chains point anywhere are read without following them, and
// a chain is followed only as far as its stream's size needs.
TEST(CompoundFile, ChainsAreFollowedOnlyAsFarAsTheStreamNeeds) {
  std::string bytes = CCompoundFile::Write(Sample());
  Put32(bytes, EntryOf(bytes, u"Empty") + 116, 0x00FFFFFF);
  const size_t contents = EntryOf(bytes, u"Contents");
  // The large stream's last sector now leads outside the file; its 5000 bytes end before.
  const std::uint32_t last = Le32At(bytes, contents + 116) + 9;
  Put32(bytes, 512 + last * 4, 0x00FFFFFF);
  const SCompoundFile read = CCompoundFile::Read(bytes);
  EXPECT_EQ(*read.Stream(u"Empty"), "");
  EXPECT_EQ(*read.Stream(u"Contents"), Sample().streams[1].second);
}

}  // namespace
