#include "folio/platform/host/CInstallSettings.h"

#include <cstdlib>

#include "folio/platform/host/CInifile.h"
#include "folio/util/SystemUtils.h"

namespace {

CStr Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? CStr::FromUtf8(value) : CStr();
}

}  // namespace

CInstallSettings::CInstallSettings(SRegistryLocation userLocation, SRegistryLocation folderLocation)
    : m_userLocation(std::move(userLocation)), m_folderLocation(std::move(folderLocation)) {}

CStr CInstallSettings::GetSettingsFilePath() {
  if (CStr explicitFile = Environment("FOLIO_SETTINGS"); !explicitFile.IsEmpty()) return explicitFile;
  CStr config = Environment("XDG_CONFIG_HOME");
  if (config.IsEmpty()) {
    const CStr home = Environment("HOME");
    if (home.IsEmpty()) return CStr();
    config = SystemUtils::AddTrailingSeparator(home) + u".config";
  }
  return SystemUtils::AddTrailingSeparator(config) + u"folio/folio.ini";
}

CStr CInstallSettings::ReadRegistryString(const SRegistryLocation& location, const CStr& valueName,
                                          const CStr& defaultValue) const {
  return CInifile(GetSettingsFilePath(), location.SectionName()).ReadString(valueName, defaultValue);
}

CStr CInstallSettings::GetUserPath() const {
  return SystemUtils::AddTrailingSeparator(ReadRegistryString(m_userLocation, u"UserPath", u""));
}

CStr CInstallSettings::GetIniFilePath() const {
  return ReadRegistryString(m_folderLocation, u"IniFilePath", GetUserPath() + u"Kori.ini");
}

CStr CInstallSettings::GetLivesheetOutputPath() const {
  return ReadRegistryString(m_folderLocation, u"LivesheetOutputPath",
                            GetUserPath() + u"Livesheet Reports");
}

CStr CInstallSettings::GetLivesheetTemplatesPath() const {
  return ReadRegistryString(m_folderLocation, u"LivesheetTemplatesPath",
                            GetUserPath() + u"Livesheet Templates");
}

CInstallSettings& GetInstallSettings() {
  static CInstallSettings settings({u"HKEY_CURRENT_USER", u"Software\\Folio"},
                                   {u"HKEY_LOCAL_MACHINE", u"Software\\Folio\\Folders"});
  return settings;
}
