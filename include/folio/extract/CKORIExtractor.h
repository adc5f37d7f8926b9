#pragma once
#include "folio/model/CKORIControlValue.h"
#include "folio/util/CEnum.h"
#include "folio/util/Export.h"

// Reads placeholders into control value records and brings descriptions written for
// older hosts (version 1.0 names) into the current naming.
class FOLIO_API CKORIExtractor {
public:
  using EExtractRes = CKORIControlValue::EExtractRes;

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
