#include <gtest/gtest.h>

#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"

namespace {

const CLSID kClass = *CGuid::Parse(u"{7B1E52C6-93D0-4A6F-B2E8-5C91D04F3A27}");

std::uint32_t U32(const std::string& b, size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

void Put32(std::string& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i, v >>= 8) b[at + static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
}

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

TEST(CompoundFile, WrittenFilesReadBackWithClassAndStreams) {
  const SCompoundFile file = Sample();
  const std::string bytes = CCompoundFile::Write(file);
  EXPECT_EQ(bytes.substr(0, 8), CCompoundFile::kSignature);
  EXPECT_EQ(bytes.size() % 512, 0u);
  const SCompoundFile back = CCompoundFile::Read(bytes);
  EXPECT_EQ(back.clsid, kClass);
  ASSERT_EQ(back.streams.size(), 3u);
  for (const auto& [name, data] : file.streams) {
    const std::string* read = back.Stream(name);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(*read, data);
  }
  EXPECT_NE(back.Stream(u"CONTENTS"), nullptr) << "names compare ignoring case";
  EXPECT_EQ(back.Stream(u"Content"), nullptr);
}

TEST(CompoundFile, EveryStreamOfALargeDirectoryIsFound) {
  for (size_t count : {0u, 1u, 2u, 7u, 8u, 40u}) {
    SCompoundFile file;
    for (size_t i = 0; i < count; ++i)
      file.streams.emplace_back(u"S" + std::u16string(i % 5 + 1, static_cast<char16_t>(u'a' + i % 26)) + char16_t(u'0' + i / 26),
                                std::string(i * 37, static_cast<char>(i)));
    const SCompoundFile back = CCompoundFile::Read(CCompoundFile::Write(file));
    ASSERT_EQ(back.streams.size(), count);
    for (const auto& [name, data] : file.streams) {
      ASSERT_NE(back.Stream(name), nullptr);
      EXPECT_EQ(*back.Stream(name), data);
    }
  }
}

TEST(CompoundFile, StreamNamesMustBeShortAndUnique) {
  for (const std::u16string& second : {std::u16string(u"A"), std::u16string(32, u'n'), std::u16string()}) {
    SCompoundFile file;
    file.streams = {{u"a", "1"}, {second, "2"}};
    EXPECT_THROW(CCompoundFile::Write(file), CComError);
  }
  SCompoundFile longest;
  longest.streams = {{std::u16string(31, u'n'), "fits"}};
  EXPECT_EQ(*CCompoundFile::Read(CCompoundFile::Write(longest)).Stream(std::u16string(31, u'n')), "fits");
}

TEST(CompoundFile, HostileFilesAreClearErrorsNotHangs) {
  const std::string good = CCompoundFile::Write(Sample());
  const size_t contents = EntryOf(good, u"Contents"), compObj = EntryOf(good, u"\1CompObj");
  ASSERT_NE(contents, 0u);
  ASSERT_NE(compObj, 0u);
  const std::uint32_t first = U32(good, contents + 116);

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

}  // namespace
