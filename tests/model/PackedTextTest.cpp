#include <gtest/gtest.h>

#include <random>

#include "RecordTestSupport.h"
#include "folio/model/CKORIControlValue.h"

namespace {

using V = CKORIControlValue;

const char16_t kResetText[] =
    u"KORI {\r\n\tVersion: 2000\r\n\tGroup: \r\n\tField: \r\n\tParameter 1: None\r\n"
    u"\tParameter 2: None\r\n\tImage statistics: None\r\n\tBatch statistics: None\r\n"
    u"\tResolution factor: 2.00000\r\n\tScale font: 1\r\n\tShow Value/Unit: 0\r\n"
    u"\tPicture aspect option: 1\r\n\tBody section: True\r\n}";

CStr Packed(const char16_t* group, const char16_t* body = u"True", const char16_t* version = u"2000") {
  return CStr(u"KORI {\n\tVersion: ") + version + u"\n\tGroup: " + group +
         u"\n\tField: range\n\tParameter 1: XAxis\n\tParameter 2: None\n"
         u"\tImage statistics: Mean\n\tBatch statistics: SD\n\tResolution factor: 0.250000\n"
         u"\tScale font: 0\n\tShow Value/Unit: 2\n\tPicture aspect option: 3\n\tBody section: " +
         body + u"\n}";
}

bool UnpackInto(V& v, CStr text) { return v.Unpack(text); }

TEST(PackedTextWrite, ResetRecordGivesTheCanonicalText) {
  V v;
  EXPECT_EQ(v.Pack(), CStr(kResetText));
  v.SetResolutionFactor(0.25f);
  v.SetScaleFont(false);
  v.SetPictureOptions(-1);
  v.SetBody(false);
  const CStr packed = v.Pack();
  EXPECT_NE(packed.Find(u"\tResolution factor: 0.250000\r\n"), CStr::npos);
  EXPECT_NE(packed.Find(u"\tPicture aspect option: -1\r\n"), CStr::npos);
  EXPECT_NE(packed.Find(u"\tBody section: False\r\n}"), CStr::npos);
  v.SetResolutionFactor(1.5e7f);
  EXPECT_NE(v.Pack().Find(u"\tResolution factor: 1.50000E+07\r\n"), CStr::npos);
}

// Every key is read in the round trip below; here the forms of the text.
TEST(PackedTextRead, ReadsAnyLineEndFormAndTheFrameworkString) {
  V v, w, framework;
  ASSERT_TRUE(UnpackInto(v, Packed(u"Gr\u00E4in")));
  EXPECT_EQ(v.GetGroup(), CStr(u"Gr\u00E4in"));
  EXPECT_EQ(v.GetPictureOptions(), 3);
  CStr blankLines = Packed(u"Gr\u00E4in");
  blankLines.Replace(u"\n", u"\r\n\r\n");
  ASSERT_TRUE(UnpackInto(w, blankLines + u"\r\n"));
  ExpectSameRecord(v, w);
  CString text(Packed(u"Gr\u00E4in"));
  ASSERT_TRUE(framework.Unpack(text));
  ExpectSameRecord(v, framework);
}

TEST(PackedTextRead, FourteenLinesBetweenUntrimmedFirstAndLastLines) {
  V v;
  EXPECT_FALSE(UnpackInto(v, CStr(u"KORI{") + Packed(u"G").Mid(6)));
  EXPECT_FALSE(UnpackInto(v, u" " + Packed(u"G")));
  EXPECT_FALSE(UnpackInto(v, Packed(u"G") + u" "));
  EXPECT_TRUE(UnpackInto(v, Packed(u"G") + u"\r\n"));
  CStr extra = Packed(u"G");
  extra.Replace(u"\tField: range\n", u"\tField: range\n\tField: range\n");
  EXPECT_FALSE(UnpackInto(v, extra));
  CStr missing = Packed(u"G");
  missing.Replace(u"\tField: range\n", u"");
  EXPECT_FALSE(UnpackInto(v, missing));
  EXPECT_FALSE(UnpackInto(v, u""));
  EXPECT_FALSE(UnpackInto(v, u"\r\n\r\n"));
}

TEST(PackedTextRead, KeyLinesSplitAtColons) {
  V v;
  CStr noValue = Packed(u"X");
  noValue.Replace(u"\tGroup: X", u"\tGroup:");
  EXPECT_FALSE(UnpackInto(v, noValue));
  EXPECT_TRUE(UnpackInto(v, Packed(u" ")));
  EXPECT_TRUE(v.GetGroup().IsEmpty());
  EXPECT_FALSE(UnpackInto(v, Packed(u"C:\\x")));  // a colon inside a value
  EXPECT_TRUE(UnpackInto(v, Packed(u"  Grain\t")));
  EXPECT_EQ(v.GetGroup(), CStr(u"Grain"));
  CStr unknownKey = Packed(u"G");
  unknownKey.Replace(u"Field:", u"field:");
  EXPECT_FALSE(UnpackInto(v, unknownKey));
}

TEST(PackedTextRead, ValuesMustConvert) {
  V v;
  EXPECT_FALSE(UnpackInto(v, Packed(u"G", u"true")));
  EXPECT_TRUE(UnpackInto(v, Packed(u"G", u"False")));
  EXPECT_FALSE(v.GetBody());
  EXPECT_FALSE(UnpackInto(v, Packed(u"G", u"True", u"2.0")));
  ASSERT_TRUE(UnpackInto(v, Packed(u"G", u"True", u"2001")));
  unsigned major = 0, minor = 0;
  v.GetVersion(&major, &minor);
  EXPECT_EQ(major, 2u);
  EXPECT_EQ(minor, 1u);
  CStr badNumber = Packed(u"G");
  badNumber.Replace(u"Scale font: 0", u"Scale font: 1x");
  EXPECT_FALSE(UnpackInto(v, badNumber));
  CStr wide = Packed(u"G");
  wide.Replace(u"Picture aspect option: 3", u"Picture aspect option: 65537");
  ASSERT_TRUE(UnpackInto(v, wide));
  EXPECT_EQ(v.GetPictureOptions(), 1);  // low 16 bits
}

TEST(PackedTextRead, RepeatedKeyLeavesAnotherAtItsStartValue) {
  V v;
  v.SetVersion(1003u);
  CStr noVersion = Packed(u"G");
  noVersion.Replace(u"\tVersion: 2000\n", u"\tGroup: First\n");
  ASSERT_TRUE(UnpackInto(v, noVersion));
  EXPECT_EQ(v.GetGroup(), CStr(u"G"));  // the later line wins
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1003u);
  CStr noFactor = Packed(u"G");
  noFactor.Replace(u"\tResolution factor: 0.250000\n", u"\tField: again\n");
  ASSERT_TRUE(UnpackInto(v, noFactor));
  EXPECT_EQ(v.GetResolutionFactor(), 1.0f);
}

