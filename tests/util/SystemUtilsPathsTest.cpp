#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "folio/util/SystemUtils.h"
#include "util/SystemUtilsDetail.h"
#include "util/UtilTestSupport.h"

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

TEST(FullPath, RelativePathsJoinTheCurrentFolderAndDotsResolveAlsoInPlace) {
  const CStr current = FromFsPath(std::filesystem::current_path());
  EXPECT_EQ(GetFullPath(u"x/../b.htm"), AddTrailingSeparator(current) + u"b.htm");
  EXPECT_EQ(GetFullPath(u"/x/y/.."), CStr(u"/x"));
  EXPECT_EQ(GetFullPath(u"/x/./y"), CStr(u"/x/y"));
  EXPECT_EQ(GetFullPath(u"/x/y/"), CStr(u"/x/y/"));
  EXPECT_EQ(GetFullPath(u"/"), CStr(u"/"));
  EXPECT_EQ(GetFullPath(u""), CStr(u""));
  CStr path = u"/a//b/../c.htm";
  EXPECT_TRUE(QualifyPath(path));
  EXPECT_EQ(path, CStr(u"/a/c.htm"));
  CStr empty;
  EXPECT_FALSE(QualifyPath(empty));
}

// Windows paths grow from the drive or the share and refuse wildcards and misplaced
// colons; POSIX paths grow from the root and allow any character.
TEST(FolderPlan, EveryFolderFromTheTopDown) {
  struct Case {
    EPathStyle style;
    const char16_t* path;
    std::vector<CStr> folders;
  };
  const Case cases[] = {
      {W, u"C:\\a\\b", {u"C:", u"C:\\a", u"C:\\a\\b"}},
      {W, u"C:/a//b/", {u"C:", u"C:\\a", u"C:\\a\\b"}},
      {W, u"C:\\", {u"C:"}},
      {W, u"\\\\server\\share\\a", {u"\\\\server\\share", u"\\\\server\\share\\a"}},
      {W, u"\\\\server", {}},
      {W, u"\\\\server\\", {}},
      {W, u"C:\\a*\\b", {}},
      {W, u"C:\\a?", {}},
      {W, u"C:\\:b", {}},
      {W, u"CC:\\a", {}},
      {W, u"", {}},
      {W, u"\\\\", {}},
      {P, u"/a/b", {u"/", u"/a", u"/a/b"}},
      {P, u"/a*b:c/", {u"/", u"/a*b:c"}},
      {P, u"/a\\b", {u"/", u"/a\\b"}},
      {P, u"/", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlanFolderCreation(c.path, c.style), c.folders) << CStr(c.path).ToUtf8();
}

TEST(CommonDialogErrors, KnownCodesHaveTheirTextOthersAreUnknown) {
  EXPECT_EQ(GetCommonDialogErrorText(0), CStr(u"No error"));
  EXPECT_EQ(GetCommonDialogErrorText(12290), CStr(u"A file name is invalid."));
  for (unsigned long code : {13ul, 4096ul, 4109ul, 8195ul, 65534ul, 65536ul})
    EXPECT_EQ(GetCommonDialogErrorText(code), CStr(u"Unknown error code")) << code;
}

// A temporary-path query in the Windows manner: the length it needs, then the text.
template <typename Char>
auto Answering(std::basic_string<Char> folder, std::vector<unsigned long>& asked) {
  return [folder, &asked](unsigned long length, Char* buffer) -> unsigned long {
    asked.push_back(length);
    if (length <= folder.size()) return static_cast<unsigned long>(folder.size() + 1);
    folder.copy(buffer, folder.size());
    return static_cast<unsigned long>(folder.size());
  };
}

TEST(TempFolder, HelperAsksForTheLengthThenForTheTextInEitherWidth) {
  std::vector<unsigned long> asked;
  EXPECT_EQ(GetTempFolderHelper(TempPathQuery(Answering<char16_t>(u"C:\\Temp\\", asked))),
            CStr(u"C:\\Temp\\"));
  EXPECT_EQ(asked, (std::vector<unsigned long>{0, 10}));
  // The narrow query is widened byte by byte.
  EXPECT_EQ(GetTempFolderHelper(NarrowTempPathQuery(Answering<char>("C:\\T\xE9mp\\", asked))),
            CStr(u"C:\\T\u00e9mp\\"));
}

TEST(TempFolder, HelperThrowsWhenEitherQueryFails) {
  int calls = 0;
  const TempPathQuery failsAtOnce = [&](unsigned long, char16_t*) -> unsigned long {
    ++calls;
    return 0;
  };
  const CStr failure = u"GetTempFolderHelper: Unable to determine Windows temporary directory";
  EXPECT_EQ(FailureOf([&] { GetTempFolderHelper(failsAtOnce); }), failure);
  EXPECT_EQ(calls, 1);
  const TempPathQuery failsSecond = [](unsigned long length, char16_t*) -> unsigned long {
    return length == 0 ? 5 : 0;
  };
  EXPECT_EQ(FailureOf([&] { GetTempFolderHelper(failsSecond); }), failure);
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
