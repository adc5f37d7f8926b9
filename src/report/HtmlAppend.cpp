// Appending HTML reports to one another, and one placeholder to a report.
#include <filesystem>
#include <vector>

#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/CPrivateFolder.h"
#include "report/HtmlWriting.h"
#include "report/UnicodeText.h"

namespace fs = std::filesystem;
using namespace SystemUtils;

namespace {

// Where new content goes: the body's end, or the start of a text without one.
uint32_t BodyEndOrStart(const CStr& text) { return FindHtmlBody(text.View()).end.value_or(0); }

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
    // The whole listing first: renaming while listing the same folder may meet an entry
    // again under its new name.
    std::error_code ec;
    const fs::path folder = ToFsPath(oldFolder);
    std::vector<fs::path> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      names.push_back(it->path().filename());
    for (const fs::path& name : names) fs::rename(folder / name, folder / ToFsPath(oldName + FromFsPath(name)), ec);
  }
  return true;
}

// Copies an HTML file and its companion folder to a new name, references re-pointed;
// the source ends as it was.
bool CopyUnderNewName(const CStr& source, const CStr& destination) {
  if (!PathExists(source) || PathExists(destination)) return false;
  if (PathExists(CompanionFolder(source)) && PathExists(CompanionFolder(destination))) return false;
  // The backup and its companion folder in a folder nobody else can enter or prepare.
  const CPrivateFolder backupFolder;
  if (backupFolder.Path().IsEmpty()) return false;
  const CStr backup = MakeUniqueFileName(backupFolder.Path(), u"HTMLCopy ");
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
  const CPrivateFolder work;
  if (work.Path().IsEmpty()) return false;
  const CStr temporary = MakeUniqueFileName(work.Path() + u"HTMLCopy ", u".htm");
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

  const SHtmlBody sourceBody = FindHtmlBody(sourceText.View());
  const uint32_t sourceEnd = sourceBody.end.value_or(0);
  CStr targetText;
  if (!ReadReportText(target, targetText)) return false;
  const uint32_t targetEnd = BodyEndOrStart(targetText);
  CBasic_OFStream out(target);
  out << targetText.View().substr(0, targetEnd);
  if (sourceEnd > sourceBody.start) out << sourceText.View().substr(sourceBody.start, sourceEnd - sourceBody.start);
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
  const uint32_t bodyEnd = BodyEndOrStart(text);
  CBasic_OFStream out(report);
  out << text.View().substr(0, bodyEnd) << element.View() << text.View().substr(bodyEnd);
  return out.Close();
}