TEST(PackedTextRead, FailureKeepsLinesReadSoFarAndVersion) {
  V v;
  v.SetVersion(1000u);
  v.SetUnitOptions(1);
  CStr text = Packed(u"Grain");
  text.Replace(u"\tShow Value/Unit: 2", u"\tShow Value/Unit: two");
  EXPECT_FALSE(UnpackInto(v, text));
  EXPECT_EQ(v.GetGroup(), CStr(u"Grain"));        // before the failing line
  EXPECT_EQ(v.GetUnitOptions(), 0);               // start value
  EXPECT_EQ(v.GetPictureOptions(), 0);            // never reached
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1000u);
  CStr emptyStatistics = Packed(u"G");
  emptyStatistics.Replace(u"Mean", u"");
  emptyStatistics.Replace(u"SD", u"");
  ASSERT_TRUE(UnpackInto(v, emptyStatistics));
  EXPECT_EQ(v.GetStatistics1(), CStr(u"None"));
  EXPECT_EQ(v.GetStatistics2(), CStr(u"None"));
  EXPECT_FALSE(UnpackInto(v, u"garbage"));
  EXPECT_EQ(v.GetStatistics1(), CStr(u"None"));
}

CStr RandomName(std::mt19937& rng) {
  static const char16_t alphabet[] = u"abcXYZ019 _-./\u00E9\u00B5\u4E2D";
  std::uniform_int_distribution<int> length(1, 12), pick(0, std::size(alphabet) - 2);
  CStr name;
  for (int i = length(rng); i > 0; --i) name += alphabet[pick(rng)];
  return name.Trimmed().IsEmpty() ? CStr(u"x") : name.Trimmed();
}

TEST(PackedTextRoundTrip, GeneratedRecordsSurvivePackAndUnpack) {
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> small(-40000, 40000);
  std::uniform_real_distribution<float> factor(-1e6f, 1e6f);
  for (int i = 0; i < 2000; ++i) {
    V source;
    source.SetVersion(static_cast<std::uint32_t>(rng() % 100000));
    source.SetGroup(RandomName(rng));
    source.SetField(RandomName(rng));
    source.SetParameter1(RandomName(rng));
    source.SetParameter2(RandomName(rng));
    source.SetStatistics1(RandomName(rng));
    source.SetStatistics2(RandomName(rng));
    source.SetResolutionFactor(i % 3 ? factor(rng) : 1e-7f * static_cast<float>(i));
    source.SetScaleFont(i % 2);
    source.SetUnitOptions(static_cast<short>(small(rng)));
    source.SetPictureOptions(static_cast<short>(small(rng)));
    source.SetBody(i % 5 != 0);
    CStr packed = source.Pack();
    V target;
    ASSERT_TRUE(target.Unpack(packed)) << packed.ToUtf8();
    // Only six significant digits of the factor are written.
    const float written = static_cast<float>(
        CStr::DoStringFormat(u"%.6G", source.GetResolutionFactor()).AsDouble());
    source.SetResolutionFactor(written);
    ExpectSameRecord(target, source);
    EXPECT_EQ(target.Pack(), packed);
  }
}

}  // namespace
