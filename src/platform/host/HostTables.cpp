#include "folio/platform/host/HostTables.h"

#include <array>
#include <initializer_list>

namespace {

CEnum MakeTable(long defaultValue, std::initializer_list<std::pair<long, const char16_t*>> entries) {
  CEnum table(defaultValue);
  for (const auto& [value, name] : entries) table.Add(value, name, name);
  return table;
}

// Per-grain measures, numbered as the host stores them in templates.
constexpr std::array<const char16_t*, 65> kMeasureNames = {
    u"None", u"Label", u"PixelCount", u"EquivalentRadius", u"Width", u"BoxLength",
    u"MeanRadius", u"Diameter", u"FormFactor", u"Perimeter", u"Length", u"ConvexPerimeter",
    u"Compactness", u"Roundness", u"Area", u"Volume", u"ConvexArea", u"Solidity",
    u"Elongation", u"FeretMin", u"FeretMax", u"FeretMean", u"FeretAngleMin", u"FeretAngleMax",
    u"HoleArea", u"HoleCount", u"Eccentricity", u"MinZ", u"MaxZ", u"ZRange", u"MeanZ",
    u"MedianZ", u"SDZ", u"VolumeAbs", u"SkewnessZ", u"KurtosisZ", u"RMSZ", u"ContourMinZ",
    u"ContourMaxZ", u"ContourMeanZ", u"AspectRatio", u"Orientation", u"MajorAxis",
    u"MinorAxis", u"InertiaMajor", u"InertiaMinor", u"CentroidDistance", u"BoundaryMeanZ",
    u"ContourCenterX", u"ContourCenterY", u"CenterX", u"CenterY", u"MeanSlope", u"MaxSlope",
    u"SurfaceArea", u"SurfaceRatio", u"PeakX", u"PeakY", u"MinX", u"MaxX", u"MinY", u"MaxY",
    u"NeighborCount", u"NearestNeighborDist", u"NearestNeighborAngle"};

CEnum MakeMeasureParameters() {
  CEnum table(0);
  for (size_t i = 0; i < kMeasureNames.size(); ++i)
    table.Add(static_cast<long>(i), kMeasureNames[i], kMeasureNames[i]);
  return table;
}

// One distribution per measure, so a histogram placeholder names the same number.
CEnum MakeMeasureOutputs() {
  CEnum table(0);
  table.Add(0, u"None", u"None");
  for (size_t i = 1; i < kMeasureNames.size(); ++i) {
    const CStr name = CStr(kMeasureNames[i]) + u"Distribution";
    table.Add(static_cast<long>(i), name, name);
  }
  return table;
}

// ISO 25178 areal parameters; "Sz", "Sv" and "Sp" sit at 5, 11 and 12.
constexpr std::array<const char16_t*, 39> kRoughnessParameters = {
    u"Sa", u"Sq", u"Ssk", u"Sku", u"Sy", u"Sz", u"S10z", u"S5p", u"S5v", u"Sdq",
    u"Sdr", u"Sv", u"Sp", u"Sal", u"Str", u"Std", u"Sds", u"Ssc", u"Sk", u"Spk",
    u"Svk", u"Smr1", u"Smr2", u"Vm", u"Vv", u"Vmp", u"Vmc", u"Vvc", u"Vvv", u"Sxp",
    u"Smr", u"Smc", u"Sdc", u"Spd", u"Spc", u"Sha", u"Shv", u"Sda", u"Sdv"};

constexpr std::array<const char16_t*, 12> kRoughnessOutputs = {
    u"HeightDistribution", u"BearingAreaCurve", u"MaterialProbabilityCurve",
    u"AutoCorrelation", u"AngularDistribution", u"PowerSpectrum", u"RadialPSD",
    u"AreaScaleAnalysis", u"FractalAnalysis", u"SlopeDistribution", u"MotifAnalysis",
    u"ParameterTable"};

CAnalysisPreferences MakeRoughnessPreferences() {
  std::vector<CAnalysisItem> parameters, outputs;
  for (const char16_t* name : kRoughnessParameters) parameters.emplace_back(name);
  for (const char16_t* name : kRoughnessOutputs) outputs.emplace_back(name);
  return CAnalysisPreferences(std::move(parameters), std::move(outputs));
}

struct SHostState {
  CEnum statistics;
  CEnum measureParameters;
  CEnum summaryItems;
  CEnum measureOutputs;
  CEnum tipAreas;
  CAnalysisPreferencesManager preferences;

  SHostState() { Restore(); }

  void Restore() {
    statistics = MakeTable(0, {{0, u"None"}, {1, u"Min"}, {2, u"Max"}, {3, u"Count"},
                               {4, u"Mean"}, {5, u"SD"}, {6, u"Median"}, {7, u"Range"},
                               {8, u"Mode"}, {9, u"Sum"}});
    measureParameters = MakeMeasureParameters();
    summaryItems = MakeTable(0, {{0, u"None"}, {1, u"ImageArea"}, {2, u"GrainArea"},
                                 {3, u"Coverage"}, {4, u"Elements"},
                                 {5, u"ModeNormalizedElements"}, {6, u"Density"}});
    measureOutputs = MakeMeasureOutputs();
    tipAreas = MakeTable(0, {{0, u"Apex"}, {1, u"Top10nm"}, {2, u"Top20nm"}, {3, u"Top50nm"},
                             {4, u"Top100nm"}, {5, u"Top150nm"}});
    preferences.Clear();
    preferences.SetData(kRoughnessAnalysis, MakeRoughnessPreferences());
  }

  CEnum& Table(EHostTable which) {
    switch (which) {
      case EHostTable::eStatistics: return statistics;
      case EHostTable::eMeasureParameters: return measureParameters;
      case EHostTable::eMeasureSummaryItems: return summaryItems;
      case EHostTable::eMeasureOutputs: return measureOutputs;
      case EHostTable::eTipEstimationArea: break;
    }
    return tipAreas;
  }
};

SHostState& State() {
  static SHostState state;
  return state;
}

}  // namespace

const CEnum& GetStatisticsEnum() { return State().statistics; }
const CEnum& GetMeasureParametersEnum() { return State().measureParameters; }
const CEnum& GetMeasureSummaryItemsEnum() { return State().summaryItems; }
const CEnum& GetMeasureOutputsEnum() { return State().measureOutputs; }
const CEnum& GetTipEstimationAreaEnum() { return State().tipAreas; }

void ReplaceHostTable(EHostTable table, CEnum replacement) {
  State().Table(table) = std::move(replacement);
}

void RestoreHostTables() { State().Restore(); }

const CAnalysisPreferences& CAnalysisPreferencesManager::GetData(int analysis) const {
  static const CAnalysisPreferences empty;
  for (const auto& [number, data] : m_data)
    if (number == analysis) return data;
  return empty;
}

void CAnalysisPreferencesManager::SetData(int analysis, CAnalysisPreferences preferences) {
  for (auto& [number, data] : m_data)
    if (number == analysis) { data = std::move(preferences); return; }
  m_data.emplace_back(analysis, std::move(preferences));
}

CAnalysisPreferencesManager& GetAnalysisPreferencesManager() { return State().preferences; }
