#include "AppendCommands.h"

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

bool IsHtml(const std::filesystem::path& path) {
  return CFolio::GetTemplateFormat(SystemUtils::FromFsPath(path)) == eHTML;
}

}  // namespace

int RunAppend(const std::filesystem::path& source, const std::filesystem::path& target, std::ostream& out,
              std::ostream& err) {
  if (!IsHtml(source) || !IsHtml(target)) {
    err << "folio: append joins HTML reports (.htm, .html)\n";
    return eExitUsage;
  }
  const CWorkFolder work;
  CFolio folio;
  const CStr targetPath = FullPath(target);
  if (!folio.AppendToHtmlReport(FullPath(source), targetPath)) {
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
  if (!IsHtml(report)) {
    err << "folio: add-placeholder changes HTML reports (.htm, .html)\n";
    return eExitUsage;
  }
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
