// Reading Word placeholders: the host's control, its document server and packed
// alternative texts, and the frame the three kinds of Word object share.
#include "folio/extract/CKORIExtractor.h"
#include "folio/platform/host/HostTables.h"
#include "folio/util/StringTable.h"
#include "platform/com/CComError.h"
#include "platform/com/CKORIControl.h"
#include "platform/com/CKORIDocServer.h"
#include "platform/word/om/WordObjectModel.h"

using V = CKORIControlValue;

namespace {

// _DKORIControl dispatch ids.
enum EControlId : DISPID { eCtlGroup = 1, eCtlField = 2, eCtlUnitOptions = 4, eCtlPictureOptions = 5,
                           eCtlResolutionFactor = 6, eCtlScaleFont = 7, eCtlStatistic = 8 };
// IKORIDocServer dispatch ids.
enum EServerId : DISPID { eSrvGroup = 1, eSrvField = 2, eSrvParameter1 = 3, eSrvParameter2 = 4,
                          eSrvStatistics1 = 5, eSrvStatistics2 = 6, eSrvUnitOptions = 7, eSrvPictureOptions = 8,
                          eSrvScaleFont = 9, eSrvResolutionFactor = 10, eSrvVersion = 11, eSrvEndActivation = 12 };

CStr Statistic(long n) { return GetStatisticsEnum().GetName(n); }

CStr Text(IDispatch& object, DISPID id) { return GetProperty(object, id).AsText(); }
short Short(IDispatch& object, DISPID id) { return static_cast<short>(GetProperty(object, id).AsLong()); }
float Float(IDispatch& object, DISPID id) { return static_cast<float>(GetProperty(object, id).AsDouble()); }

IDispatch& Required(IDispatch* object) {
  if (!object) throw CComError(E_POINTER, u"no placeholder object was given");
  return *object;
}

// The object's interface iid, or null when it does not offer it; other failures raise.
std::shared_ptr<IDispatch> Offering(std::shared_ptr<IDispatch> object, const IID& iid) {
  if (!object) throw CComError(E_POINTER, u"the embedded object has no automation object");
  const HRESULT hr = object->QueryInterface(iid);
  if (hr == E_NOINTERFACE) return nullptr;
  ThrowIfFailed(hr, u"the embedded object cannot be asked for its interface");
  return object;
}

// A batch statistic, or one of the application-wide facts, makes a summary element.
bool IsBodyElement(CKORIControlValue& value) {
  if (value.GetStatistics2() != Statistic(0)) return false;
  const auto group = CKORIExtractor::GetGroupEnum().FindValue(value.GetGroup());
  const auto field = CKORIExtractor::GetFieldEnum().FindValue(value.GetField());
  if (group != 0L || !field) return true;
  for (long systemWide : {0L, 1L, 2L, 3L, 4L, 6L, 11L})
    if (*field == systemWide) return false;
  return true;
}

// A legacy item that cannot be translated is written as its error text.
void MarkUnsupported(V::EExtractRes result, CKORIControlValue& value) {
  unsigned text = 0;
  if (result == V::eFieldNotSupported) text = eStrFieldNotSupported;
  else if (result == V::eGroupNotSupported) text = eStrGroupNotSupported;
  else if (result == V::eElementDefinitionError) text = eStrElementDefinitionError;
  if (!text) return;
  value.SetType(V::eText);
  value.SetText(LoadResourceString(text));
}

SReportConversionResult Finished(SReportConversionResult result, CKORIControlValue& value) {
  MarkUnsupported(result.m_result, value);
  result.m_converted = value;
  result.m_converted.SetVersion(2u, 0u);
  return result;
}

SReportConversionResult ReadDocServer(IWordOLEFormat& format, CKORIControlValue& value) {
  format.Activate();
  auto server = Offering(format.Object(), CKORIDocServer::InterfaceId());
  if (!server) return SReportConversionResult(V::eNotKoriElement);
  SReportConversionResult result = CKORIExtractor::ExtractKORIDocServerProperties(server.get(), value);
  CallMethod(*server, eSrvEndActivation);
  return result;
}

SReportConversionResult ReadControl(IWordOLEFormat& format, CKORIControlValue& value) {
  auto control = Offering(format.Object(), CKORIControl::InterfaceId());
  if (!control) return SReportConversionResult(V::eNotKoriElement);
  return CKORIExtractor::ExtractKORIControlProperties(control.get(), value);
}

// The placeholder an embedded object holds, by its class.
SReportConversionResult ReadByClass(IWordOLEFormat& format, CKORIControlValue& value) {
  const CStr classType = format.ClassType();
  if (classType == CKORIControl::kProgId) return ReadControl(format, value);
  if (classType == CKORIDocServer::kProgId) return ReadDocServer(format, value);
  return SReportConversionResult(V::eNotKoriElement);
}

}  // namespace

