#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "folio/util/CStr.h"
#include "folio/util/CString.h"
#include "folio/util/Export.h"

// One placeholder of a template: its description (filled from the template) and the
// value the host computed for it (filled by the GetValue callback).
class FOLIO_API CKORIControlValue {
public:
  // Kind of value held; the generators treat values above eSummaryBegin like eNone.
  enum EType : std::int32_t {
    eNone = 0,
    eMessage = 1,
    eText = 2,
    eInteger = 3,
    eFloat = 4,
    eChar = 5,
    ePicture = 6,
    ePrefaceEnd = 7,
    eSummaryBegin = 8,
  };
  // The picture side that is fixed to the placeholder's size.
  enum EAxis : std::int32_t { eAxisX = 0, eAxisY = 1 };
  // Outcome of reading a placeholder and translating legacy names.
  enum EExtractRes : std::int32_t {
    eExtractOk = 0,
    eTranslated = 1,
    eNotKoriElement = 3,
    eFieldNotSupported = 4,
    eGroupNotSupported = 5,
    eElementDefinitionError = 6,
  };

  // Version of a description in the current naming (2.0).
  static constexpr std::uint32_t kCurrentVersion = 2000;

  // Empty texts, then Reset; the version starts at the current version.
  CKORIControlValue();
  CKORIControlValue(const CKORIControlValue&) = default;
  CKORIControlValue& operator=(const CKORIControlValue&) = default;
  virtual ~CKORIControlValue() = default;

  // Description defaults (see the member comments); value texts and the version stay.
  void Reset();

  void SetVersion(unsigned int major, unsigned int minor);
  // major = version / 1000, minor = version % 1000.
  void SetVersion(std::uint32_t version);
  // Writes major and minor through the non-null pointers; returns major * 1000 + minor.
  std::uint32_t GetVersion(unsigned int* major, unsigned int* minor) const;

  // Takes over what other describes (version, group, field, parameters, statistics, size
  // and options) as the setters would, leaving this record's value as it is.
  void SetDescription(const CKORIControlValue& other);

  void SetBody(bool body) { m_body = body; }
  bool GetBody() const { return m_body; }
  void SetGroup(const CStr& group) { m_group = group; }
  CStr GetGroup() { return m_group; }
  void SetField(const CStr& field) { m_field = field; }
  CStr GetField() { return m_field; }
  void SetParameter1(const CStr& parameter) { m_parameter1 = parameter; }
  CStr GetParameter1() { return m_parameter1; }
  void SetParameter2(const CStr& parameter) { m_parameter2 = parameter; }
  CStr GetParameter2() { return m_parameter2; }
  // Image statistic; an empty name stores "None".
  void SetStatistics1(const CStr& statistic);
  CStr GetStatistics1() { return m_statistics1; }
  // Batch statistic; an empty name stores "None".
  void SetStatistics2(const CStr& statistic);
  CStr GetStatistics2() { return m_statistics2; }

  void SetHeight(float height) { m_height = height; }
  float GetHeight() const { return m_height; }
  void SetWidth(float width) { m_width = width; }
  float GetWidth() const { return m_width; }
  void SetResolutionFactor(float factor) { m_resolutionFactor = factor; }
  float GetResolutionFactor() const { return m_resolutionFactor; }
  void SetScaleFont(bool scale) { m_scaleFont = scale ? 1 : 0; }
  short GetScaleFont() const { return m_scaleFont; }
  void SetUnitOptions(short options) { m_unitOptions = options; }
  short GetUnitOptions() const { return m_unitOptions; }
  void SetPictureOptions(short options) { m_pictureOptions = options; }
  short GetPictureOptions() const { return m_pictureOptions; }

  void SetType(EType type) { m_type = type; }
  EType GetType() { return m_type; }
  void SetText(const CStr& text) { m_text = text; }
  CStr GetText() { return m_text; }
  void SetInteger(std::int32_t value) { m_integer = value; }
  std::int32_t GetInteger() const { return m_integer; }
  void SetFloat(double value) { m_float = value; }
  double GetFloat() const { return m_float; }
  void SetPrecision(std::int32_t precision) { m_precision = precision; }
  std::int32_t GetPrecision() const { return m_precision; }
  void SetChar(char16_t c) { m_char = c; }
  char16_t GetChar() const { return m_char; }
  void SetFilename(const CStr& filename) { m_filename = filename; }
  CStr GetFilename() { return m_filename; }
  void SetUnit(const CStr& unit) { m_unit = unit; }
  CStr GetUnit() { return m_unit; }
  void SetMessage(const CStr& message) { m_message = message; }
  CStr GetMessage() { return m_message; }

  // Picture options 0 to 2 keep the picture's proportions; 3 and any other value stretch.
  bool KeepAspectRatio();
  // Picture options 0: fit the picture into the placeholder box.
  bool BestFit() const { return m_pictureOptions == 0; }
  // Which placeholder side the picture takes over.
  EAxis FixedAxis();

  // A picture without a file name becomes the message "ERROR: Missing bitmap file name.".
  void CheckConsistency();

  // The text written for text-like values; cached for eNone, eInteger, eFloat and eChar.
  CStr DisplayString();
  // A number laid out by precision and magnitude so that a column of one precision lines up.
  static CStr FormatValue(double value, std::int32_t precision);
  // Leading spaces and leading zeros of the exponent removed ("1.5E-007" -> "1.5E-7").
  static CStr CompactExponent(CStr text);

  // The description as the fourteen-line "KORI {" text.
  CStr Pack();
  // Reads a packed text into the description; false when any line is invalid.
  bool Unpack(CStr& text);
  bool Unpack(CString& text);

private:
  bool ApplyPackedLine(std::u16string_view line, std::optional<long>& version);

  std::uint32_t m_versionMajor = kCurrentVersion / 1000;
  std::uint32_t m_versionMinor = kCurrentVersion % 1000;
  bool m_body = true;
  CStr m_group;
  CStr m_field;
  CStr m_parameter1;  // a measure parameter name of the host
  CStr m_parameter2;
  CStr m_statistics1;  // statistic over one image
  CStr m_statistics2;  // statistic over a batch of images
  float m_height = 0;
  float m_width = 0;
  float m_resolutionFactor = 2.0f;
  std::int16_t m_scaleFont = 1;
  std::int16_t m_unitOptions = 0;     // 0 number and unit, 1 number, 2 unit, else nothing
  std::int16_t m_pictureOptions = 1;  // 0 best fit, 1 fixed width, 2 fixed height, 3 stretch
  EType m_type = eNone;
  CStr m_text;
  std::int32_t m_integer = 0;
  double m_float = 0;
  std::int32_t m_precision = 0;
  char16_t m_char = 0;
  CStr m_filename;
  CStr m_unit;
  CStr m_message;
  CStr m_displayString;
};
