#pragma once
#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"
#include "folio/util/CEnum.h"
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// The automation objects a placeholder is read from (the platform's COM and Word layers).
class IDispatch;
class IWordOLEFormat;
class IWordField;
class IWordInlineShape;

// Reads placeholders into control value records and brings descriptions written for
// older hosts (version 1.0 names) into the current naming.
class FOLIO_API CKORIExtractor {
public:
  using EExtractRes = CKORIControlValue::EExtractRes;

  CKORIExtractor() = default;
  CKORIExtractor(const CKORIExtractor&) = default;
  CKORIExtractor& operator=(const CKORIExtractor&) = default;
  virtual ~CKORIExtractor();

  // Reads the host's placeholder control (_DKORIControl, a 1.0 description) into value
  // and translates its legacy names; raises CComError when a property cannot be read.
  static SReportConversionResult ExtractKORIControlProperties(IDispatch* control, CKORIControlValue& value);
  // Reads the host's document server (IKORIDocServer) into value, as it stands.
  static SReportConversionResult ExtractKORIDocServerProperties(IDispatch* server, CKORIControlValue& value);
  // Reads a packed control text into value; eNotKoriElement when it is empty or does
  // not unpack (value is then left as it was).
  static SReportConversionResult ExtractKORIDocServerProperties(CStr text, CKORIControlValue& value);

  // Resets value and reads the placeholder that a Word object holds; an unsupported
  // legacy item becomes a text value holding its error text. Raises CComError when Word
  // or the component fails.
  static SReportConversionResult ExtractKORIElementProperties(IWordOLEFormat* format, CKORIControlValue& value);
  static SReportConversionResult ExtractKORIElementProperties(IWordField* field, CKORIControlValue& value);
  static SReportConversionResult ExtractKORIElementProperties(IWordInlineShape* shape, CKORIControlValue& value);

  // Result groups, fields, axes and events of the current naming; built once.
  static const CEnum& GetGroupEnum();
  static const CEnum& GetFieldEnum();
  static const CEnum& GetAxisEnum();
  static const CEnum& GetEventEnum();

  // Rewrites group and field (moving axis, statistic, event or measure into the
  // parameters) of a legacy description; the record is unchanged when the group fails.
  static EExtractRes TranslateLegacyDescription(CKORIControlValue& value);

  // Rewrites a legacy group name in place.
  static EExtractRes _TranslateOldGroup(CStr& group);
  // Field translators, one per legacy group.
  static EExtractRes _TranslateOldGeneral(CKORIControlValue& value);
  static EExtractRes _TranslateOldProcessing(CKORIControlValue& value);
  static EExtractRes _TranslateOldRoughness(CKORIControlValue& value);
  static EExtractRes _TranslateOldTip(CKORIControlValue& value);
  static EExtractRes _TranslateOldCalibXY(CKORIControlValue& value);
  static EExtractRes _TranslateOldCalibXYLin(CKORIControlValue& value);
  static EExtractRes _TranslateOldCalibZ(CKORIControlValue& value);
  static EExtractRes _TranslateOldForce(CKORIControlValue& value);
  static EExtractRes _TranslateOldFourier(CKORIControlValue& value);
  static EExtractRes _TranslateOldGrain(CKORIControlValue& value);
};
