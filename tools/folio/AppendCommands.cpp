#include "AppendCommands.h"

#include <cctype>

#include "CWorkFolder.h"
#include "ExitCodes.h"
#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"

namespace FolioCli {
namespace {

CStr FullPath(const std::filesystem::path& path) {
  std::error_code ec;
  return SystemUtils::FromFsPath(std::filesystem::absolute(path, ec).lexically_normal());
}

// The report kinds the commands handle: HTML, and Word documents (.doc through
// LibreOffice, when it is installed).
enum class EKind { eOther, eHtml, eWord };

EKind KindOf(const std::filesystem::path& path) {
  const CStr text = SystemUtils::FromFsPath(path);
  if (CFolio::GetTemplateFormat(text) == eHTML) return EKind::eHtml;
  std::string extension = SystemUtils::GetExtension(text).ToUtf8();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".docx" || extension == ".docm" || extension == ".doc" ? EKind::eWord : EKind::eOther;
}

}  // namespace

int RunAppend(const std::filesystem::path& source, const std::filesystem::path& target, std::ostream& out,
              std::ostream& err) {
  const EKind kind = KindOf(source);
  if (kind == EKind::eOther || KindOf(target) != kind) {
    err << "folio: append joins two HTML reports (.htm, .html) or two Word reports (.docx, .docm, .doc)\n";
    return eExitUsage;
  }
  const CWorkFolder work;
  CFolio folio;
  const CStr targetPath = FullPath(target);
  const bool appended = kind == EKind::eHtml ? folio.AppendToHtmlReport(FullPath(source), targetPath)
                                             : folio.AppendToWordReport(FullPath(source), targetPath);
  if (!appended) {
    err << "folio: could not append \"" << source.string() << "\" to \"" << target.string() << "\"\n";
    return eExitReportFailed;
  }
  out << targetPath.ToUtf8() << "\n";
  return eExitOk;
}

CKORIControlValue SPlaceholderRequest::ToRecord() const {
  CKORIControlValue record;
  record.Reset();
  record.SetVersion(CKORIControlValue::kCurrentVersion);
  record.SetGroup(CStr::FromUtf8(group));
  record.SetField(CStr::FromUtf8(field));
  if (parameter1) record.SetParameter1(CStr::FromUtf8(*parameter1));
  if (parameter2) record.SetParameter2(CStr::FromUtf8(*parameter2));
  if (statistics1) record.SetStatistics1(CStr::FromUtf8(*statistics1));
  if (statistics2) record.SetStatistics2(CStr::FromUtf8(*statistics2));
  record.SetUnitOptions(unitOptions);
  record.SetPictureOptions(pictureOptions);
  record.SetResolutionFactor(resolutionFactor);
  record.SetScaleFont(scaleFont);
  record.SetBody(body);
  return record;
}

int RunAddPlaceholder(const std::filesystem::path& report, const SPlaceholderRequest& request,
                      std::ostream& out, std::ostream& err) {
  if (KindOf(report) == EKind::eOther) {
    err << "folio: add-placeholder changes HTML reports (.htm, .html) and Word reports (.docx, .docm, .doc)\n";
    return eExitUsage;
  }
  const SPlaceholderRequest plain;
  if (KindOf(report) == EKind::eWord &&
      (request.parameter1 || request.parameter2 || request.statistics1 || request.statistics2 ||
       request.unitOptions != plain.unitOptions || request.pictureOptions != plain.pictureOptions ||
       request.resolutionFactor != plain.resolutionFactor || request.scaleFont != plain.scaleFont ||
       request.body != plain.body))
    err << "folio: note: a placeholder control in a Word report keeps only its group and field; "
           "the other options given are not stored\n";
  const CWorkFolder work;
  CFolio folio;
  const CStr reportPath = FullPath(report);
  if (!folio.AppendKoriControl(reportPath, request.ToRecord())) {
    err << "folio: could not add the placeholder to \"" << report.string() << "\"\n";
    return eExitReportFailed;
  }
  out << reportPath.ToUtf8() << "\n";
  return eExitOk;
}

}  // namespace FolioCli
