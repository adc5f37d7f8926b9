#include "folio/ui/CKoriInifile.h"

#include "folio/platform/host/CInstallSettings.h"

CKoriInifile::CKoriInifile() : CInifile(GetInstallSettings().GetIniFilePath(), u"Livesheeter") {}

CStr CKoriInifile::GetDefaultWordTemplate() const { return ReadString(u"DefaultWordTemplate", CStr()); }

bool CKoriInifile::SetDefaultWordTemplate(const CStr& path) const {
  return WriteString(u"DefaultWordTemplate", path);
}

CStr CKoriInifile::GetDefaultWordReport() const { return ReadString(u"DefaultWordReport", CStr()); }

bool CKoriInifile::SetDefaultWordReport(const CStr& path) const { return WriteString(u"DefaultWordReport", path); }

CStr CKoriInifile::GetDefaultWordReportOptions() const {
  return ReadString(u"DefaultWordReportOptions", u"Auto");
}

bool CKoriInifile::SetDefaultWordReportOptions(const CStr& name) const {
  return WriteString(u"DefaultWordReportOptions", name);
}
