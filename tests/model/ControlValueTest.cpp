#include <gtest/gtest.h>

#include <cmath>

#include "RecordTestSupport.h"
#include "folio/model/CKORIControlValue.h"
#include "folio/platform/host/HostTables.h"

namespace {

using V = CKORIControlValue;

TEST(ControlValueVersion, CombinesMajorAndMinor) {
  V v;
  v.SetVersion(2001u);
  unsigned int major = 0, minor = 0;
  EXPECT_EQ(v.GetVersion(&major, &minor), 2001u);
  EXPECT_EQ(major, 2u);
  EXPECT_EQ(minor, 1u);
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 2001u);
  v.SetVersion(999u);
  EXPECT_EQ(v.GetVersion(&major, &minor), 999u);
  EXPECT_EQ(major, 0u);
  v.SetVersion(1u, 0u);
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1000u);
  EXPECT_EQ(V().GetVersion(nullptr, nullptr), V::kCurrentVersion);
}

TEST(ControlValueStatistics, EmptyNameStoresNone) {
  V v;
  v.SetStatistics1(u"");
  v.SetStatistics2(u"");
  EXPECT_EQ(v.GetStatistics1(), CStr(u"None"));
  EXPECT_EQ(v.GetStatistics2(), CStr(u"None"));
  v.SetStatistics1(u"Mean");
  EXPECT_EQ(v.GetStatistics1(), CStr(u"Mean"));
}

V Picture(short options, float height, float width) {
  V v;
  v.SetPictureOptions(options);
  v.SetHeight(height);
  v.SetWidth(width);
  return v;
}

TEST(ControlValuePictureOptions, AspectFitAndAxis) {
  struct { short options; float h, w; bool keep, fit; V::EAxis axis; } cases[] = {
      {0, 10, 20, true, true, V::eAxisY},  {0, 20, 10, true, true, V::eAxisX},
      {0, 10, 10, true, true, V::eAxisX},  {1, 20, 10, true, false, V::eAxisX},
      {2, 10, 20, true, false, V::eAxisY}, {3, 10, 10, false, false, V::eAxisX},
      {3, 20, 10, false, false, V::eAxisY}, {3, 10, 20, false, false, V::eAxisX},
      {7, 20, 10, false, false, V::eAxisY}, {-1, 10, 10, false, false, V::eAxisX},
  };
  for (const auto& c : cases) {
    V v = Picture(c.options, c.h, c.w);
    EXPECT_EQ(v.KeepAspectRatio(), c.keep) << c.options;
    EXPECT_EQ(v.BestFit(), c.fit) << c.options;
    EXPECT_EQ(v.FixedAxis(), c.axis) << c.options << " " << c.h << "x" << c.w;
  }
  const float nan = std::nanf("");
  EXPECT_EQ(Picture(0, nan, 10).FixedAxis(), V::eAxisY);
  EXPECT_EQ(Picture(3, 10, nan).FixedAxis(), V::eAxisY);
}

TEST(ControlValueReset, RestoresDescriptionDefaultsAndKeepsValueTexts) {
  V v;
  v.SetVersion(1000u);
  v.SetType(V::eFloat);
  v.SetText(u"old text");
  v.SetUnit(u"nm");
  v.SetFilename(u"a.png");
  v.SetMessage(u"old message");
  v.SetGroup(u"Grain");
  v.SetPictureOptions(3);
  v.SetResolutionFactor(4);
  v.SetScaleFont(false);
  v.SetUnitOptions(2);
  v.SetBody(false);
  v.SetFloat(2.5);
  v.SetChar(u'x');
  v.SetHeight(12);
  v.Reset();
  EXPECT_EQ(v.GetType(), V::eNone);
  EXPECT_EQ(v.GetPictureOptions(), 1);
  EXPECT_EQ(v.GetResolutionFactor(), 2.0f);
  EXPECT_EQ(v.GetScaleFont(), 1);
  EXPECT_EQ(v.GetUnitOptions(), 0);
  EXPECT_TRUE(v.GetBody());
  EXPECT_EQ(v.GetFloat(), 0.0);
  EXPECT_EQ(v.GetChar(), 0);
  EXPECT_EQ(v.GetHeight(), 0.0f);
  EXPECT_TRUE(v.GetGroup().IsEmpty());
  EXPECT_EQ(v.GetParameter1(), GetMeasureParametersEnum().GetName(0));
  EXPECT_EQ(v.GetParameter2(), GetMeasureParametersEnum().GetName(0));
  EXPECT_EQ(v.GetStatistics1(), GetStatisticsEnum().GetName(0));
  EXPECT_EQ(v.GetText(), CStr(u"old text"));
  EXPECT_EQ(v.GetUnit(), CStr(u"nm"));
  EXPECT_EQ(v.GetFilename(), CStr(u"a.png"));
  EXPECT_EQ(v.GetMessage(), CStr(u"old message"));
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1000u);
}

