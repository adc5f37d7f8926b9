#include <gtest/gtest.h>

#include "folio/util/TextFile.h"
#include "util/ScratchFolder.h"
#include "util/UtilTestSupport.h"

namespace {

using TextFile::EEncoding;

TEST(TextDecoding, ByteOrderMarkMeansUtf16LittleEndian) {
  const std::string bytes("\xFF\xFE" "A\0\xE9\0\x3D\xD8\x00\xDE", 10);
  EXPECT_EQ(TextFile::DetectEncoding(bytes), EEncoding::eUtf16Le);
  EXPECT_EQ(TextFile::Decode(bytes), CStr(u"A\u00e9\U0001F600"));
  EXPECT_EQ(TextFile::Decode(std::string("\xFF\xFE", 2)), CStr(u""));
  // A final odd byte cannot be a code unit.
  EXPECT_EQ(TextFile::Decode(std::string("\xFF\xFE" "A\0B", 5)), CStr(u"A\uFFFD"));
}

TEST(TextDecoding, ValidUtf8WithNonAsciiBytesIsUtf8) {
  EXPECT_EQ(TextFile::DetectEncoding("caf\xC3\xA9"), EEncoding::eUtf8);
  EXPECT_EQ(TextFile::Decode("caf\xC3\xA9 \xE2\x82\xAC"), CStr(u"caf\u00e9 \u20ac"));
  // The UTF-8 mark is no part of the text.
  EXPECT_EQ(TextFile::Decode("\xEF\xBB\xBFx\xC3\xA9"), CStr(u"x\u00e9"));
}

TEST(TextDecoding, EverythingElseIsWidenedByteByByte) {
  EXPECT_EQ(TextFile::DetectEncoding("plain <b>ascii</b>"), EEncoding::eLatin1);
  EXPECT_EQ(TextFile::Decode("plain"), CStr(u"plain"));
  // 0xE9 alone is not UTF-8: Latin-1 e-acute.
  EXPECT_EQ(TextFile::DetectEncoding("caf\xE9"), EEncoding::eLatin1);
  EXPECT_EQ(TextFile::Decode("caf\xE9 \xFE\xFF"), CStr(u"caf\u00e9 \u00fe\u00ff"));
  // A big-endian mark is not recognised.
  EXPECT_EQ(TextFile::Decode(std::string("\xFE\xFF\0A", 4)), CStr(u"\u00fe\u00ff\0A", 4));
  EXPECT_EQ(TextFile::Decode(""), CStr(u""));
}

TEST(TextEncoding, Utf16StartsWithTheMarkAndIsLittleEndian) {
  EXPECT_EQ(TextFile::EncodeUtf16(u"A\u20ac"), std::string("\xFF\xFE" "A\0\xAC\x20", 6));
  EXPECT_EQ(TextFile::EncodeUtf16(u""), std::string("\xFF\xFE"));
}

TEST(TextFiles, WrittenTextReadsBackUnchangedAndEachKindOfFileIsRead) {
  ScratchFolder folder;
  const CStr text(u"<p>\u00e9\u4e2d\U0001F600\r\n\0x</p>", 15);
  TextFile::Write(folder / "r.htm", text);
  EXPECT_EQ(folder.Read("r.htm"), TextFile::EncodeUtf16(text));
  EXPECT_EQ(TextFile::Read(folder / "r.htm"), text);
  // Writing replaces the whole file.
  TextFile::Write(folder / "r.htm", u"x");
  EXPECT_EQ(TextFile::Read(folder / "r.htm"), CStr(u"x"));
  EXPECT_EQ(TextFile::Read(folder.Write("u8.htm", "\xC3\xA9t\xC3\xA9")), CStr(u"\u00e9t\u00e9"));
  EXPECT_EQ(TextFile::Read(folder.Write("l1.htm", "\xE9t\xE9")), CStr(u"\u00e9t\u00e9"));
  EXPECT_EQ(TextFile::ReadBytes(folder / "l1.htm"), "\xE9t\xE9");
}

TEST(TextFiles, FailuresNameThePathAndTheReason) {
  ScratchFolder folder;
  const CStr missing = folder / "missing.htm";
  EXPECT_EQ(FailureOf([&] { TextFile::Read(missing); }),
            u"TextFile::Read: Unable to open \"" + missing + u"\": No such file or directory");
  EXPECT_EQ(FailureOf([&] { TextFile::Read(folder.Text()); }),
            u"TextFile::Read: Unable to read \"" + folder.Text() + u"\": Is a directory");
  const CStr nowhere = folder / "no/such/r.htm";
  EXPECT_EQ(FailureOf([&] { TextFile::Write(nowhere, u"x"); }),
            u"TextFile::Write: Unable to create \"" + nowhere + u"\": No such file or directory");
}

TEST(TextFiles, WriteFailuresAreReported) {
  ScratchFolder folder;
  const CStr path = folder / "big.htm";
  FileSizeLimit limit(16);
  EXPECT_EQ(FailureOf([&] { TextFile::Write(path, CStr(100, u'x')); }),
            u"TextFile::Write: Unable to write \"" + path + u"\": File too large");
}

}  // namespace
