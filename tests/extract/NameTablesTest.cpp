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

// Names and positions are the tables' own data; what is checked here is how the
// display names are found: by string id, with the fields added later and the unused
// id 314 in between, and DissipatedEnergy listed beside YoungsModulus.
TEST(NameTables, GroupsAxesAndEvents) {
  EXPECT_EQ(CKORIExtractor::GetGroupEnum().GetDisplayName(10), Id(342));
  const CEnum& axes = CKORIExtractor::GetAxisEnum();
  EXPECT_EQ(axes.GetDefaultValue(), 2);
  EXPECT_EQ(axes.GetDisplayName(0), Id(40105));
  EXPECT_EQ(axes.GetDisplayName(3), Id(40108));
  const CEnum& events = CKORIExtractor::GetEventEnum();
  ASSERT_EQ(events.GetCount(), 10u);
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
  EXPECT_EQ(fields.GetDisplayName(0), Id(201));
  EXPECT_EQ(fields.GetDisplayName(48), Id(249));
  EXPECT_EQ(fields.GetDisplayName(49), Id(40110));  // MaxPull
  EXPECT_EQ(fields.GetDisplayName(50), Id(250));    // DetachForce
  EXPECT_EQ(fields.GetDisplayName(66), Id(40131));  // DissipatedEnergy
  EXPECT_EQ(fields.GetDisplayName(121), Id(313));   // GrainScatterPlot
  EXPECT_EQ(fields.GetDisplayName(124), Id(315));   // GradientImage
  EXPECT_EQ(fields.GetDisplayName(140), Id(331));
  for (const auto& entry : entries) EXPECT_NE(entry.displayName, Id(314));
}

}  // namespace