CKORIExtractor::~CKORIExtractor() = default;

SReportConversionResult CKORIExtractor::ExtractKORIControlProperties(IDispatch* control, CKORIControlValue& value) {
  IDispatch& object = Required(control);
  SReportConversionResult result(V::eExtractOk);
  value.SetVersion(1u, 0u);
  value.SetGroup(Text(object, eCtlGroup));
  value.SetField(Text(object, eCtlField));
  value.SetParameter1(CStr());
  value.SetParameter2(CStr());
  value.SetStatistics1(Statistic(0));
  value.SetStatistics2(Statistic(0));
  value.SetUnitOptions(Short(object, eCtlUnitOptions));
  value.SetPictureOptions(Short(object, eCtlPictureOptions));
  value.SetResolutionFactor(Float(object, eCtlResolutionFactor));
  value.SetScaleFont(GetProperty(object, eCtlScaleFont).AsLong() != 0);
  const struct { const char16_t* name; long statistic; } batchStatistics[] = {
      {u"Count", 3}, {u"Min", 1}, {u"Max", 2}, {u"Mean", 4}, {u"SD", 5}};
  const CStr statistic = Text(object, eCtlStatistic);
  for (const auto& s : batchStatistics)
    if (statistic == s.name) value.SetStatistics2(Statistic(s.statistic));
  result.m_asRead = value;

  result.m_result = TranslateLegacyDescription(value);
  // Only the group translation fails this way; the converted record then stays reset.
  if (result.m_result == V::eGroupNotSupported) return result;
  value.SetBody(IsBodyElement(value));
  result.m_converted = value;
  result.m_converted.SetVersion(2u, 0u);
  return result;
}

SReportConversionResult CKORIExtractor::ExtractKORIDocServerProperties(IDispatch* server, CKORIControlValue& value) {
  IDispatch& object = Required(server);
  value.SetVersion(static_cast<std::uint32_t>(GetProperty(object, eSrvVersion).AsLong()));
  value.SetGroup(Text(object, eSrvGroup));
  value.SetField(Text(object, eSrvField));
  value.SetParameter1(Text(object, eSrvParameter1));
  value.SetParameter2(Text(object, eSrvParameter2));
  value.SetStatistics1(Text(object, eSrvStatistics1));
  value.SetStatistics2(Text(object, eSrvStatistics2));
  value.SetUnitOptions(Short(object, eSrvUnitOptions));
  value.SetPictureOptions(Short(object, eSrvPictureOptions));
  value.SetResolutionFactor(Float(object, eSrvResolutionFactor));
  value.SetScaleFont(GetProperty(object, eSrvScaleFont).AsLong() != 0);
  return SReportConversionResult(V::eExtractOk, value, value);
}

SReportConversionResult CKORIExtractor::ExtractKORIDocServerProperties(CStr text, CKORIControlValue& value) {
  if (text.IsEmpty()) return SReportConversionResult(V::eNotKoriElement);
  // Unpacking writes as it reads: a text that fails half way must not leave its pieces.
  CKORIControlValue unpacked = value;
  if (!unpacked.Unpack(text)) return SReportConversionResult(V::eNotKoriElement);
  value = unpacked;
  return SReportConversionResult(V::eExtractOk, value, value);
}

SReportConversionResult CKORIExtractor::ExtractKORIElementProperties(IWordOLEFormat* format, CKORIControlValue& value) {
  value.Reset();
  if (!format) throw CComError(E_POINTER, u"no OLE format was given");
  return Finished(ReadByClass(*format, value), value);
}

SReportConversionResult CKORIExtractor::ExtractKORIElementProperties(IWordField* field, CKORIControlValue& value) {
  SReportConversionResult result(V::eNotKoriElement);
  value.Reset();
  if (!field) throw CComError(E_POINTER, u"no field was given");
  auto format = field->OLEFormat();
  if (!format) return result;
  if (format->ClassType() == CKORIDocServer::kProgId) {
    // The packed text in the shape's alternative text describes the item as well as
    // the server does, without starting it.
    if (auto shape = field->InlineShape()) result = ExtractKORIDocServerProperties(shape->AlternativeText(), value);
    if (result.m_result != V::eExtractOk) result = ReadDocServer(*format, value);
  } else {
    result = ReadByClass(*format, value);
  }
  return Finished(result, value);
}

SReportConversionResult CKORIExtractor::ExtractKORIElementProperties(IWordInlineShape* shape, CKORIControlValue& value) {
  value.Reset();
  if (!shape) throw CComError(E_POINTER, u"no inline shape was given");
  SReportConversionResult result = ExtractKORIDocServerProperties(shape->AlternativeText(), value);
  if (result.m_result == V::eExtractOk) return Finished(result, value);
  auto format = shape->OLEFormat();
  if (!format) return result;
  return Finished(ReadByClass(*format, value), value);
}
