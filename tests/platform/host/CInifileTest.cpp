#include <gtest/gtest.h>

#include "folio/platform/host/CInifile.h"
#include "platform/PlatformTestSupport.h"
#include "platform/fs/FileFaults.h"
#include "util/ScratchFolder.h"

namespace fs = std::filesystem;
using platformtest::EntriesIn;

namespace {

TEST(IniRead, MissingOrUnreadableFileSectionOrKeyGivesTheDefault) {
  ScratchFolder folder;
  EXPECT_EQ(CInifile(folder / "none.ini", u"Livesheeter").ReadString(u"Template", u"d"), CStr(u"d"));
  const CStr file = folder.Write("a.ini", "[Other]\nTemplate=x\n[Livesheeter]\nReport=r\n");
  EXPECT_EQ(CInifile(file, u"Missing").ReadString(u"Template", u"d"), CStr(u"d"));
  EXPECT_EQ(CInifile(file, u"Livesheeter").ReadString(u"Template", u"d"), CStr(u"d"));
  EXPECT_EQ(CInifile(file, u"Livesheeter").ReadString(u"Report", u"d"), CStr(u"r"));
  EXPECT_EQ(CInifile(u"", u"Livesheeter").ReadString(u"Report", u"d"), CStr(u"d"));
  // A file that cannot be read as settings, or a folder, gives the default too.
  const CStr bad = folder.Write("bad.ini", "[Livesheeter]\nno equals sign\n");
  EXPECT_EQ(CInifile(bad, u"Livesheeter").ReadString(u"x", u"d"), CStr(u"d"));
  EXPECT_EQ(CInifile(folder.Text(), u"Livesheeter").ReadString(u"x", u"d"), CStr(u"d"));
}

TEST(IniRead, NamesMatchRegardlessOfCaseAndValuesAreTrimmedUtf8) {
  ScratchFolder folder;
  const CStr file = folder.Write("a.ini", "; comment\r\n[LiveSheeter]\r\n  option = 2 \r\n"
                                          "path=/d/R\xC3\xA9sum\xC3\xA9 1.htm\r\n");
  const CInifile ini(file, u"Livesheeter");
  EXPECT_EQ(ini.ReadString(u"OPTION", u""), CStr(u"2"));
  EXPECT_EQ(ini.ReadString(u"Path", u""), CStr(u"/d/R\u00e9sum\u00e9 1.htm"));
}

TEST(IniWrite, WrittenValuesReadBackAndOthersAreKept) {
  ScratchFolder folder;
  const CStr file = folder.Write("a.ini", "top=1\n[Other]\nKey=keep\n[Livesheeter]\nReport=old\n");
  const CInifile ini(file, u"Livesheeter");
  EXPECT_TRUE(ini.WriteString(u"report", u"/r/new \u00e9.htm"));
  EXPECT_TRUE(ini.WriteString(u"Option", u"3"));
  EXPECT_EQ(ini.ReadString(u"Report", u""), CStr(u"/r/new \u00e9.htm"));
  EXPECT_EQ(ini.ReadString(u"Option", u""), CStr(u"3"));
  EXPECT_EQ(CInifile(file, u"Other").ReadString(u"Key", u""), CStr(u"keep"));
  // The existing key is replaced where it stood, not added again.
  EXPECT_EQ(folder.Read("a.ini"),
            "top=1\n[Other]\nKey=keep\n[Livesheeter]\nReport=/r/new \xC3\xA9.htm\nOption=3\n");
}

TEST(IniWrite, MissingFileAndFolderAreCreatedAndNoTemporaryFileRemains) {
  ScratchFolder folder;
  const CStr file = folder / "config/folio/folio.ini";
  EXPECT_TRUE(CInifile(file, u"Livesheeter").WriteString(u"Template", u"t.htm"));
  EXPECT_TRUE(CInifile(file, u"Second").WriteString(u"Key", u""));
  EXPECT_EQ(CInifile(file, u"Livesheeter").ReadString(u"Template", u""), CStr(u"t.htm"));
  EXPECT_EQ(CInifile(file, u"Second").ReadString(u"Key", u"d"), CStr(u""));
  EXPECT_EQ(EntriesIn(folder.Path() / "config/folio"), 1u);
}

TEST(IniWrite, PermissionsOfTheOldFileAreKept) {
  ScratchFolder folder;
  const CStr file = folder.Write("a.ini", "[S]\nk=v\n");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(folder.Path() / "a.ini", mode);
  EXPECT_TRUE(CInifile(file, u"S").WriteString(u"k", u"w"));
  EXPECT_EQ(fs::status(folder.Path() / "a.ini").permissions(), mode);
}

TEST(IniWrite, WhatCannotBeStoredIsRefusedAndTheFileLeftAlone) {
  ScratchFolder folder;
  const std::string broken = "[Livesheeter]\nno equals sign\n";
  const CStr bad = folder.Write("bad.ini", broken);
  EXPECT_FALSE(CInifile(bad, u"Livesheeter").WriteString(u"k", u"v"));
  EXPECT_EQ(folder.Read("bad.ini"), broken);

  const CStr good = folder.Write("good.ini", "[S]\nk=v\n");
  const CInifile ini(good, u"S");
  EXPECT_FALSE(ini.WriteString(u"k", u"two\nlines"));
  EXPECT_FALSE(ini.WriteString(u"a=b", u"v"));
  EXPECT_FALSE(ini.WriteString(u"[k", u"v"));
  EXPECT_FALSE(ini.WriteString(u"", u"v"));
  EXPECT_FALSE(CInifile(good, u"S]").WriteString(u"k", u"v"));
  EXPECT_EQ(folder.Read("good.ini"), "[S]\nk=v\n");
}

// A fault at any step, or a disk that fills up, keeps the old settings whole.
TEST(IniWrite, AFailureAtAnyStepKeepsTheOldSettingsWhole) {
  for (EFileStep step : {EFileStep::eCreate, EFileStep::eWrite, EFileStep::eFlush, EFileStep::eRename}) {
    ScratchFolder folder;
    const CStr file = folder.Write("a.ini", "[S]\nk=v\n");
    FileFaults::Reset();
    FileFaults::FailAt(step, 1);
    EXPECT_FALSE(CInifile(file, u"S").WriteString(u"k", u"w"));
    FileFaults::Reset();
    EXPECT_EQ(folder.Read("a.ini"), "[S]\nk=v\n");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
  }
  ScratchFolder folder;
  const std::string old = "[S]\nk=" + std::string(100, 'v') + "\n";
  const CStr file = folder.Write("a.ini", old);
  {
    FileSizeLimit limit(64);
    EXPECT_FALSE(CInifile(file, u"S").WriteString(u"k", CStr(200, u'w')));
  }
  EXPECT_EQ(folder.Read("a.ini"), old);
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

}  // namespace
