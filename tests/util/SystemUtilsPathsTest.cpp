#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"
#include "util/SystemUtilsDetail.h"

using namespace SystemUtils;

namespace {

constexpr EPathStyle W = EPathStyle::eWindows;
constexpr EPathStyle P = EPathStyle::ePosix;

struct PathCase {
  EPathStyle style;
  const char16_t* path;
  const char16_t* expected;
};

void ExpectAll(CStr (*function)(const CStr&, EPathStyle), std::initializer_list<PathCase> cases) {
  for (const PathCase& c : cases)
    EXPECT_EQ(function(c.path, c.style), CStr(c.expected)) << CStr(c.path).ToUtf8();
}

TEST(PathText, FileNameFollowsTheLastSeparator) {
  ExpectAll(GetFileName, {{W, u"report.doc", u"report.doc"},
                          {W, u"C:\\dir\\", u""},
                          {W, u"C:x.doc", u"x.doc"},
                          {W, u"C:\\a/b.htm", u"b.htm"},
                          {P, u"/home/u/r.htm", u"r.htm"},
                          {P, u"/home/u/", u""},
                          {P, u"C:x.doc", u"C:x.doc"},
                          {P, u"dir\\r.htm", u"dir\\r.htm"}});
}

TEST(PathText, FolderDropsTheNameAndRunsOfSeparators) {
  ExpectAll([](const CStr& p, EPathStyle s) { return GetFolder(p, false, s); },
            {{W, u"C:\\data\\x.doc", u"C:\\data"},
             {W, u"C:\\x.doc", u"C:"},
             {W, u"C:\\a\\\\b.doc", u"C:\\a"},
             {W, u"\\x.doc", u""},
             {W, u"x.doc", u""},
             {W, u"C:x.doc", u"C"},
             {P, u"/home/u/r.htm", u"/home/u"},
             {P, u"/a//b", u"/a"},
             {P, u"/r.htm", u""},
             {P, u"a\\b/c", u"a\\b"}});
}

TEST(PathText, FolderWithSeparatorAddsOneOnlyWhenASeparatorWasFound) {
  ExpectAll([](const CStr& p, EPathStyle s) { return GetFolder(p, true, s); },
            {{W, u"C:\\data\\x.doc", u"C:\\data\\"},
             {W, u"C:\\x.doc", u"C:\\"},
             {W, u"C:/data/x.doc", u"C:/data\\"},
             {W, u"x.doc", u""},
             {W, u"\\x.doc", u""},
             {W, u"\\\\\\x.doc", u"\\"},
             {P, u"/home/u/r.htm", u"/home/u/"},
             {P, u"r.htm", u""}});
}

TEST(PathText, RemoveExtensionCutsAtTheLastDotAnywhere) {
  EXPECT_EQ(RemoveExtension(u"C:\\my.folder\\report"), CStr(u"C:\\my"));
  EXPECT_EQ(RemoveExtension(u"/tmp/a.b.htm"), CStr(u"/tmp/a.b"));
  EXPECT_EQ(RemoveExtension(u"report"), CStr(u"report"));
  EXPECT_EQ(RemoveExtension(u""), CStr(u""));
}

TEST(PathText, CompanionFolderCutsTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(GetCompanionFolder(u"/tmp/user.x/HTMLCopy 2026-01-02 03-04-05"),
            CStr(u"/tmp/user.x/HTMLCopy 2026-01-02 03-04-05_files"));
  EXPECT_EQ(GetCompanionFolder(u"/r/a.b.htm"), CStr(u"/r/a.b_files"));
  EXPECT_EQ(GetCompanionFolder(u"report"), CStr(u"report_files"));
  EXPECT_EQ(GetCompanionFolder(u"C:\\my.folder\\report", EPathStyle::eWindows), CStr(u"C:\\my.folder\\report_files"));
  EXPECT_EQ(GetCompanionFolder(u"C:\\my.folder\\r.htm", EPathStyle::eWindows), CStr(u"C:\\my.folder\\r_files"));
}

TEST(PathText, TrailingSeparatorIsAddedOnce) {
  ExpectAll(AddTrailingSeparator, {{W, u"", u""},
                                   {W, u"C:/data/", u"C:/data/"},
                                   {W, u"C:\\data", u"C:\\data\\"},
                                   {W, u"C:", u"C:\\"},
                                   {P, u"", u""},
                                   {P, u"/data", u"/data/"},
                                   {P, u"/data/", u"/data/"},
                                   {P, u"/data\\", u"/data\\/"}});
}

TEST(PathText, ExtensionIsTheLastDotNotFollowedBySeparatorOrSpace) {
  ExpectAll(GetExtension, {{W, u"C:\\r\\Report 1.htm", u".htm"},
                           {W, u"C:\\my.folder\\report", u""},
                           {W, u"C:/my.folder/report", u""},
                           {W, u"archive.tar.gz", u".gz"},
                           {W, u"file.a b", u""},
                           {W, u".htaccess", u".htaccess"},
                           {W, u"name.", u"."},
                           {P, u"/my.folder/report", u""},
                           {P, u"/r/a.DOCX", u".DOCX"},
                           {P, u"a.b\\c", u".b\\c"}});
}

TEST(PathText, BaseNameIsTheFileNameWithoutExtension) {
  ExpectAll(GetBaseName, {{W, u"C:\\r\\Report 1.htm", u"Report 1"},
                          {W, u"C:\\my.folder\\report", u"report"},
                          {W, u"C:\\r\\", u""},
                          {P, u"/r/Report 1.htm", u"Report 1"},
                          {P, u"/r/archive.tar.gz", u"archive.tar"}});
}

TEST(PathExistsQuery, WindowsStyleDropsOneFinalBackslash) {
  EXPECT_EQ(PathExistsQueryText(u"C:\\data\\", W), CStr(u"C:\\data"));
  EXPECT_EQ(PathExistsQueryText(u"C:\\data\\\\", W), CStr(u"C:\\data\\"));
  EXPECT_EQ(PathExistsQueryText(u"C:/data/", W), CStr(u"C:/data/"));
  EXPECT_EQ(PathExistsQueryText(u"/data/", P), CStr(u"/data/"));
  EXPECT_EQ(PathExistsQueryText(u"/data\\", P), CStr(u"/data\\"));
}

TEST(PathExistsQuery, SearchPatternsMatchWholeNames) {
  struct Case {
    const char16_t* name;
    const char16_t* pattern;
    bool matches;
  };
  for (const Case& c : {Case{u"report.htm", u"*.htm", true}, Case{u"report.htm", u"*.doc", false},
                        Case{u"report.htm", u"r?port.*", true}, Case{u"report.htm", u"*", true},
                        Case{u"report.htm", u"report.htm*", true},
                        Case{u"report.htm", u"?report.htm", false},
                        Case{u"a.b.c", u"*.*.c", true}, Case{u"abab", u"*ab", true},
                        Case{u"abac", u"*ab", false}, Case{u"", u"*", true},
                        Case{u"x", u"", false}})
    EXPECT_EQ(MatchesFilePattern(c.name, c.pattern), c.matches)
        << CStr(c.name).ToUtf8() << " " << CStr(c.pattern).ToUtf8();
}

TEST(FullPath, RelativePathsJoinTheCurrentFolderAndDotsResolve) {
  const CStr current = FromFsPath(std::filesystem::current_path());
  EXPECT_EQ(GetFullPath(u"x/../b.htm"), AddTrailingSeparator(current) + u"b.htm");
  EXPECT_EQ(GetFullPath(u"/x/y/.."), CStr(u"/x"));
  EXPECT_EQ(GetFullPath(u"/x/./y"), CStr(u"/x/y"));
  EXPECT_EQ(GetFullPath(u"/x/y/"), CStr(u"/x/y/"));
  EXPECT_EQ(GetFullPath(u"/"), CStr(u"/"));
  EXPECT_EQ(GetFullPath(u""), CStr(u""));
}

TEST(FullPath, QualifyReplacesInPlaceAndFailsOnEmpty) {
  CStr path = u"/a//b/../c.htm";
  EXPECT_TRUE(QualifyPath(path));
  EXPECT_EQ(path, CStr(u"/a/c.htm"));
  CStr empty;
  EXPECT_FALSE(QualifyPath(empty));
}

TEST(FolderPlan, WindowsPathsGrowFromTheDrive) {
  EXPECT_EQ(PlanFolderCreation(u"C:\\a\\b", W),
            (std::vector<CStr>{u"C:", u"C:\\a", u"C:\\a\\b"}));
  EXPECT_EQ(PlanFolderCreation(u"C:/a//b/", W),
            (std::vector<CStr>{u"C:", u"C:\\a", u"C:\\a\\b"}));
  EXPECT_EQ(PlanFolderCreation(u"C:\\", W), (std::vector<CStr>{u"C:"}));
}

TEST(FolderPlan, NetworkPathsStartWithTheShare) {
  EXPECT_EQ(PlanFolderCreation(u"\\\\server\\share\\a\\b", W),
            (std::vector<CStr>{u"\\\\server\\share", u"\\\\server\\share\\a",
                               u"\\\\server\\share\\a\\b"}));
  EXPECT_TRUE(PlanFolderCreation(u"\\\\server", W).empty());
  EXPECT_TRUE(PlanFolderCreation(u"\\\\server\\", W).empty());
}

TEST(FolderPlan, WindowsRejectsWildcardsAndMisplacedColons) {
  EXPECT_TRUE(PlanFolderCreation(u"C:\\a*\\b", W).empty());
  EXPECT_TRUE(PlanFolderCreation(u"C:\\a?", W).empty());
  EXPECT_TRUE(PlanFolderCreation(u"C:\\:b", W).empty());    // ":" at index 3
  EXPECT_TRUE(PlanFolderCreation(u"CC:\\a", W).empty());
  EXPECT_TRUE(PlanFolderCreation(u"", W).empty());
  EXPECT_TRUE(PlanFolderCreation(u"\\\\", W).empty());
}

TEST(FolderPlan, PosixPathsGrowFromTheRootAndAllowAnyCharacter) {
  EXPECT_EQ(PlanFolderCreation(u"/a/b", P), (std::vector<CStr>{u"/", u"/a", u"/a/b"}));
  EXPECT_EQ(PlanFolderCreation(u"/a*b:c/", P), (std::vector<CStr>{u"/", u"/a*b:c"}));
  EXPECT_EQ(PlanFolderCreation(u"/a\\b", P), (std::vector<CStr>{u"/", u"/a\\b"}));
  EXPECT_TRUE(PlanFolderCreation(u"/", P).empty());
}

TEST(CommonDialogErrors, KnownCodesHaveTheirTextOthersAreUnknown) {
  EXPECT_EQ(GetCommonDialogErrorText(0), CStr(u"No error"));
  EXPECT_TRUE(GetCommonDialogErrorText(12291).StartsWith(
      u"The buffer pointed to by the lpstrFile member of the OPENFILENAME structure is too small"));
  EXPECT_EQ(GetCommonDialogErrorText(12290), CStr(u"A file name is invalid."));
  EXPECT_NE(GetCommonDialogErrorText(4108).Find(u"Control Panel.)\nTo use the printer"), CStr::npos);
  EXPECT_TRUE(GetCommonDialogErrorText(65535).StartsWith(u"The dialog box could not be created."));
  for (unsigned long code : {13ul, 4096ul, 4109ul, 8195ul, 65534ul, 65536ul})
    EXPECT_EQ(GetCommonDialogErrorText(code), CStr(u"Unknown error code")) << code;
}

template <typename F>
EBase CaughtFrom(F&& f) {
  try {
    f();
  } catch (const EBase& e) {
    return e;
  }
  return EBase(u"", u"<nothing thrown>");
}

TEST(TempFolder, HelperAsksForTheLengthThenForTheText) {
  std::vector<unsigned long> asked;
  const TempPathQuery query = [&](unsigned long length, char16_t* buffer) -> unsigned long {
    asked.push_back(length);
    const std::u16string folder = u"C:\\Temp\\";
    if (length <= folder.size()) return static_cast<unsigned long>(folder.size() + 1);
    folder.copy(buffer, folder.size());
    return static_cast<unsigned long>(folder.size());
  };
  EXPECT_EQ(GetTempFolderHelper(query), CStr(u"C:\\Temp\\"));
  EXPECT_EQ(asked, (std::vector<unsigned long>{0, 10}));
}

TEST(TempFolder, HelperThrowsWhenEitherQueryFails) {
  int calls = 0;
  const TempPathQuery failsAtOnce = [&](unsigned long, char16_t*) -> unsigned long {
    ++calls;
    return 0;
  };
  const EBase first = CaughtFrom([&] { GetTempFolderHelper(failsAtOnce); });
  EXPECT_EQ(first.GetFunction(), CStr(u"GetTempFolderHelper"));
  EXPECT_EQ(first.GetMessage(), CStr(u"Unable to determine Windows temporary directory"));
  EXPECT_EQ(calls, 1);
  const TempPathQuery failsSecond = [](unsigned long length, char16_t*) -> unsigned long {
    return length == 0 ? 5 : 0;
  };
  EXPECT_EQ(CaughtFrom([&] { GetTempFolderHelper(failsSecond); }).GetMessage(),
            CStr(u"Unable to determine Windows temporary directory"));
}

TEST(TempFolder, NarrowQueryIsWidenedByteByByte) {
  const NarrowTempPathQuery query = [](unsigned long length, char* buffer) -> unsigned long {
    const std::string folder = "C:\\T\xE9mp\\";
    if (length <= folder.size()) return static_cast<unsigned long>(folder.size() + 1);
    folder.copy(buffer, folder.size());
    return static_cast<unsigned long>(folder.size());
  };
  EXPECT_EQ(GetTempFolderHelper(query), CStr(u"C:\\T\u00e9mp\\"));
}

TEST(TempFolder, NativeFolderComesFromTmpdirWithAFinalSeparator) {
  const char* saved = std::getenv("TMPDIR");
  const std::string keep = saved ? saved : "";
  setenv("TMPDIR", "/var/tmp/folio", 1);
  EXPECT_EQ(GetTempFolder(), CStr(u"/var/tmp/folio/"));
  unsetenv("TMPDIR");
  EXPECT_EQ(GetTempFolder(), CStr(u"/tmp/"));
  if (saved) setenv("TMPDIR", keep.c_str(), 1);
}

}  // namespace
