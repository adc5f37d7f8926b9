// Group renames and the field translators of the simpler legacy groups.
#include "LegacyRules.h"

using namespace legacy;
using V = CKORIControlValue;

V::EExtractRes CKORIExtractor::_TranslateOldGroup(CStr& group) {
  struct { const char16_t* legacy; long current; } const renames[] = {
      {u"General", 1},       {u"SectionTags", 2},      {u"Processing", 3}, {u"CalibrationXY", 5},
      {u"CalibrationZ", 7},  {u"CalibrationXYLin", 6}, {u"ForceCurve", 4}};
  for (const auto& rename : renames) {
    if (group == rename.legacy) {
      group = Group(rename.current);
      return V::eExtractOk;
    }
  }
  return group == u"CITS" ? V::eGroupNotSupported : V::eExtractOk;
}

V::EExtractRes CKORIExtractor::TranslateLegacyDescription(CKORIControlValue& value) {
  CStr group = value.GetGroup();
  const EExtractRes groupResult = _TranslateOldGroup(group);
  if (groupResult != V::eExtractOk) return groupResult;
  value.SetGroup(group);

  struct { const char16_t* group; EExtractRes (*translate)(CKORIControlValue&); } const translators[] = {
      {u"Grain", _TranslateOldGrain},         {u"BasicInfo", _TranslateOldGeneral},
      {u"Roughness", _TranslateOldRoughness}, {u"PlugInParmGroup", _TranslateOldRoughness},
      {u"BasicProc", _TranslateOldProcessing}, {u"Tip", _TranslateOldTip},
      {u"CalibXY", _TranslateOldCalibXY},     {u"CalibZ", _TranslateOldCalibZ},
      {u"CalibXYLin", _TranslateOldCalibXYLin}, {u"Force", _TranslateOldForce},
      {u"Fourier", _TranslateOldFourier}};
  for (const auto& entry : translators)
    if (group == entry.group) return entry.translate(value);
  return V::eExtractOk;
}

// Compares the field as it stands, spaces included.
V::EExtractRes CKORIExtractor::_TranslateOldGeneral(CKORIControlValue& value) {
  static const SAxisRename renames[] = {
      {u"xrange", u"range", 0},         {u"yrange", u"range", 1},
      {u"zrange", u"range", 2},         {u"nx", u"pixels", 0},
      {u"ny", u"pixels", 1},            {u"nz", u"pixels", 2},
      {u"xoffset", u"offset", 0},       {u"yoffset", u"offset", 1},
      {u"physstartx", u"physstart", 0}, {u"physstarty", u"physstart", 1},
      {u"physendx", u"physend", 0},     {u"physendy", u"physend", 1},
      {u"linedir", u"scandir", 0},      {u"framedir", u"scandir", 1},
      {u"XUnit", u"min", 0},            {u"YUnit", u"min", 1},
      {u"ZUnit", u"min", 2}};
  const CStr field = value.GetField();
  if (ApplyAxisRename(renames, field, value)) {
    if (field.EndsWith(u"Unit")) value.SetUnitOptions(2);  // the unit alone
    return V::eExtractOk;
  }
  if (field == u"longdesc") {
    value.SetField(u"desc");
    value.SetParameter1(MeasureParameter(0));
    return V::eExtractOk;
  }
  if (field == u"min" || field == u"max") return V::eExtractOk;
  if (!GetFieldEnum().Contains(field)) return V::eFieldNotSupported;
  value.SetParameter1(MeasureParameter(0));
  return V::eExtractOk;
}

V::EExtractRes CKORIExtractor::_TranslateOldProcessing(CKORIControlValue& value) {
  static const SAxisRename renames[] = {
      {u"AverageXProfile", u"AverageProfile", 0},
      {u"AverageYProfile", u"AverageProfile", 1},
      {u"AverageXFourier", u"AverageFourier", 0},
      {u"AverageYFourier", u"AverageFourier", 1},
      {u"AverageXFourierPSD", u"AverageFourierPSD", 0},
      {u"AverageYFourierPSD", u"AverageFourierPSD", 1},
      {u"CrossHairX", u"CrossHair", 0},
      {u"CrossHairY", u"CrossHair", 1}};
  const CStr field = value.GetField().Trimmed();
  return ApplyAxisRename(renames, field, value) ? V::eExtractOk : KeptIfKnown(field);
}

V::EExtractRes CKORIExtractor::_TranslateOldCalibXY(CKORIControlValue& value) {
  static const SAxisRename renames[] = {
      {u"avecx", u"avec", 0}, {u"avecy", u"avec", 1}, {u"bvecx", u"bvec", 0}, {u"bvecy", u"bvec", 1}};
  const CStr field = value.GetField().Trimmed();
  return ApplyAxisRename(renames, field, value) ? V::eExtractOk : KeptIfKnown(field);
}

V::EExtractRes CKORIExtractor::_TranslateOldCalibZ(CKORIControlValue& value) {
  return KeptIfKnown(value.GetField().Trimmed());
}

V::EExtractRes CKORIExtractor::_TranslateOldFourier(CKORIControlValue& value) {
  const CStr field = value.GetField().Trimmed();
  if (field == u"FourierImage") {
    value.SetField(u"FourierTransfImage");
    return V::eExtractOk;
  }
  return KeptIfKnown(field);
}

V::EExtractRes CKORIExtractor::_TranslateOldCalibXYLin(CKORIControlValue& value) {
  static const SAxisRename axisRenames[] = {
      {u"LinXb", u"Linb", 0}, {u"LinYb", u"Linb", 1}, {u"LinXc", u"Linc", 0},
      {u"LinYc", u"Linc", 1}, {u"LinXd", u"Lind", 0}, {u"LinYd", u"Lind", 1},
      {u"LinXErrorCurve", u"LinErrorCurve", 0}, {u"LinYErrorCurve", u"LinErrorCurve", 1}};
  // Error statistics: the legacy name carries axis (or none) and statistic.
  struct { const char16_t* stem; const char16_t* suffix; const char16_t* field; long axis; } const errors[] = {
      {u"Lin", u"Error", u"LinErrorPix", -1},   {u"LinX", u"Error", u"LinXYErrorPix", 0},
      {u"LinY", u"Error", u"LinXYErrorPix", 1}, {u"Lin", u"ErrorPct", u"LinErrorPct", -1},
      {u"LinX", u"ErrorPct", u"LinXYErrorPct", 0}, {u"LinY", u"ErrorPct", u"LinXYErrorPct", 1}};
  struct { const char16_t* name; long statistic; } const statistics[] = {
      {u"Mean", 4}, {u"SD", 5}, {u"Max", 2}};

  const CStr field = value.GetField().Trimmed();
  if (ApplyAxisRename(axisRenames, field, value)) return V::eExtractOk;
  for (const auto& error : errors) {
    for (const auto& statistic : statistics) {
      if (field != CStr(error.stem) + statistic.name + error.suffix) continue;
      value.SetField(error.field);
      if (error.axis >= 0) value.SetParameter1(Axis(error.axis));
      value.SetStatistics1(Statistic(statistic.statistic));
      return V::eExtractOk;
    }
  }
  return KeptIfKnown(field);
}
