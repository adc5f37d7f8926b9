// Field translators of the tip, force-curve, roughness and grain groups, whose legacy
// names carry an estimation area, event, statistic or measure inside the field.
#include "LegacyRules.h"

using namespace legacy;
using V = CKORIControlValue;

namespace {

// Estimation area named by what follows a tip prefix; false for an unknown rest.
bool EstimationArea(const CStr& rest, long& area) {
  const char16_t* rests[] = {u"", u"10", u"20", u"50", u"100", u"150"};
  for (long n = 0; n < 6; ++n) {
    if (rest == rests[n]) {
      area = n;
      return true;
    }
  }
  return false;
}

// Event named by what follows a force prefix: prefix "L" and 1..10, or 1..10 alone.
bool EventNumber(const CStr& rest, const char16_t* lead, long& event) {
  for (long n = 1; n <= 10; ++n) {
    if (rest == CStr::DoStringFormat(u"%s%ld", lead, n)) {
      event = n - 1;
      return true;
    }
  }
  return false;
}

}  // namespace

V::EExtractRes CKORIExtractor::_TranslateOldTip(CKORIControlValue& value) {
  enum class EBy { eArea, eAxis };
  struct { const char16_t* prefix; const char16_t* field; EBy by; long axis; } const rules[] = {
      {u"TipRadiusXRMS", u"TipRadiusXRMS", EBy::eArea, 0},
      {u"TipRadiusXGOF", u"TipRadiusXGOF", EBy::eArea, 0},
      {u"TipRadiusX", u"TipRadiusX", EBy::eArea, 0},
      {u"TipXAngleRMS", u"TipXAngleRMS", EBy::eArea, 0},
      {u"TipXAngleGOF", u"TipXAngleGOF", EBy::eArea, 0},
      {u"TipXAngleConfCurve", u"TipAngleConfCurve", EBy::eAxis, 0},
      {u"TipXAngle", u"TipXAngle", EBy::eArea, 0},
      {u"TipXProfile", u"TipProfile", EBy::eAxis, 0},
      {u"TipYProfile", u"TipProfile", EBy::eAxis, 1},
      {u"TipYAngleConfCurve", u"TipAngleConfCurve", EBy::eAxis, 1},
      {u"TipYAngle", u"TipAngle", EBy::eAxis, 1}};
  const CStr field = value.GetField().Trimmed();
  CStr rest;
  for (const auto& rule : rules) {
    if (!MatchPrefix(field, rule.prefix, rest)) continue;
    value.SetField(rule.field);
    long area = 0;
    if (rule.by == EBy::eAxis) value.SetParameter1(Axis(rule.axis));
    else if (EstimationArea(rest, area)) value.SetParameter1(GetTipEstimationAreaEnum().GetName(area));
    return V::eExtractOk;
  }
  return KeptIfKnown(field);
}

V::EExtractRes CKORIExtractor::_TranslateOldForce(CKORIControlValue& value) {
  struct { const char16_t* prefix; const char16_t* lead; } const rules[] = {
      {u"ContourLength", u"L"}, {u"PersistenceLength", u"L"}, {u"UnfoldForce", u""}};
  const CStr field = value.GetField().Trimmed();
  CStr rest;
  for (const auto& rule : rules) {
    if (!MatchPrefix(field, rule.prefix, rest)) continue;
    value.SetField(rule.prefix);
    long event = 0;
    if (!EventNumber(rest, rule.lead, event)) return V::eElementDefinitionError;
    value.SetParameter1(Event(event));
    return V::eExtractOk;
  }
  if (MatchPrefix(field, u"dForcedTime", rest)) return V::eFieldNotSupported;
  if (field == u"PullOffForce") {
    value.SetField(u"MaxPull");
    return V::eTranslated;
  }
  return KeptIfKnown(field);
}

V::EExtractRes CKORIExtractor::_TranslateOldRoughness(CKORIControlValue& value) {
  const CStr field = value.GetField().Trimmed();
  if (value.GetGroup().Trimmed() == u"PlugInParmGroup") {
    value.SetGroup(Group(8));
    value.SetField(u"RoughnessPlugIns");
    value.SetParameter1(field);
    return V::eExtractOk;
  }
  const CAnalysisPreferences& roughness = GetAnalysisPreferencesManager().GetData(kRoughnessAnalysis);
  struct { const char16_t* legacy; int parameter; } const renamed[] = {
      {u"SzISO", 5}, {u"Smin", 11}, {u"Smax", 12}};
  for (const auto& rename : renamed) {
    if (field == rename.legacy) {
      value.SetField(u"RoughnessParameter");
      value.SetParameter1(roughness.GetParameter(rename.parameter).GetIniName());
      return V::eExtractOk;
    }
  }
  for (int index = 0; index <= 38; ++index) {
    if (field == roughness.GetParameter(index).GetIniName()) {
      value.SetField(u"RoughnessParameter");
      value.SetParameter1(field);
      return V::eExtractOk;
    }
  }
  for (int index = 0; index <= 11; ++index)
    if (field == roughness.GetOutput(index).GetIniName()) return V::eExtractOk;
  return V::eFieldNotSupported;
}

