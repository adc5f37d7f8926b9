#include <gtest/gtest.h>

#include "folio/util/CStr.h"
#include "util/UtilTestSupport.h"

namespace {

TEST(CStrConversion, NumbersAcceptSurroundingWhiteSpaceOnly) {
  EXPECT_DOUBLE_EQ(CStr(u" 2.5E+1\t").AsDouble(), 25.0);
  EXPECT_DOUBLE_EQ(CStr(u"2.00000").AsDouble(), 2.0);
  EXPECT_EQ(CStr(u"\r\n-42 ").AsLong(), -42);
  EXPECT_EQ(FailureOf<EInput>([] { CStr(u"2.0").AsLong(); }),
            CStr(u"CStr::AsLong: Could not convert to value of type long: \"2.0\""));
  EXPECT_EQ(FailureOf<EInput>([] { CStr(u"1.5x").AsDouble(); }),
            CStr(u"CStr::AsDouble: Could not convert to value of type double: \"1.5x\""));
  EXPECT_EQ(FailureOf<EInput>([] { CStr(u"").AsDouble(); }),
            CStr(u"CStr::AsDouble: Could not convert to value of type double: \"\""));
  // long keeps the host's 32-bit range on every platform.
  EXPECT_EQ(CStr(u"2147483647").AsLong(), 2147483647L);
  EXPECT_THROW(CStr(u"2147483648").AsLong(), EInput);
  EXPECT_THROW(CStr(u"1e999").AsDouble(), EInput);
}

TEST(CStrConversion, BoolComparesExactlyThenTrimmed) {
  EXPECT_TRUE(CStr(u"True").AsBool(u"True", u"False"));
  EXPECT_FALSE(CStr(u" False ").AsBool(u"True", u"False"));
  EXPECT_EQ(FailureOf<EInput>([] { CStr(u"true").AsBool(u"True", u"False"); }),
            CStr(u"CStr::AsBool: Could not convert to value of type bool: \"true\" with True=\"True\" and "
                 u"False=\"False\""));
}

TEST(CStrConversion, ErrorsCarryTheirLocation) {
  try {
    CStr(u"x").AsLong();
    FAIL();
  } catch (const EBase& e) {
    EXPECT_TRUE(e.GetLocation().StartsWith(u"CStr.cpp("));
    EXPECT_TRUE(e.GetLocation().EndsWith(u")"));
  }
}

TEST(CStrUtf8, RoundTripsEveryPlane) {
  const std::string text = "Ra = 1.2 \xC2\xB5m \xE2\x80\x93 \xF0\x9F\x94\xAC caf\xC3\xA9";
  const CStr wide = CStr::FromUtf8(text);
  EXPECT_EQ(wide.GetLength(), 21u);  // the microscope is a surrogate pair
  EXPECT_EQ(wide.ToUtf8(), text);
}

TEST(CStrUtf8, MalformedInputBecomesReplacementCharacter) {
  EXPECT_EQ(CStr::FromUtf8("a\xC3(b"), CStr(u"a\uFFFD(b"));
  EXPECT_EQ(CStr::FromUtf8("\xC0\xAF"), CStr(u"\uFFFD\uFFFD"));  // overlong '/'
  EXPECT_EQ(CStr::FromUtf8("\xED\xA0\x80").GetLength(), 3u);      // encoded surrogate
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(CStr(lone).ToUtf8(), "a\xEF\xBF\xBD" "b");
}

TEST(CStrFormat, TextAndNumberConversions) {
  EXPECT_EQ(CStr::DoStringFormat(u"The Report file \"%s\" is %li%%", CStr(u"r.htm"), 42L),
            CStr(u"The Report file \"r.htm\" is 42%"));
  EXPECT_EQ(CStr::DoStringFormat(u"%#*.*G|%#*.*G", 0, 6, 2.0, 0, 6, 0.25),
            CStr(u"2.00000|0.250000"));
  EXPECT_EQ(CStr::DoStringFormat(u"%c%c", char16_t(0x00B5), u'm'), CStr(u"\u00B5m"));
  EXPECT_EQ(CStr::DoStringFormat(u"0x%X", 0x800401F0u), CStr(u"0x800401F0"));
  EXPECT_EQ(CStr::DoStringFormat(u"[%5s|%-4s|%.2s]", CStr(u"ab"), CStr(u"c"), CStr(u"xyz")),
            CStr(u"[   ab|c   |xy]"));
  EXPECT_EQ(CStr::DoStringFormat(u"%10.8G", 0.05), CStr(u"      0.05"));
}

TEST(CStrFormat, MisuseAndOverflowThrow) {
  EXPECT_THROW(CStr::DoStringFormat(u"%s", 5), EBase);
  EXPECT_THROW(CStr::DoStringFormat(u"%d %d", 5), EBase);
  EXPECT_THROW(CStr::DoStringFormat(u"%d", CStr(u"5")), EBase);
  EXPECT_THROW(CStr::DoStringFormat(u"50%"), EBase);
  // Just inside and just past (length + 512) * 1024 units.
  const CStr fits(((2 + 512) << 10) - 1, u'x');
  EXPECT_EQ(CStr::DoStringFormat(u"%s", fits).GetLength(), fits.GetLength());
  EXPECT_EQ(FailureOf([&] { CStr::DoStringFormat(u"%s", fits + u"x"); }),
            CStr(u"CStr::DoStringFormat: Unable to write formatted string \"%s\""));
}

TEST(CStrText, TrimLowerReplace) {
  EXPECT_EQ(CStr(u" \t a b \r\n").Trimmed(), CStr(u"a b"));
  EXPECT_EQ(CStr(u"Report.HTM").LowerAscii(), CStr(u"report.htm"));
  CStr s(u"GrainMeanMeanArea");
  EXPECT_EQ(s.Replace(u"Mean", u""), 2u);
  EXPECT_EQ(s, CStr(u"GrainArea"));
  CStr grows(u"aa");
  EXPECT_EQ(grows.Replace(u"a", u"aa"), 2u);  // what the replacement brings is not replaced again
  EXPECT_EQ(grows, CStr(u"aaaa"));
  CStr none(u"abc");
  EXPECT_EQ(none.Replace(u"x", u"y"), 0u);
  EXPECT_EQ(none.Replace(u"", u"y"), 0u);
  EXPECT_EQ(none, CStr(u"abc"));
}

// Many replacements of a different length: one pass, not one tail move per match.
TEST(CStrText, ReplacesMillionsOfMatchesInOnePass) {
  std::u16string text;
  for (int i = 0; i < 1000000; ++i) text += u"{x}.";
  CStr s(text);
  EXPECT_EQ(s.Replace(u"{x}", u"value"), 1000000u);
  EXPECT_EQ(s.GetLength(), 6000000u);
  EXPECT_EQ(s.Mid(0, 12), CStr(u"value.value."));
}

}  // namespace
