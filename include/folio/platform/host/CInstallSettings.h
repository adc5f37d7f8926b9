#pragma once
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// A registry location: a root key and a subkey path below it.
struct FOLIO_API SRegistryLocation {
  CStr rootKey;
  CStr subkey;
  // The settings-file section that stands for the location: root key, "\", subkey.
  CStr SectionName() const { return rootKey + u"\\" + subkey; }
};

// The folders and settings file of the host's installation. The registry is stood in
// for by one INI file ($FOLIO_SETTINGS, else $XDG_CONFIG_HOME/folio/folio.ini, else
// ~/.config/folio/folio.ini) with one section per registry location. The process-wide
// object reads these two locations:
//
//   [HKEY_CURRENT_USER\Software\Folio]
//   UserPath=/home/me/Folio
//   [HKEY_LOCAL_MACHINE\Software\Folio\Folders]
//   IniFilePath=...  LivesheetOutputPath=...  LivesheetTemplatesPath=...
//
// Every look-up reads the file afresh; a missing file, section or value gives the default.
class FOLIO_API CInstallSettings {
public:
  CInstallSettings(SRegistryLocation userLocation, SRegistryLocation folderLocation);

  // "UserPath" of the first location (default empty), with a final separator unless empty.
  CStr GetUserPath() const;
  // "IniFilePath" of the second location; default GetUserPath() + "Kori.ini".
  CStr GetIniFilePath() const;
  // "LivesheetOutputPath" of the second location; default GetUserPath() + "Livesheet Reports".
  CStr GetLivesheetOutputPath() const;
  // "LivesheetTemplatesPath" of the second location; default
  // GetUserPath() + "Livesheet Templates".
  CStr GetLivesheetTemplatesPath() const;

  // The value stored for valueName at location, or defaultValue when there is none.
  CStr ReadRegistryString(const SRegistryLocation& location, const CStr& valueName,
                          const CStr& defaultValue) const;

  const SRegistryLocation& GetUserLocation() const { return m_userLocation; }
  const SRegistryLocation& GetFolderLocation() const { return m_folderLocation; }

  // The settings file that stands for the registry now; empty when none can be named.
  static CStr GetSettingsFilePath();

private:
  SRegistryLocation m_userLocation;
  SRegistryLocation m_folderLocation;
};

// The installation settings of the host, with the two locations above.
FOLIO_API CInstallSettings& GetInstallSettings();
