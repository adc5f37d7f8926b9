#pragma once
#include <cstdlib>
#include <string>

#include "report/ReportFixture.h"

// A reporter whose installation lives in the scratch folder (settings file "Kori.ini",
// reports under "Livesheet Reports"), answering the section tags and a file name: the
// report dialog's tests on every backend start from it.
class FolioDlgFixture : public ReportFixture {
protected:
  void SetUp() override {
    ReportFixture::SetUp();
    const char* old = std::getenv("FOLIO_SETTINGS");
    m_oldSettings = old ? old : "";
    const CStr install = m_folder.Write("folio.ini", "[HKEY_CURRENT_USER\\Software\\Folio]\nUserPath=" +
                                                         m_folder.Path().string() + "\n");
    setenv("FOLIO_SETTINGS", install.ToUtf8().c_str(), 1);
    AnswerType(u"PrefaceEnd", CKORIControlValue::ePrefaceEnd);
    AnswerType(u"SummaryBegin", CKORIControlValue::eSummaryBegin);
    AnswerText(u"filename", u"scan_014.spm");
  }
  void TearDown() override {
    m_folio.DestroyFolioDialog();
    if (m_oldSettings.empty()) unsetenv("FOLIO_SETTINGS");
    else setenv("FOLIO_SETTINGS", m_oldSettings.c_str(), 1);
    ReportFixture::TearDown();
  }

  void StoreChoices(const std::string& templatePath, const std::string& report, const std::string& option) {
    m_folder.Write("Kori.ini", "[Livesheeter]\nDefaultWordTemplate=" + templatePath +
                                   "\nDefaultWordReport=" + report + "\nDefaultWordReportOptions=" + option + "\n");
  }
  CStr OutputFolder() const { return m_folder / "Livesheet Reports"; }
  CStr SectionedTemplate(const std::string& name) const {
    return WriteUtf16(name, u"<html><body><p>Preface</p>" + Placeholder(u"PrefaceEnd") + u"<p>Body " +
                                Placeholder(u"filename") + u"</p>" + Placeholder(u"SummaryBegin") +
                                u"<p>Summary</p></body></html>");
  }

private:
  std::string m_oldSettings;
};
