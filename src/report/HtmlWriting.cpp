#include "report/HtmlWriting.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <set>

#include "folio/html/IHTMLReaderEvents.h"
#include "folio/util/CDiagnostics.h"
#include "html/CHTMLReader.h"
#include "html/CHTMLTag.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/CGrowingFile.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/picture/PictureSize.h"

namespace fs = std::filesystem;
using namespace SystemUtils;

namespace {

CStr Encoded(CStr name) {
  name.Replace(u" ", u"%20");
  return name;
}

}  // namespace

namespace {

// Finds the body while passing every event on to alongside, so that one reading serves both.
class CBodyFinder : public IHTMLReaderEvents {
public:
  CBodyFinder(const CHTMLReader& reader, IHTMLReaderEvents* alongside) : m_reader(reader), m_alongside(alongside) {}
  void BeginParse(uint32_t appData, bool& abort) override {
    abort = false;
    if (m_alongside) m_alongside->BeginParse(appData, abort);
  }
  void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override {
    abort = false;
    if (!m_opened && tag->Name() == u"body") {
      m_opened = true;
      m_body.start = start + length;
    }
    if (m_alongside) m_alongside->StartTag(tag, start, length, appData, abort);
  }
  void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override {
    abort = false;
    if (tag->Name() == u"body") {
      m_body.end = start;
      m_body.endStandsAlone = m_reader.ReachedAfresh();
    }
    if (m_alongside) m_alongside->EndTag(tag, start, length, appData, abort);
  }
  void Characters(const CStr& text, uint32_t appData, bool& abort) override {
    abort = false;
    if (m_alongside) m_alongside->Characters(text, appData, abort);
  }
  void Comment(const CStr& text, uint32_t appData, bool& abort) override {
    abort = false;
    if (m_alongside) m_alongside->Comment(text, appData, abort);
  }
  void EndParse(uint32_t appData, bool aborted) override {
    if (m_alongside) m_alongside->EndParse(appData, aborted);
  }
  const SHtmlBody& Body() const { return m_body; }

private:
  const CHTMLReader& m_reader;
  IHTMLReaderEvents* m_alongside;
  bool m_opened = false;
  SHtmlBody m_body;
};

}  // namespace

SHtmlBody FindHtmlBody(std::u16string_view text, IHTMLReaderEvents* alongside) {
  CHTMLReader reader;
  CBodyFinder finder(reader, alongside);
  reader.SetEventHandler(&finder);
  reader.Read(text);
  return finder.Body();
}

CStr CompanionFolder(const CStr& htmlPath) { return GetCompanionFolder(htmlPath); }

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

bool CCompanionReferences::Changes(std::u16string_view text) const {
  if (m_find1 == m_replace1 && m_find2 == m_replace2) return false;
  return text.find(m_find1.View()) != std::u16string_view::npos || text.find(m_find2.View()) != std::u16string_view::npos;
}

long RoundToLong(double value) {
  const double rounded = std::round(value);  // halves away from zero
  if (!(rounded >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (rounded > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<long>(rounded);
}

namespace {

CStr Attribute(const char16_t* name, long value) {
  return CStr::DoStringFormat(u" %s=\"%ld\"", name, value);
}

}  // namespace

namespace {

// The names of one folder as the last pass left it.
struct SFolderNames {
  std::optional<SFileStamp> stamp;
  std::set<CStr> taken;
  std::map<CStr, int> firstFree;  // per extension: every lower number is taken
};

std::map<CStr, SFolderNames>& KnownFolders() {
  static std::map<CStr, SFolderNames> folders;
  return folders;
}

CStr ImageName(int number, const CStr& extension) { return CStr::DoStringFormat(u"Image_%03d", number) + extension; }

}  // namespace

void ForgetPictureNames() { KnownFolders().clear(); }

CStr CPictureNames::Next(const CStr& extension) {
  const CStr folder = AddTrailingSeparator(m_folder);
  SFolderNames& known = KnownFolders()[m_folder];
  if (!m_checked) {
    m_checked = true;
    const std::optional<SFileStamp> stamp = SFileStamp::OfFolder(m_folder);
    if (!stamp || stamp != known.stamp) {
      known = SFolderNames{stamp, {}, {}};
      std::error_code ec;
      for (fs::directory_iterator it(ToFsPath(m_folder), ec), end; !ec && it != end; it.increment(ec))
        known.taken.insert(FromFsPath(it->path().filename()));
    }
  }
  int& firstFree = known.firstFree[extension];
  for (m_counter = std::max(m_counter, firstFree); m_counter <= 10000; ++m_counter) {
    const CStr name = ImageName(m_counter, extension);
    if (!known.taken.insert(name).second || PathExists(folder + name)) continue;
    while (known.taken.count(ImageName(firstFree, extension))) ++firstFree;
    return folder + name;
  }
  return MakeUniqueFileName(folder + u"Image_", extension);
}

void CPictureNames::Added() {
  const auto known = KnownFolders().find(m_folder);
  if (known != KnownFolders().end()) known->second.stamp = SFileStamp::OfFolder(m_folder);
}

void WritePicture(CKORIControlValue& value, CPictureNames& names, CBasic_OFStream& out) {
  const CStr& reportFolder = names.Folder();
  const CStr source = value.GetFilename();
  G_Diagnostics.WriteTrace(u"Inserting picture: \"" + source + u"\"\n", u"Livesheeter", 3);
  // Whoever named the file may not be the user: only a picture goes into the report.
  std::error_code ec;
  const auto size = fs::is_regular_file(ToFsPath(source), ec) ? ReadPictureSize(source) : std::nullopt;
  if (!size) {
    const CStr refusal = CStr::DoStringFormat(u"\"%s\" is not a picture (PNG, JPEG, GIF, BMP or TIFF)", source);
    G_Diagnostics.WriteTrace(u"Refusing picture: " + refusal + u"\n", u"Livesheeter", 3);
    CStr text = u"[" + refusal + u"]";
    text.Replace(u"&", u"&amp;");
    text.Replace(u"<", u"&lt;");
    text.Replace(u">", u"&gt;");
    out << text.View();
    return;
  }
  // Into a real folder only, and never through a link someone left there.
  MakeRealFolder(reportFolder);
  const CStr target = names.Next(GetExtension(source));
  CopyFileSafely(source, target);
  names.Added();

  // Browsers read the backslash as a separator, and Windows hosts expect it.
  out << u"<img src=\""
      << AddTrailingSeparator(GetFileName(reportFolder), EPathStyle::eWindows).View()
      << GetFileName(target).View() << u"\"";
  const long w = RoundToLong(value.GetWidth());
  const long h = RoundToLong(value.GetHeight());
  if (value.KeepAspectRatio() && value.BestFit()) {
    const double widthRatio = static_cast<double>(w) / size->width;
    const double heightRatio = static_cast<double>(h) / size->height;
    out << (heightRatio <= widthRatio ? Attribute(u"height", h) : Attribute(u"width", w)).View();
  } else if (value.KeepAspectRatio()) {
    out << (value.FixedAxis() == CKORIControlValue::eAxisX ? Attribute(u"width", w) : Attribute(u"height", h)).View();
  } else {
    out << Attribute(u"width", w).View() << Attribute(u"height", h).View();
  }
  out << u">";
}
