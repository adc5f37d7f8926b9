// Word steps that the generator and the appenders share.
#include "folio/extract/CKORIExtractor.h"
#include "report/WordRun.h"

SReportConversionResult ExtractPlaceholder(IWordInlineShape& shape, CKORIControlValue& record) {
  return CKORIExtractor::ExtractKORIElementProperties(&shape, record);
}

bool IsSectionTag(const SReportConversionResult& reading, CKORIControlValue& record, ESectionTag tag) {
  return reading.m_result == CKORIControlValue::eExtractOk && SectionTagOf(record.GetField()) == tag;
}

// Translated descriptions and descriptions that cannot be answered are worth telling;
// clean ones and shapes that are no placeholder are not.
void RecordReading(SWordRun& word, const SReportConversionResult& reading) {
  if (reading.m_result != CKORIControlValue::eExtractOk && reading.m_result != CKORIControlValue::eNotKoriElement)
    word.run.results.push_back(reading);
}
