#pragma once
#include "folio/model/CKORIControlValue.h"
#include "folio/util/Export.h"

// The outcome of reading one placeholder: how it went, the description as read, and
// the description after legacy names were translated.
struct FOLIO_API SReportConversionResult {
  // Both records freshly reset.
  explicit SReportConversionResult(CKORIControlValue::EExtractRes result = CKORIControlValue::eExtractOk)
      : m_result(result) {}
  SReportConversionResult(CKORIControlValue::EExtractRes result, const CKORIControlValue& asRead,
                          const CKORIControlValue& converted)
      : m_result(result), m_asRead(asRead), m_converted(converted) {}

  CKORIControlValue::EExtractRes m_result;
  CKORIControlValue m_asRead;
  CKORIControlValue m_converted;
};
