#pragma once
#include <vector>

#include "folio/util/CEnum.h"
#include "folio/util/Export.h"

// The host's result enumerations, as its shared library would give them. Folio ships
// tables for a surface-measurement program; a host replaces any of them with its own.

enum class EHostTable { eStatistics, eMeasureParameters, eMeasureSummaryItems, eMeasureOutputs,
                        eTipEstimationArea };

// Statistics over one image or a batch: 0 none, 1 minimum, 2 maximum, 3 count, 4 mean,
// 5 standard deviation, 6 median, 8 mode.
FOLIO_API const CEnum& GetStatisticsEnum();
// Per-grain measures; value 0 is the "no parameter" name.
FOLIO_API const CEnum& GetMeasureParametersEnum();
// Whole-image grain summary items.
FOLIO_API const CEnum& GetMeasureSummaryItemsEnum();
// Distributions of the per-grain measures, numbered like the measures themselves.
FOLIO_API const CEnum& GetMeasureOutputsEnum();
// Tip estimation areas 0 to 5: the apex, then the top 10, 20, 50, 100 and 150 nm.
FOLIO_API const CEnum& GetTipEstimationAreaEnum();

// Replaces one table for the rest of the process (or until RestoreHostTables).
FOLIO_API void ReplaceHostTable(EHostTable table, CEnum replacement);
// Puts Folio's own tables and preferences back.
FOLIO_API void RestoreHostTables();

// One parameter or output of an analysis, known by its settings name.
class FOLIO_API CAnalysisItem {
public:
  CAnalysisItem() = default;
  explicit CAnalysisItem(CStr iniName) : m_iniName(std::move(iniName)) {}
  CStr GetIniName() const { return m_iniName; }

private:
  CStr m_iniName;
};

// The parameters and outputs one analysis offers, by index.
class FOLIO_API CAnalysisPreferences {
public:
  CAnalysisPreferences() = default;
  CAnalysisPreferences(std::vector<CAnalysisItem> parameters, std::vector<CAnalysisItem> outputs)
      : m_parameters(std::move(parameters)), m_outputs(std::move(outputs)) {}
  // The item at index, or an item with an empty name past the end.
  CAnalysisItem GetParameter(int index) const { return At(m_parameters, index); }
  CAnalysisItem GetOutput(int index) const { return At(m_outputs, index); }
  int GetParameterCount() const { return static_cast<int>(m_parameters.size()); }
  int GetOutputCount() const { return static_cast<int>(m_outputs.size()); }

private:
  static CAnalysisItem At(const std::vector<CAnalysisItem>& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : CAnalysisItem();
  }
  std::vector<CAnalysisItem> m_parameters;
  std::vector<CAnalysisItem> m_outputs;
};

// Analysis number of the surface roughness analysis.
inline constexpr int kRoughnessAnalysis = 6;

// Preferences per analysis number.
class FOLIO_API CAnalysisPreferencesManager {
public:
  // Preferences of an analysis; empty preferences for an unknown number.
  const CAnalysisPreferences& GetData(int analysis) const;
  void SetData(int analysis, CAnalysisPreferences preferences);
  void Clear() { m_data.clear(); }

private:
  std::vector<std::pair<int, CAnalysisPreferences>> m_data;
};

// The process-wide preferences; roughness (analysis 6) is filled with Folio's defaults.
FOLIO_API CAnalysisPreferencesManager& GetAnalysisPreferencesManager();