TEST(ControlValueReset, ReadsTheHostTablesInForce) {
  CEnum parameters(0);
  parameters.Add(0, u"NoMeasure");
  ReplaceHostTable(EHostTable::eMeasureParameters, parameters);
  V v;
  EXPECT_EQ(v.GetParameter1(), CStr(u"NoMeasure"));
  RestoreHostTables();
}

TEST(ControlValueConsistency, PictureWithoutFileBecomesMessage) {
  V v;
  v.SetType(V::ePicture);
  v.CheckConsistency();
  EXPECT_EQ(v.GetType(), V::eMessage);
  EXPECT_EQ(v.GetMessage(), CStr(u"ERROR: Missing bitmap file name."));

  V named;
  named.SetType(V::ePicture);
  named.SetFilename(u"/does/not/exist.png");
  named.CheckConsistency();
  EXPECT_EQ(named.GetType(), V::ePicture);

  V text;
  text.SetType(V::eText);
  text.CheckConsistency();
  EXPECT_EQ(text.GetType(), V::eText);
}

TEST(ControlValueCopy, AssignmentCopiesAllFields) {
  V source;
  source.SetVersion(1002u);
  source.SetBody(false);
  source.SetGroup(u"Roughness");
  source.SetField(u"RoughnessParameter");
  source.SetParameter1(u"Sa");
  source.SetParameter2(u"Sq");
  source.SetStatistics1(u"Mean");
  source.SetStatistics2(u"SD");
  source.SetHeight(120.5f);
  source.SetWidth(80.25f);
  source.SetResolutionFactor(1.5f);
  source.SetScaleFont(false);
  source.SetUnitOptions(2);
  source.SetPictureOptions(0);
  source.SetType(V::eFloat);
  source.SetText(u"t");
  source.SetInteger(-3);
  source.SetFloat(1.25);
  source.SetPrecision(4);
  source.SetChar(u'q');
  source.SetFilename(u"f.png");
  source.SetUnit(u"nm");
  source.SetMessage(u"m");
  V target;
  target = source;
  ExpectSameRecord(target, source);
  EXPECT_EQ(target.DisplayString(), source.DisplayString());
}

}  // namespace

namespace {

// A placeholder's description goes into the record the host answers: every described
// field follows it, the value the record holds stays.
TEST(ControlValueDescription, TakesTheDescriptionAndKeepsTheValue) {
  CKORIControlValue description;
  description.SetVersion(2u, 7u);
  description.SetBody(true);
  description.SetGroup(u"Roughness");
  description.SetField(u"RoughnessParameter");
  description.SetParameter1(u"Sa");
  description.SetParameter2(u"x");
  description.SetStatistics1(u"Mean");
  description.SetHeight(12.5f);
  description.SetWidth(80.0f);
  description.SetResolutionFactor(2.0f);
  description.SetScaleFont(false);
  description.SetUnitOptions(3);
  description.SetPictureOptions(5);

  CKORIControlValue record;
  record.SetType(CKORIControlValue::eText);
  record.SetText(u"the last answer");
  record.SetParameter2(u"left from before");
  record.SetDescription(description);
  EXPECT_EQ(record.GetVersion(nullptr, nullptr), 2007u);
  EXPECT_TRUE(record.GetBody());
  EXPECT_EQ(record.GetGroup(), u"Roughness");
  EXPECT_EQ(record.GetField(), u"RoughnessParameter");
  EXPECT_EQ(record.GetParameter1(), u"Sa");
  EXPECT_EQ(record.GetParameter2(), u"x");
  EXPECT_EQ(record.GetStatistics1(), u"Mean");
  EXPECT_EQ(record.GetStatistics2(), description.GetStatistics2());
  EXPECT_EQ(record.GetHeight(), 12.5f);
  EXPECT_EQ(record.GetWidth(), 80.0f);
  EXPECT_EQ(record.GetResolutionFactor(), 2.0f);
  EXPECT_EQ(record.GetScaleFont(), 0);
  EXPECT_EQ(record.GetUnitOptions(), 3);
  EXPECT_EQ(record.GetPictureOptions(), 5);
  EXPECT_EQ(record.GetType(), CKORIControlValue::eText);
  EXPECT_EQ(record.GetText(), u"the last answer");
}

}  // namespace
