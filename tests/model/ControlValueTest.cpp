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
  v.SetVersion(1u, 0u);
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1000u);
  EXPECT_EQ(V().GetVersion(nullptr, nullptr), V::kCurrentVersion);
}

TEST(ControlValueStatistics, EmptyNameStoresNone) {
  V v;
  v.SetStatistics1(u"Mean");
  v.SetStatistics1(u"");
  v.SetStatistics2(u"");
  EXPECT_EQ(v.GetStatistics1(), CStr(u"None"));
  EXPECT_EQ(v.GetStatistics2(), CStr(u"None"));
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

// Parameters and statistics are named as the host's tables in force name them.
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
  CEnum parameters(0);
  parameters.Add(0, u"NoMeasure");
  ReplaceHostTable(EHostTable::eMeasureParameters, parameters);
  v.Reset();
  RestoreHostTables();
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
  EXPECT_EQ(v.GetParameter1(), CStr(u"NoMeasure"));
  EXPECT_EQ(v.GetParameter2(), CStr(u"NoMeasure"));
  EXPECT_EQ(v.GetStatistics1(), GetStatisticsEnum().GetName(0));
  EXPECT_EQ(v.GetText(), CStr(u"old text"));
  EXPECT_EQ(v.GetUnit(), CStr(u"nm"));
  EXPECT_EQ(v.GetFilename(), CStr(u"a.png"));
  EXPECT_EQ(v.GetMessage(), CStr(u"old message"));
  EXPECT_EQ(v.GetVersion(nullptr, nullptr), 1000u);
}

TEST(ControlValueConsistency, PictureWithoutFileBecomesMessage) {
  V v;
  v.SetType(V::ePicture);
  v.CheckConsistency();
  EXPECT_EQ(v.GetType(), V::eMessage);
  EXPECT_EQ(v.GetMessage(), CStr(u"ERROR: Missing bitmap file name."));
  // A named file is not looked for; other types have no file.
  v.SetType(V::ePicture);
  v.SetFilename(u"/does/not/exist.png");
  v.CheckConsistency();
  EXPECT_EQ(v.GetType(), V::ePicture);
  v.SetType(V::eText);
  v.SetFilename(u"");
  v.CheckConsistency();
  EXPECT_EQ(v.GetType(), V::eText);
}

// A placeholder's description goes into the record the host answers: every described
// field follows it, the value the record holds stays.
TEST(ControlValueDescription, TakesTheDescriptionAndKeepsTheValue) {
  V description;
  description.SetVersion(2u, 7u);
  description.SetBody(false);
  description.SetGroup(u"Roughness");
  description.SetField(u"RoughnessParameter");
  description.SetParameter1(u"Sa");
  description.SetParameter2(u"x");
  description.SetStatistics1(u"Mean");
  description.SetHeight(12.5f);
  description.SetWidth(80.0f);
  description.SetResolutionFactor(3.0f);
  description.SetScaleFont(false);
  description.SetUnitOptions(3);
  description.SetPictureOptions(5);
  V record, expected = description;
  for (V* v : {&record, &expected}) {
    v->SetType(V::eText);
    v->SetText(u"the last answer");
    v->SetUnit(u"nm");
  }
  record.SetParameter2(u"left from before");
  record.SetDescription(description);
  ExpectSameRecord(record, expected);
}

}  // namespace
