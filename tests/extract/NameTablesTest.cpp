#include <gtest/gtest.h>

#include "folio/extract/CKORIExtractor.h"
#include "folio/util/StringTable.h"

namespace {

// The tables load display names once; a host string loader installed before any
// test makes the string ids they ask for visible.
class CDisplayIdEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    SetHostStringLoader([](unsigned id) -> std::optional<CStr> {
      if (id >= 49000) return std::nullopt;
      return CStr::DoStringFormat(u"#%u", id);
    });
  }
  void TearDown() override { SetHostStringLoader({}); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CDisplayIdEnvironment);

CStr Id(unsigned id) { return CStr::DoStringFormat(u"#%u", id); }

TEST(NameTables, GroupsAxesAndEvents) {
  const CEnum& groups = CKORIExtractor::GetGroupEnum();
  ASSERT_EQ(groups.GetCount(), 17u);
  EXPECT_EQ(groups.GetName(8), CStr(u"Roughness"));
  EXPECT_EQ(groups.GetName(16), CStr(u"QuadFit"));
  EXPECT_EQ(groups.GetDisplayName(10), Id(342));
  EXPECT_EQ(groups.GetName(17), CStr());
  EXPECT_EQ(groups.GetDefaultValue(), 0);

  const CEnum& axes = CKORIExtractor::GetAxisEnum();
  EXPECT_EQ(axes.GetDefaultValue(), 2);
  EXPECT_EQ(axes.GetName(3), CStr(u"DAxis"));
  EXPECT_EQ(axes.GetDisplayName(0), Id(40105));
  EXPECT_EQ(axes.GetDisplayName(3), Id(40108));

  const CEnum& events = CKORIExtractor::GetEventEnum();
  ASSERT_EQ(events.GetCount(), 10u);
  EXPECT_EQ(events.GetName(0), CStr(u"Event1"));
  EXPECT_EQ(events.GetName(9), CStr(u"Event10"));
  EXPECT_EQ(events.GetDisplayName(9), CStr(u"Event 10"));
}

TEST(NameTables, FieldsInInsertionOrderWithTheirDisplayIds) {
  const CEnum& fields = CKORIExtractor::GetFieldEnum();
  const auto& entries = fields.GetEntries();
  ASSERT_EQ(entries.size(), 141u);
  EXPECT_EQ(entries[63].settingsName, CStr(u"YoungsModulus"));
  EXPECT_EQ(entries[64].settingsName, CStr(u"DissipatedEnergy"));
  EXPECT_EQ(entries[64].value, 66);
  EXPECT_EQ(entries[65].value, 64);
  EXPECT_EQ(entries[140].settingsName, CStr(u"QuadFitMeanFitError"));
  EXPECT_EQ(fields.FindValue(u"PrefaceEnd"), 32);
  EXPECT_EQ(fields.FindValue(u"SummaryBegin"), 33);
  EXPECT_EQ(fields.FindValue(u"GrainParameter"), 117);
  EXPECT_FALSE(fields.FindValue(u"grainparameter").has_value());

  EXPECT_EQ(fields.GetDisplayName(0), Id(201));
  EXPECT_EQ(fields.GetDisplayName(48), Id(249));
  EXPECT_EQ(fields.GetDisplayName(49), Id(40110));  // MaxPull
  EXPECT_EQ(fields.GetDisplayName(50), Id(250));    // DetachForce
  EXPECT_EQ(fields.GetDisplayName(66), Id(40131));  // DissipatedEnergy
  EXPECT_EQ(fields.GetDisplayName(90), Id(40115));  // RoughnessPlugIns
  EXPECT_EQ(fields.GetDisplayName(121), Id(313));   // GrainScatterPlot
  EXPECT_EQ(fields.GetDisplayName(123), Id(40117)); // DetectionImage
  EXPECT_EQ(fields.GetDisplayName(124), Id(315));   // GradientImage
  EXPECT_EQ(fields.GetDisplayName(140), Id(331));
  for (const auto& entry : entries) EXPECT_NE(entry.displayName, Id(314));
}

}  // namespace
