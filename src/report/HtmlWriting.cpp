#include "report/HtmlWriting.h"

#include <cmath>
#include <filesystem>
#include <limits>

#include "folio/util/CDiagnostics.h"
#include "folio/util/SystemUtils.h"
#include "platform/picture/PictureSize.h"

namespace fs = std::filesystem;
using namespace SystemUtils;

namespace {

CStr Encoded(CStr name) {
  name.Replace(u" ", u"%20");
  return name;
}

}  // namespace

CStr CompanionFolder(const CStr& htmlPath) { return RemoveExtension(htmlPath) + u"_files"; }

CCompanionReferences::CCompanionReferences(const CStr& fromFolder, const CStr& toFolder) {
  m_find1 = u"\"" + GetBaseName(fromFolder);
  m_replace1 = u"\"" + GetBaseName(toFolder);
  m_find2 = u"\"" + Encoded(GetBaseName(fromFolder));
  m_replace2 = u"\"" + Encoded(GetBaseName(toFolder));
}

CStr CCompanionReferences::Rewrite(CStr text) const {
  if (m_find1 == m_replace1 && m_find2 == m_replace2) return text;
  text.Replace(m_find1, m_replace1);
  text.Replace(m_find2, m_replace2);
  return text;
}

long RoundToLong(double value) {
  const double rounded = std::round(value);  // halves away from zero
  if (!(rounded >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (rounded > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<long>(rounded);
}

namespace {

CStr NextPictureName(const CStr& reportFolder, const CStr& extension, int& counter) {
  const CStr folder = AddTrailingSeparator(reportFolder);
  for (; counter <= 10000; ++counter) {
    const CStr candidate = folder + CStr::DoStringFormat(u"Image_%03d", counter) + extension;
    if (!PathExists(candidate)) return candidate;
  }
  return MakeUniqueFileName(folder + u"Image_", extension);
}

CStr Attribute(const char16_t* name, long value) {
  return CStr::DoStringFormat(u" %s=\"%ld\"", name, value);
}

}  // namespace

void WritePicture(CKORIControlValue& value, const CStr& reportFolder, int& counter, CBasic_OFStream& out) {
  const CStr source = value.GetFilename();
  G_Diagnostics.WriteTrace(u"Inserting picture: \"" + source + u"\"\n", u"Livesheeter", 3);
  std::error_code ec;
  if (!fs::exists(ToFsPath(reportFolder), ec)) fs::create_directory(ToFsPath(reportFolder), ec);
  const CStr target = NextPictureName(reportFolder, GetExtension(source), counter);
  fs::copy_file(ToFsPath(source), ToFsPath(target), fs::copy_options::overwrite_existing, ec);

  // Browsers read the backslash as a separator, and Windows hosts expect it.
  out << u"<img src=\""
      << AddTrailingSeparator(GetFileName(reportFolder), EPathStyle::eWindows).View()
      << GetFileName(target).View() << u"\"";
  const long w = RoundToLong(value.GetWidth());
  const long h = RoundToLong(value.GetHeight());
  if (value.KeepAspectRatio() && value.BestFit()) {
    if (const auto size = ReadPictureSize(source)) {
      const double widthRatio = static_cast<double>(w) / size->width;
      const double heightRatio = static_cast<double>(h) / size->height;
      out << (heightRatio <= widthRatio ? Attribute(u"height", h) : Attribute(u"width", w)).View();
    }
  } else if (value.KeepAspectRatio()) {
    out << (value.FixedAxis() == CKORIControlValue::eAxisX ? Attribute(u"width", w) : Attribute(u"height", h)).View();
  } else {
    out << Attribute(u"width", w).View() << Attribute(u"height", h).View();
  }
  out << u">";
}
