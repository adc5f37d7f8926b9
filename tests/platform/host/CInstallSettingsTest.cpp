#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "folio/platform/host/CInstallSettings.h"
#include "util/ScratchFolder.h"

namespace {

// Sets the variables a test needs and puts the old values back afterwards.
class InstallSettingsTest : public ::testing::Test {
protected:
  InstallSettingsTest() {
    for (const char* name : {"FOLIO_SETTINGS", "XDG_CONFIG_HOME", "HOME"}) {
      const char* value = std::getenv(name);
      m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~InstallSettingsTest() override {
    for (const auto& [name, value] : m_saved) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }
  void UseSettings(const std::string& ini) {
    setenv("FOLIO_SETTINGS", folder.Write("folio.ini", ini).ToUtf8().c_str(), 1);
  }

  ScratchFolder folder;
  const CInstallSettings& settings = GetInstallSettings();

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

const char kUser[] = "[HKEY_CURRENT_USER\\Software\\Folio]\n";
const char kFolders[] = "[HKEY_LOCAL_MACHINE\\Software\\Folio\\Folders]\n";

// Stored folders come from the second location, else from the user folder (given a
// separator), else they stay relative; a value that is there but empty is the value.
// One settings object serves every case: each look-up reads the file afresh.
TEST_F(InstallSettingsTest, FoldersComeFromTheSecondLocationElseTheUserFolder) {
  const struct { std::string ini; const char16_t *user, *iniFile, *output, *templates; } cases[] = {
      {std::string(kUser) + "UserPath=/data/folio\n", u"/data/folio/", u"/data/folio/Kori.ini",
       u"/data/folio/Livesheet Reports", u"/data/folio/Livesheet Templates"},
      {std::string(kUser) + "UserPath=/data/folio/\nIniFilePath=/wrong.ini\n" + kFolders +
           "IniFilePath=/etc/kori.ini\nLivesheetOutputPath=/out\nLivesheetTemplatesPath=\n",
       u"/data/folio/", u"/etc/kori.ini", u"/out", u""},
      {"", u"", u"Kori.ini", u"Livesheet Reports", u"Livesheet Templates"},  // no settings file
  };
  for (const auto& c : cases) {
    if (c.ini.empty()) setenv("FOLIO_SETTINGS", (folder / "missing.ini").ToUtf8().c_str(), 1);
    else UseSettings(c.ini);
    EXPECT_EQ(settings.GetUserPath(), CStr(c.user)) << c.ini;
    EXPECT_EQ(settings.GetIniFilePath(), CStr(c.iniFile)) << c.ini;
    EXPECT_EQ(settings.GetLivesheetOutputPath(), CStr(c.output)) << c.ini;
    EXPECT_EQ(settings.GetLivesheetTemplatesPath(), CStr(c.templates)) << c.ini;
  }
}

TEST_F(InstallSettingsTest, RegistryStringsAreReadPerLocation) {
  UseSettings("[HKEY_CURRENT_USER\\Software\\Other]\nName=other\n");
  const SRegistryLocation other{u"HKEY_CURRENT_USER", u"Software\\Other"};
  EXPECT_EQ(settings.ReadRegistryString(other, u"Name", u"d"), CStr(u"other"));
  EXPECT_EQ(settings.ReadRegistryString(settings.GetUserLocation(), u"Name", u"d"), CStr(u"d"));
}

TEST_F(InstallSettingsTest, SettingsFileIsChosenFromTheEnvironment) {
  setenv("FOLIO_SETTINGS", "/s/folio.ini", 1);
  setenv("XDG_CONFIG_HOME", "/x", 1);
  setenv("HOME", "/h", 1);
  EXPECT_EQ(CInstallSettings::GetSettingsFilePath(), CStr(u"/s/folio.ini"));
  unsetenv("FOLIO_SETTINGS");
  EXPECT_EQ(CInstallSettings::GetSettingsFilePath(), CStr(u"/x/folio/folio.ini"));
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(CInstallSettings::GetSettingsFilePath(), CStr(u"/h/.config/folio/folio.ini"));
  unsetenv("HOME");
  EXPECT_EQ(CInstallSettings::GetSettingsFilePath(), CStr(u""));
  EXPECT_EQ(settings.GetIniFilePath(), CStr(u"Kori.ini"));
}

}  // namespace
