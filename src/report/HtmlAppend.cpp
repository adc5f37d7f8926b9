// Appending HTML reports to one another, and one placeholder to a report.
#include <filesystem>

#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"
#include "folio/html/CHTMLEventHandler.h"
#include "html/CHTMLReader.h"
#include "report/HtmlWriting.h"
#include "report/UnicodeText.h"

namespace fs = std::filesystem;
using namespace SystemUtils;

namespace {

struct SBody {
  uint32_t start;
  uint32_t end;
};

// Where the body of an HTML text starts and ends, as the template collector sees it.
SBody FindBody(const CStr& text) {
  CHTMLEventHandler collector;
  CHTMLReader reader;
  reader.SetEventHandler(&collector);
  reader.Read(text.View());
  return {static_cast<uint32_t>(collector.GetBodyStart()), static_cast<uint32_t>(collector.GetBodyEnd())};
}

void DeleteWithCompanion(const CStr& path) { FileOperationWithCompanion(path, CStr(), eDelete); }

// Rewrites the companion folder references of the file at html to name newName's
// folder. When that folder exists already, taken-over files get the old folder's name
// as a prefix so that they cannot collide with what is there.
bool RepointCompanionReferences(const CStr& html, const CStr& newName) {
  CStr text;
  if (!ReadReportText(html, text) || text.IsEmpty()) return false;
  const CStr oldFolder = CompanionFolder(html);
  const CStr oldName = GetBaseName(oldFolder);
  CStr oldEncoded = oldName;
  oldEncoded.Replace(u" ", u"%20");
  CStr newReference = u"\"" + GetBaseName(CompanionFolder(newName)) + u"\\";
  CStr newEncoded = newReference;
  newEncoded.Replace(u" ", u"%20");
  const bool merge = PathExists(CompanionFolder(newName));
  if (merge) {
    newReference += oldName;
    newEncoded += oldName;
  }
  for (const char16_t* separator : {u"\\", u"/"}) text.Replace(u"\"" + oldName + separator, newReference);
  for (const char16_t* separator : {u"\\", u"/"}) text.Replace(u"\"" + oldEncoded + separator, newEncoded);
  CBasic_OFStream out(html);
  out << text.View();
  if (!out.Close()) return false;
  if (merge) {
    std::error_code ec;
    const fs::path folder = ToFsPath(oldFolder);
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      const CStr name = FromFsPath(entry.path().filename());
      fs::rename(entry.path(), folder / ToFsPath(oldName + name), ec);
    }
  }
  return true;
}

// Copies an HTML file and its companion folder to a new name, references re-pointed;
// the source ends as it was.
bool CopyUnderNewName(const CStr& source, const CStr& destination) {
  if (!PathExists(source) || PathExists(destination)) return false;
  if (PathExists(CompanionFolder(source)) && PathExists(CompanionFolder(destination))) return false;
  const CStr backup = MakeUniqueFileName(GetTempFolder(), u"HTMLCopy ");
  if (!FileOperationWithCompanion(source, backup, eCopy)) return false;
  const bool repointed = RepointCompanionReferences(source, destination);
  const bool copied = repointed && FileOperationWithCompanion(source, destination, eCopy);
  const bool restored = FileOperationWithCompanion(backup, source, eMove);
  return repointed && copied && restored;
}

}  // namespace

bool CFolio::AppendToHtmlReport(CStr source, CStr target) {
  if (source == target) return true;
  if (!PathExists(target)) return CopyUnderNewName(source, target);
  const CStr temporary = MakeUniqueFileName(AddTrailingSeparator(GetTempFolder()) + u"HTMLCopy ", u".htm");
  if (!CopyUnderNewName(source, temporary)) return false;
  if (!RepointCompanionReferences(temporary, target)) {
    DeleteWithCompanion(temporary);
    return false;
  }
  CStr sourceText;
  const bool read = ReadReportText(temporary, sourceText);
  const bool copied = read && (!PathExists(CompanionFolder(temporary)) ||
                               CopyFolderContents(CompanionFolder(temporary), CompanionFolder(target)));
  DeleteWithCompanion(temporary);
  if (!copied) return false;

  const SBody sourceBody = FindBody(sourceText);
  CStr targetText;
  if (!ReadReportText(target, targetText)) return false;
  const uint32_t targetEnd = FindBody(targetText).end;
  CBasic_OFStream out(target);
  out << targetText.View().substr(0, targetEnd);
  if (sourceBody.end > sourceBody.start)
    out << sourceText.View().substr(sourceBody.start, sourceBody.end - sourceBody.start);
  out << targetText.View().substr(targetEnd);
  return out.Close();
}

bool CFolio::AppendKoriControl(CStr report, CKORIControlValue const& value) {
  if (GetTemplateFormat(report) != eHTML) return AppendKoriControlToWord(report, value);
  CKORIControlValue record = value;
  CStr element = u"<img alt=\"" + record.Pack() + u"\">";
  element.Replace(u"\r", u"&#13;");
  element.Replace(u"\n", u"&#10;");
  element.Replace(u"\t", u"&#9;");
  CStr text;
  if (!ReadReportText(report, text)) return false;
  const uint32_t bodyEnd = FindBody(text).end;
  CBasic_OFStream out(report);
  out << text.View().substr(0, bodyEnd) << element.View() << text.View().substr(bodyEnd);
  return out.Close();
}
