#include <gtest/gtest.h>

#include "folio/extract/CKORIExtractor.h"
#include "folio/platform/host/HostTables.h"

namespace {

using V = CKORIControlValue;

struct SRow {
  const char16_t* group;
  const char16_t* field;
  // Expected after translation; nullptr: as before.
  const char16_t* newGroup;
  const char16_t* newField;
  const char16_t* parameter1;
  const char16_t* statistics1;
  V::EExtractRes result;
};

constexpr const char16_t* kSame = nullptr;

// Records start with Parameter 1 "Before", Statistics 1 "Earlier" and unit options 1.
constexpr SRow kRows[] = {
    // Groups.
    {u"General", u"xrange", u"BasicInfo", u"range", u"XAxis", kSame, V::eExtractOk},
    {u"SectionTags", u"PrefaceEnd", u"Section", kSame, kSame, kSame, V::eExtractOk},
    {u"CITS", u"anything", kSame, kSame, kSame, kSame, V::eGroupNotSupported},
    {u"Section", u"nonsense", kSame, kSame, kSame, kSame, V::eExtractOk},
    {u"general", u"xrange", kSame, kSame, kSame, kSame, V::eExtractOk},  // not dispatched
    // General: compared untrimmed.
    {u"BasicInfo", u"zrange", kSame, u"range", u"ZAxis", kSame, V::eExtractOk},
    {u"BasicInfo", u"longdesc", kSame, u"desc", u"None", kSame, V::eExtractOk},
    {u"BasicInfo", u"max", kSame, kSame, kSame, kSame, V::eExtractOk},
    {u"BasicInfo", u"filename", kSame, kSame, u"None", kSame, V::eExtractOk},
    {u"BasicInfo", u" filename", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    // Processing, calibration and Fourier: trimmed.
    {u"Processing", u"AverageYFourierPSD", u"BasicProc", u"AverageFourierPSD", u"YAxis", kSame, V::eExtractOk},
    {u"BasicProc", u" CrossHairX ", kSame, u"CrossHair", u"XAxis", kSame, V::eExtractOk},
    {u"BasicProc", u"ZoomImage", kSame, kSame, kSame, kSame, V::eExtractOk},
    {u"BasicProc", u"Zoom", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    {u"CalibrationXY", u"bvecy", u"CalibXY", u"bvec", u"YAxis", kSame, V::eExtractOk},
    {u"CalibrationZ", u"  cz ", u"CalibZ", kSame, kSame, kSame, V::eExtractOk},
    {u"CalibZ", u"cx", kSame, kSame, kSame, kSame, V::eExtractOk},  // known anywhere
    {u"Fourier", u"FourierImage", kSame, u"FourierTransfImage", kSame, kSame, V::eExtractOk},
    {u"CalibrationXYLin", u"LinYd", u"CalibXYLin", u"Lind", u"YAxis", kSame, V::eExtractOk},
    {u"CalibXYLin", u"LinSDError", kSame, u"LinErrorPix", kSame, u"SD", V::eExtractOk},
    {u"CalibXYLin", u"LinXMaxError", kSame, u"LinXYErrorPix", u"XAxis", u"Max", V::eExtractOk},
    {u"CalibXYLin", u"LinYSDErrorPct", kSame, u"LinXYErrorPct", u"YAxis", u"SD", V::eExtractOk},
    {u"CalibXYLin", u"LinZMeanError", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    // Tip: prefix rules in order, estimation area by the rest.
    {u"Tip", u"TipRadiusX50", kSame, u"TipRadiusX", u"Top50nm", kSame, V::eExtractOk},
    {u"Tip", u"TipRadiusX75", kSame, u"TipRadiusX", kSame, kSame, V::eExtractOk},
    {u"Tip", u"TipRadiusXRMS", kSame, u"TipRadiusXRMS", u"Apex", kSame, V::eExtractOk},
    {u"Tip", u"TipXAngleGOF150", kSame, u"TipXAngleGOF", u"Top150nm", kSame, V::eExtractOk},
    {u"Tip", u"TipXAngleConfCurve", kSame, u"TipAngleConfCurve", u"XAxis", kSame, V::eExtractOk},
    {u"Tip", u"TipXAngle10", kSame, u"TipXAngle", u"Top10nm", kSame, V::eExtractOk},
    {u"Tip", u"TipYProfile", kSame, u"TipProfile", u"YAxis", kSame, V::eExtractOk},
    {u"Tip", u"TipHeight", kSame, kSame, kSame, kSame, V::eExtractOk},
    {u"Tip", u"TipWidth", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    // Force curves: events by the rest.
    {u"ForceCurve", u"ContourLengthL3", u"Force", u"ContourLength", u"Event3", kSame, V::eExtractOk},
    {u"Force", u"PersistenceLengthL10", kSame, u"PersistenceLength", u"Event10", kSame, V::eExtractOk},
    {u"Force", u"UnfoldForce1", kSame, u"UnfoldForce", u"Event1", kSame, V::eExtractOk},
    {u"Force", u"UnfoldForce11", kSame, u"UnfoldForce", kSame, kSame, V::eElementDefinitionError},
    {u"Force", u"ContourLength3", kSame, u"ContourLength", kSame, kSame, V::eElementDefinitionError},
    {u"Force", u"dForcedTimeAnything", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    {u"Force", u"PullOffForce", kSame, u"MaxPull", kSame, kSame, V::eTranslated},
    {u"Force", u"SnapInForce", kSame, kSame, kSame, kSame, V::eExtractOk},
    // Roughness: host preferences of the roughness analysis.
    {u"PlugInParmGroup", u" MyPlugin ", u"Roughness", u"RoughnessPlugIns", u"MyPlugin", kSame, V::eExtractOk},
    {u"Roughness", u"SzISO", kSame, u"RoughnessParameter", u"Sz", kSame, V::eExtractOk},
    {u"Roughness", u"Ssk ", kSame, u"RoughnessParameter", u"Ssk", kSame, V::eExtractOk},
    {u"Roughness", u"PowerSpectrum", kSame, kSame, kSame, kSame, V::eExtractOk},
    {u"Roughness", u"Ra", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    // Grain: statistic prefixes, histograms, summaries, measures.
    {u"Grain", u"GrainMeanArea", kSame, u"GrainParameter", u"Area", u"Mean", V::eTranslated},
    {u"Grain", u"GrainSDMinX", kSame, u"GrainParameter", u"MinX", u"SD", V::eExtractOk},
    {u"Grain", u"GrainMedianCMeanZ", kSame, u"GrainParameter", u"ContourMeanZ", u"Median", V::eTranslated},
    {u"Grain", u"GrainModeNearestNeighborAngle", kSame, u"GrainParameter", u"NearestNeighborAngle", u"Mode", V::eExtractOk},
    {u"Grain", u"GrainMeanScale", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    {u"Grain", u"GrainModeNormalizedElements", kSame, u"GrainSummary", u"ModeNormalizedElements", u"None", V::eExtractOk},
    {u"Grain", u"GrainCoverage", kSame, u"GrainSummary", u"Coverage", u"None", V::eExtractOk},
    {u"Grain", u"AreaHistogram", kSame, u"GrainHistogram", u"AreaDistribution", u"None", V::eTranslated},
    {u"Grain", u"HistogramDiameter", kSame, u"GrainHistogram", u"DiameterDistribution", u"None", V::eExtractOk},
    {u"Grain", u"ContourImage", kSame, u"MeasureImage", u"None", u"None", V::eTranslated},
    {u"Grain", u"GradientImage", kSame, u"GradientImage", u"None", u"None", V::eExtractOk},
    {u"Grain", u"LimitsDialog", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    {u"Grain", u"Perim", kSame, u"GrainParameter", u"Perimeter", u"None", V::eTranslated},
    {u"Grain", u"AveZAbs", kSame, u"GrainParameter", u"MeanZ", u"None", V::eExtractOk},
    {u"Grain", u" Area", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
    {u"Grain", u"MlMeanZ", kSame, kSame, kSame, kSame, V::eFieldNotSupported},
};

TEST(LegacyTranslation, EveryTranslatorRow) {
  for (const SRow& row : kRows) {
    V value;
    value.SetVersion(1000u);
    value.SetGroup(row.group);
    value.SetField(row.field);
    value.SetParameter1(u"Before");
    value.SetStatistics1(u"Earlier");
    value.SetUnitOptions(1);
    const std::string where = CStr(row.group).ToUtf8() + "/" + CStr(row.field).ToUtf8();
    EXPECT_EQ(CKORIExtractor::TranslateLegacyDescription(value), row.result) << where;
    EXPECT_EQ(value.GetGroup(), CStr(row.newGroup ? row.newGroup : row.group)) << where;
    EXPECT_EQ(value.GetField(), CStr(row.newField ? row.newField : row.field)) << where;
    EXPECT_EQ(value.GetParameter1(), CStr(row.parameter1 ? row.parameter1 : u"Before")) << where;
    EXPECT_EQ(value.GetStatistics1(), CStr(row.statistics1 ? row.statistics1 : u"Earlier")) << where;
    EXPECT_EQ(value.GetUnitOptions(), 1) << where;
  }
}

TEST(LegacyTranslation, UnitFieldsBecomeTheAxisMinimumShowingTheUnitOnly) {
  V value;
  value.SetGroup(u"General");
  value.SetField(u"XUnit");
  EXPECT_EQ(CKORIExtractor::TranslateLegacyDescription(value), V::eExtractOk);
  EXPECT_EQ(value.GetField(), CStr(u"min"));
  EXPECT_EQ(value.GetParameter1(), CStr(u"XAxis"));
  EXPECT_EQ(value.GetUnitOptions(), 2);
}

TEST(LegacyTranslation, GroupFailureLeavesTheRecordAlone) {
  V value;
  value.SetGroup(u"CITS");
  value.SetField(u"xrange");
  CStr group = value.GetGroup();
  EXPECT_EQ(CKORIExtractor::_TranslateOldGroup(group), V::eGroupNotSupported);
  EXPECT_EQ(CKORIExtractor::TranslateLegacyDescription(value), V::eGroupNotSupported);
  EXPECT_EQ(value.GetGroup(), CStr(u"CITS"));
  EXPECT_EQ(value.GetField(), CStr(u"xrange"));
}

TEST(LegacyTranslation, FollowsTheHostsOwnTables) {
  CAnalysisPreferences preferences({CAnalysisItem(u"Ra"), CAnalysisItem(u"Rq")}, {CAnalysisItem(u"Profile")});
  GetAnalysisPreferencesManager().SetData(kRoughnessAnalysis, preferences);
  CEnum areas(0);
  areas.Add(3, u"Cap50");
  ReplaceHostTable(EHostTable::eTipEstimationArea, areas);
  V roughness;
  roughness.SetGroup(u"Roughness");
  roughness.SetField(u"Rq");
  EXPECT_EQ(CKORIExtractor::TranslateLegacyDescription(roughness), V::eExtractOk);
  EXPECT_EQ(roughness.GetParameter1(), CStr(u"Rq"));
  roughness.SetField(u"SzISO");  // parameter 5 is missing: an empty name
  EXPECT_EQ(CKORIExtractor::TranslateLegacyDescription(roughness), V::eExtractOk);
  EXPECT_TRUE(roughness.GetParameter1().IsEmpty());
  V tip;
  tip.SetGroup(u"Tip");
  tip.SetField(u"TipRadiusX50");
  CKORIExtractor::TranslateLegacyDescription(tip);
  EXPECT_EQ(tip.GetParameter1(), CStr(u"Cap50"));
  RestoreHostTables();
}

}  // namespace