namespace {

constexpr long kNotSupported = -1;

struct SGrainMeasure {
  const char16_t* name;
  long value;  // kNotSupported: the measure no longer exists
  V::EExtractRes result;
};

// Legacy grain measures and the measure (or distribution) number they became.
constexpr SGrainMeasure kGrainMeasures[] = {
    {u"Scale", kNotSupported, V::eFieldNotSupported},   {u"Size", kNotSupported, V::eFieldNotSupported},
    {u"MlCMinZ", kNotSupported, V::eFieldNotSupported}, {u"MlCMaxZ", kNotSupported, V::eFieldNotSupported},
    {u"MlMinZ", kNotSupported, V::eFieldNotSupported},  {u"MlMaxZ", kNotSupported, V::eFieldNotSupported},
    {u"MlCMeanZ", kNotSupported, V::eFieldNotSupported}, {u"MlMeanZ", kNotSupported, V::eFieldNotSupported},
    {u"AreaH", 14, V::eTranslated},       {u"CMinZ", 37, V::eTranslated},
    {u"CMaxZ", 38, V::eTranslated},       {u"CMeanZ", 39, V::eTranslated},
    {u"CCntrX", 48, V::eTranslated},      {u"CCntrY", 49, V::eTranslated},
    {u"MinZ", 27, V::eTranslated},        {u"SDZ", 32, V::eTranslated},
    {u"CenterX", 50, V::eTranslated},     {u"CenterY", 51, V::eTranslated},
    {u"Area", 14, V::eTranslated},        {u"Volume", 15, V::eTranslated},
    {u"MeanZ", 30, V::eTranslated},       {u"AveHeight", 30, V::eTranslated},
    {u"MaxZ", 28, V::eTranslated},        {u"MaxHeight", 28, V::eTranslated},
    {u"Width", 4, V::eTranslated},        {u"ZRange", 29, V::eTranslated},
    {u"AspectRatio", 40, V::eTranslated}, {u"Perimeter", 9, V::eTranslated},
    {u"Perim", 9, V::eTranslated},        {u"VolumeAbs", 33, V::eTranslated},
    {u"MinX", 58, V::eExtractOk},         {u"MinY", 60, V::eExtractOk},
    {u"MaxX", 59, V::eExtractOk},         {u"MaxY", 61, V::eExtractOk},
    {u"PeakX", 56, V::eExtractOk},        {u"PeakY", 57, V::eExtractOk},
    {u"Length", 10, V::eExtractOk},       {u"Diameter", 7, V::eExtractOk},
    {u"Orientation", 41, V::eExtractOk},  {u"MinZAbs", 27, V::eExtractOk},
    {u"MaxZAbs", 28, V::eExtractOk},      {u"ZRangeAbs", 29, V::eExtractOk},
    {u"AveZAbs", 30, V::eExtractOk},      {u"SDZAbs", 32, V::eExtractOk},
    {u"NearestNeighborDist", 63, V::eExtractOk}, {u"NearestNeighborAngle", 64, V::eExtractOk}};

struct SGrainWork {
  CStr field = u"GrainParameter";
  CStr parameter1 = MeasureParameter(0);
  CStr statistics1 = Statistic(0);
  const CEnum* names = &GetMeasureParametersEnum();
};

V::EExtractRes MatchGrainMeasure(const CStr& measure, SGrainWork& work) {
  for (const SGrainMeasure& row : kGrainMeasures) {
    if (measure != row.name) continue;
    if (row.value != kNotSupported) work.parameter1 = work.names->GetName(row.value);
    return row.result;
  }
  return V::eFieldNotSupported;
}

// Step 2 of the grain rules for names without a statistic prefix; sets done when the
// name is settled without a measure lookup.
V::EExtractRes ClassifyGrainName(CStr& measure, SGrainWork& work, bool& done) {
  done = true;
  if (measure.Find(u"Histogram") != CStr::npos) {
    work.field = u"GrainHistogram";
    measure.Replace(u"Histogram", u"");
    work.names = &GetMeasureOutputsEnum();
    done = false;
    return V::eExtractOk;
  }
  struct { const char16_t* name; long item; } const summaries[] = {
      {u"GrainElements", 4}, {u"GrainCoverage", 3}, {u"GrainModeNormalizedElements", 5}};
  for (const auto& summary : summaries) {
    if (measure == summary.name) {
      work.field = u"GrainSummary";
      work.parameter1 = GetMeasureSummaryItemsEnum().GetName(summary.item);
      return V::eExtractOk;
    }
  }
  if (measure == u"SegmentImage" || measure == u"ContourImage") {
    work.field = u"MeasureImage";
    return V::eTranslated;
  }
  if (measure == u"GradientImage") {
    work.field = u"GradientImage";
    return V::eExtractOk;
  }
  if (measure == u"MainGrainDialog" || measure == u"LimitsDialog" || measure == u"ResultsDialog")
    return V::eFieldNotSupported;
  done = false;
  return V::eExtractOk;
}

}  // namespace

// Compares the field as it stands, spaces included.
V::EExtractRes CKORIExtractor::_TranslateOldGrain(CKORIControlValue& value) {
  const CStr field = value.GetField();
  SGrainWork work;
  struct { const char16_t* prefix; long statistic; } const prefixes[] = {
      {u"GrainMean", 4}, {u"GrainSD", 5}, {u"GrainMedian", 6}, {u"GrainMode", 8}};
  CStr measure;
  bool prefixed = false;
  for (const auto& prefix : prefixes) {
    if (field == u"GrainModeNormalizedElements") break;
    if (MatchPrefix(field, prefix.prefix, measure)) {
      work.statistics1 = Statistic(prefix.statistic);
      prefixed = true;
      break;
    }
  }
  EExtractRes result = V::eExtractOk;
  bool done = false;
  if (!prefixed) {
    measure = field;
    result = ClassifyGrainName(measure, work, done);
  }
  if (!done) result = MatchGrainMeasure(measure, work);
  if (result == V::eFieldNotSupported) return result;
  value.SetField(work.field);
  value.SetParameter1(work.parameter1);
  value.SetStatistics1(work.statistics1);
  return result;
}
