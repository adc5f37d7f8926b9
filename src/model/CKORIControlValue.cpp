#include "folio/model/CKORIControlValue.h"

#include <cmath>

#include "folio/platform/host/HostTables.h"
#include "folio/util/StringTable.h"

namespace {
const char16_t kNoStatistic[] = u"None";
}

CKORIControlValue::CKORIControlValue() { Reset(); }

void CKORIControlValue::Reset() {
  m_height = 0;
  m_width = 0;
  m_type = eNone;
  m_float = 0.0;
  m_integer = 0;
  m_precision = 0;
  m_char = 0;
  m_body = true;
  m_group = CStr();
  m_field = CStr();
  m_parameter2 = GetMeasureParametersEnum().GetName(0);
  m_parameter1 = m_parameter2;
  m_statistics2 = GetStatisticsEnum().GetName(0);
  m_statistics1 = m_statistics2;
  m_resolutionFactor = 2.0f;
  m_scaleFont = 1;
  m_unitOptions = 0;
  m_pictureOptions = 1;
}

void CKORIControlValue::SetVersion(unsigned int major, unsigned int minor) {
  m_versionMajor = major;
  m_versionMinor = minor;
}

void CKORIControlValue::SetVersion(std::uint32_t version) {
  m_versionMajor = version / 1000;
  m_versionMinor = version % 1000;
}

std::uint32_t CKORIControlValue::GetVersion(unsigned int* major, unsigned int* minor) const {
  if (major) *major = m_versionMajor;
  if (minor) *minor = m_versionMinor;
  return m_versionMajor * 1000 + m_versionMinor;
}

void CKORIControlValue::SetDescription(const CKORIControlValue& other) {
  if (this == &other) return;
  SetVersion(other.GetVersion(nullptr, nullptr));
  m_body = other.m_body;
  m_group = other.m_group;
  m_field = other.m_field;
  m_parameter1 = other.m_parameter1;
  m_parameter2 = other.m_parameter2;
  SetStatistics1(other.m_statistics1);
  SetStatistics2(other.m_statistics2);
  m_height = other.m_height;
  m_width = other.m_width;
  m_resolutionFactor = other.m_resolutionFactor;
  m_scaleFont = other.m_scaleFont != 0 ? 1 : 0;
  m_unitOptions = other.m_unitOptions;
  m_pictureOptions = other.m_pictureOptions;
}

void CKORIControlValue::SetStatistics1(const CStr& statistic) {
  if (statistic.IsEmpty()) m_statistics1 = kNoStatistic;
  else m_statistics1 = statistic;
}

void CKORIControlValue::SetStatistics2(const CStr& statistic) {
  if (statistic.IsEmpty()) m_statistics2 = kNoStatistic;
  else m_statistics2 = statistic;
}

bool CKORIControlValue::KeepAspectRatio() {
  return m_pictureOptions == 0 || m_pictureOptions == 1 || m_pictureOptions == 2;
}

CKORIControlValue::EAxis CKORIControlValue::FixedAxis() {
  // Comparisons with NaN are false, which lands on eAxisY for best fit and stretch alike.
  switch (m_pictureOptions) {
    case 0: return m_height < m_width || std::isnan(m_height) || std::isnan(m_width) ? eAxisY : eAxisX;
    case 1: return eAxisX;
    case 2: return eAxisY;
    default:
      return m_height > m_width || std::isnan(m_height) || std::isnan(m_width) ? eAxisY : eAxisX;
  }
}

void CKORIControlValue::CheckConsistency() {
  if (m_type == ePicture && m_filename.IsEmpty()) {
    m_type = eMessage;
    m_message = LoadResourceString(eStrMissingBitmapFileName);
  }
}
