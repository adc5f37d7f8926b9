// The current naming: groups, fields, axes and events, built on first use.
#include <array>

#include "folio/extract/CKORIExtractor.h"
#include "folio/util/StringTable.h"

namespace {

constexpr std::array<const char16_t*, 17> kGroups = {
    u"System", u"BasicInfo", u"Section", u"BasicProc", u"Force", u"CalibXY",
    u"CalibXYLin", u"CalibZ", u"Roughness", u"Tip", u"Grain", u"Filter",
    u"Fourier", u"Correlation", u"3D", u"ISO5436", u"QuadFit"};

// In value order; a field's value is its position here.
constexpr std::array<const char16_t*, 141> kFields = {
    u"applicationname", u"applicationversion", u"licenseholderinfo", u"licenseholderemail",
    u"batchsequence", u"batchindex", u"reportfilename", u"date", u"dateutc", u"time",
    u"timeutc", u"username", u"range", u"pixels", u"offset", u"min", u"max", u"origfilef",
    u"physstart", u"physend", u"scandir", u"rotangle", u"timeprimg", u"tracetime",
    u"filename", u"ofilename", u"desc", u"rectime", u"ScanFreq", u"ScanSpeed", u"MainImage",
    u"FileCount", u"PrefaceEnd", u"SummaryBegin", u"AutoCorrImage", u"PlaneCorrDialog",
    u"PlaneCorrDiff", u"CrossCorrImage", u"AverageProfile", u"AverageFourier",
    u"AverageFourierPSD", u"FourierImage", u"Histogram", u"ZoomImage", u"Profile",
    u"ScreenDump", u"CrossHair", u"sprincst", u"clsenstvty", u"MaxPull", u"DetachForce",
    u"SnapInForce", u"MaxLoad", u"ContourLength", u"PersistenceLength", u"UnfoldForce",
    u"ForceCurve", u"ForceDialog", u"SeparationHeightCurve", u"ForceHeightCurve",
    u"DeflectionHeightCurve", u"ForceSeparation", u"DetachSeparation", u"YoungsModulus",
    u"ZeroIndentationSeparation", u"ForcedTime", u"DissipatedEnergy", u"cx", u"cy", u"cxy",
    u"avec", u"bvec", u"aabs", u"babs", u"abangle", u"xdrifts", u"XYCalibrationDialog",
    u"LinErrorPix", u"LinXYErrorPix", u"LinErrorPct", u"LinXYErrorPct", u"Linb", u"Linc",
    u"Lind", u"LinErrorCurve", u"CalibrationLinearityDialog", u"cz", u"steph",
    u"ZCalibrationDialog", u"RoughnessParameter", u"RoughnessPlugIns", u"AbbottCurve",
    u"RadialSpectrum", u"RadialSpectrumIntegrated", u"PowerSpectrumDensity",
    u"FractalDimensionCurve", u"AngularSpectrum", u"RoughnessChart", u"TipRadius",
    u"TipHeight", u"TipAngle", u"TipCertainty", u"TipRadiusX", u"TipRadiusXRMS",
    u"TipRadiusXGOF", u"TipXAngle", u"TipXAngleRMS", u"TipXAngleGOF", u"TipProfile",
    u"TipTopView", u"Tip3DView", u"TipUncertaintyImage", u"TipRadiusConfCurve",
    u"TipHeightConfCurve", u"TipAngleConfCurve", u"TipDialog", u"GrainSummary",
    u"GrainParameter", u"GrainHistogram", u"GrainAreaHistogram", u"GrainVolumeHistogram",
    u"GrainScatterPlot", u"MeasureImage", u"DetectionImage", u"GradientImage",
    u"FilterOutputImage", u"FilterDifferenceImage", u"FilterKernelImage",
    u"FilterKernelImage3D", u"FourierTransfImage", u"FourierInverse",
    u"FourierInverseDifference", u"AverageImage", u"SDImage", u"3DImage",
    u"QuadFitPeriodicLength", u"QuadFitTopLength", u"QuadFitBottomLength",
    u"QuadFitDutyCycle", u"QuadFitStepHeight", u"QuadFitMeanFitError"};

// Fields added after the first release, with string ids of their own.
struct SLaterField {
  const char16_t* name;
  unsigned displayId;
};
constexpr SLaterField kLaterFields[] = {
    {u"MaxPull", 40110},          {u"DetachSeparation", 40111},
    {u"YoungsModulus", 40112},    {u"ZeroIndentationSeparation", 40113},
    {u"ForcedTime", 40114},       {u"DissipatedEnergy", 40131},
    {u"RoughnessPlugIns", 40115}, {u"GrainAreaHistogram", 40129},
    {u"GrainVolumeHistogram", 40130}, {u"MeasureImage", 40116},
    {u"DetectionImage", 40117}};

long FieldValue(std::u16string_view name) {
  for (size_t value = 0; value < kFields.size(); ++value)
    if (name == kFields[value]) return static_cast<long>(value);
  return -1;
}

// String ids of the display names, in value order.
std::array<unsigned, kFields.size()> FieldDisplayIds() {
  std::array<unsigned, kFields.size()> ids{};
  unsigned next = 201;
  const size_t gradientImage = static_cast<size_t>(FieldValue(u"GradientImage"));
  for (size_t value = 0; value < kFields.size(); ++value) {
    if (value == gradientImage) next = 315;  // 314 is not used
    bool later = false;
    for (const SLaterField& field : kLaterFields) {
      if (CStr(field.name) == kFields[value]) {
        ids[value] = field.displayId;
        later = true;
      }
    }
    if (!later) ids[value] = next++;
  }
  return ids;
}

CEnum BuildFieldEnum() {
  const auto ids = FieldDisplayIds();
  const long dissipatedEnergy = FieldValue(u"DissipatedEnergy");
  const long youngsModulus = FieldValue(u"YoungsModulus");
  CEnum table(0);
  auto add = [&](long value) { table.Add(value, kFields[value], LoadResourceString(ids[value])); };
  for (long value = 0; value < static_cast<long>(kFields.size()); ++value) {
    if (value == dissipatedEnergy) continue;
    add(value);
    if (value == youngsModulus) add(dissipatedEnergy);  // it was added beside its kin
  }
  return table;
}

CEnum BuildGroupEnum() {
  CEnum table(0);
  for (size_t value = 0; value < kGroups.size(); ++value)
    table.Add(static_cast<long>(value), kGroups[value],
              LoadResourceString(332 + static_cast<unsigned>(value)));
  return table;
}

CEnum BuildAxisEnum() {
  CEnum table(2);
  const char16_t* names[] = {u"XAxis", u"YAxis", u"ZAxis", u"DAxis"};
  for (unsigned value = 0; value < 4; ++value)
    table.Add(value, names[value], LoadResourceString(40105 + value));
  return table;
}

CEnum BuildEventEnum() {
  CEnum table(0);
  for (long value = 0; value < 10; ++value) {
    table.Add(value, CStr::DoStringFormat(u"Event%ld", value + 1),
              CStr::DoStringFormat(u"Event %ld", value + 1));
  }
  return table;
}

}  // namespace

const CEnum& CKORIExtractor::GetGroupEnum() {
  static const CEnum table = BuildGroupEnum();
  return table;
}

const CEnum& CKORIExtractor::GetFieldEnum() {
  static const CEnum table = BuildFieldEnum();
  return table;
}

const CEnum& CKORIExtractor::GetAxisEnum() {
  static const CEnum table = BuildAxisEnum();
  return table;
}

const CEnum& CKORIExtractor::GetEventEnum() {
  static const CEnum table = BuildEventEnum();
  return table;
}
