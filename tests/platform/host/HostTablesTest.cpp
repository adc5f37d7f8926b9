#include <gtest/gtest.h>

#include <set>

#include "folio/platform/host/HostTables.h"

namespace {

// Every measure value a legacy grain field can name must have a name of its own.
TEST(HostTables, GrainValuesHaveDistinctNamesInBothSources) {
  const long used[] = {4, 7, 9, 10, 14, 15, 27, 28, 29, 30, 32, 33, 37, 38, 39, 40, 41,
                       48, 49, 50, 51, 56, 57, 58, 59, 60, 61, 63, 64};
  for (const CEnum* table : {&GetMeasureParametersEnum(), &GetMeasureOutputsEnum()}) {
    std::set<CStr> names;
    for (long value : used) {
      const CStr name = table->GetName(value);
      EXPECT_FALSE(name.IsEmpty()) << value;
      EXPECT_TRUE(names.insert(name).second) << name.ToUtf8();
    }
  }
}

// Past the last parameter, and for an analysis without a table, there is nothing; every
// tip estimation area has a name.
TEST(HostTables, TablesEndWhereTheirItemsDo) {
  const CAnalysisPreferences& roughness = GetAnalysisPreferencesManager().GetData(kRoughnessAnalysis);
  EXPECT_FALSE(roughness.GetParameter(38).GetIniName().IsEmpty());
  EXPECT_TRUE(roughness.GetParameter(39).GetIniName().IsEmpty());
  EXPECT_EQ(GetAnalysisPreferencesManager().GetData(3).GetParameterCount(), 0);
  for (long area = 0; area <= 5; ++area)
    EXPECT_FALSE(GetTipEstimationAreaEnum().GetName(area).IsEmpty());
}

TEST(HostTables, HostCanReplaceAndRestoreTables) {
  CEnum own(0);
  own.Add(0, u"Keine");
  ReplaceHostTable(EHostTable::eStatistics, own);
  EXPECT_EQ(GetStatisticsEnum().GetName(0), CStr(u"Keine"));
  EXPECT_EQ(GetStatisticsEnum().GetName(4), CStr());
  GetAnalysisPreferencesManager().SetData(kRoughnessAnalysis, CAnalysisPreferences({CAnalysisItem(u"Ra")}, {}));
  EXPECT_EQ(GetAnalysisPreferencesManager().GetData(kRoughnessAnalysis).GetParameter(0).GetIniName(), CStr(u"Ra"));
  RestoreHostTables();
  EXPECT_EQ(GetStatisticsEnum().GetName(4), CStr(u"Mean"));
  EXPECT_EQ(GetAnalysisPreferencesManager().GetData(kRoughnessAnalysis).GetParameter(0).GetIniName(), CStr(u"Sa"));
}

}  // namespace
