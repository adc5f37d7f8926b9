#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "folio/util/SystemUtils.h"
#include "util/ScratchFolder.h"
#include "util/UtilTestSupport.h"

using namespace SystemUtils;
namespace fs = std::filesystem;

namespace {

TEST(PathExists, FindsFilesAndFoldersButNotEmptyOrMissingPaths) {
  ScratchFolder folder;
  const CStr file = folder.Write("a.htm", "x");
  fs::create_directory(folder.Path() / "sub");
  EXPECT_TRUE(PathExists(file));
  EXPECT_TRUE(PathExists(folder / "sub"));
  EXPECT_TRUE(PathExists(folder / "sub/"));
  EXPECT_FALSE(PathExists(file + u"/"));
  EXPECT_FALSE(PathExists(folder / "missing.htm"));
  EXPECT_FALSE(PathExists(u""));
  fs::create_symlink(folder.Path() / "gone", folder.Path() / "dangling");
  EXPECT_TRUE(PathExists(folder / "dangling"));
}

TEST(PathExists, APatternInTheLastComponentFindsMatchingEntries) {
  ScratchFolder folder;
  folder.Write("Report 2011-05-03.htm", "x");
  EXPECT_TRUE(PathExists(folder / "*.htm"));
  EXPECT_TRUE(PathExists(folder / "Report 2011-0?-0?.htm"));
  EXPECT_FALSE(PathExists(folder / "*.doc"));
  EXPECT_FALSE(PathExists(folder / "missing/*"));
}

// The path form is zero when the file cannot be opened; the others keep the position.
TEST(FileSize, EveryFormMeasuresTheWholeFile) {
  ScratchFolder folder;
  EXPECT_EQ(GetFileSize(folder.Write("empty", "")), 0);
  EXPECT_EQ(GetFileSize(folder / "missing"), 0);
  EXPECT_EQ(GetFileSize(folder.Text()), 0);
  const CStr path = folder.Write("ten", "0123456789");
  EXPECT_EQ(GetFileSize(path), 10);
  std::FILE* file = std::fopen(path.ToUtf8().c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fseek(file, 3, SEEK_SET);
  EXPECT_EQ(GetFileSize(file), 10);
  EXPECT_EQ(std::ftell(file), 3);
  std::fclose(file);
  EXPECT_EQ(GetFileSize(static_cast<std::FILE*>(nullptr)), -1);

  std::wifstream wide(folder.Path() / "ten", std::ios::binary);
  wide.seekg(4);
  EXPECT_EQ(GetFileSize(wide), 10);
  EXPECT_EQ(wide.tellg(), std::streampos(4));
  EXPECT_EQ(wide.get(), L'4');

  std::istringstream bytes("abc");
  bytes.get();
  EXPECT_EQ(GetFileSize(bytes), 3);
  EXPECT_EQ(bytes.get(), 'b');

  std::wifstream missing(folder.Path() / "missing");
  EXPECT_EQ(GetFileSize(missing), -1);
}

TEST(UniqueFileName, PrefixAndZeroPaddedDateTimeThenACounterPastExistingFiles) {
  ScratchFolder folder;
  const CStr report = AddTrailingSeparator(folder.Text()) + u"Report ";
  EXPECT_EQ(MakeUniqueFileName(report, u".htm", May3rd2011()), report + u"2011-05-03 14-07-09.htm");
  EXPECT_EQ(EntryCount(folder.Path()), 0u);
  folder.Write("2011-05-03 14-07-09.doc", "");
  folder.Write("2011-05-03 14-07-09_1.doc", "");
  folder.Write("2011-05-03 14-07-09_3.doc", "");
  const CStr prefix = AddTrailingSeparator(folder.Text());
  EXPECT_EQ(MakeUniqueFileName(prefix, u".doc", May3rd2011()),
            prefix + u"2011-05-03 14-07-09_2.doc");
  // Another extension does not collide.
  EXPECT_EQ(MakeUniqueFileName(prefix, u".htm", May3rd2011()),
            prefix + u"2011-05-03 14-07-09.htm");
}

TEST(UniqueFileName, NowFormHasTheSameShapeAndCreatesNothing) {
  ScratchFolder folder;
  const CStr prefix = AddTrailingSeparator(folder.Text());
  const CStr name = MakeUniqueFileName(prefix, u".tmp");
  ASSERT_TRUE(name.StartsWith(prefix.View()));
  const std::string stem = name.Mid(prefix.GetLength()).ToUtf8();
  ASSERT_EQ(stem.size(), 23u) << stem;
  EXPECT_EQ(stem.substr(4, 1) + stem.substr(7, 1) + stem.substr(10, 1) + stem.substr(13, 1) +
                stem.substr(16, 1),
            "-- --");
  EXPECT_EQ(EntryCount(folder.Path()), 0u);
}

TEST(WriteAccess, ProbesLeaveNothingBehindAndNeverTouchAnExistingFile) {
  ScratchFolder folder;
  EXPECT_TRUE(TestWriteAccess(false, folder.Text()));
  EXPECT_TRUE(TestWriteAccess(false, AddTrailingSeparator(folder.Text())));
  EXPECT_FALSE(TestWriteAccess(false, folder / "missing"));
  EXPECT_EQ(EntryCount(folder.Path()), 0u);
  const CStr existing = folder.Write("report.htm", "keep me");
  EXPECT_TRUE(TestWriteAccess(true, existing));
  EXPECT_EQ(folder.Read("report.htm"), "keep me");
  EXPECT_TRUE(TestWriteAccess(true, folder / "new.htm"));
  EXPECT_FALSE(folder.Exists("new.htm"));
}

TEST(WriteAccess, UnwritablePlacesAreFalse) {
  ScratchFolder folder;
  const CStr file = folder.Write("plain", "x");
  fs::create_directory(folder.Path() / "sub");
  EXPECT_FALSE(TestWriteAccess(true, folder / "sub"));
  EXPECT_FALSE(TestWriteAccess(true, file + u"/inside.htm"));
  EXPECT_FALSE(TestWriteAccess(false, file));
  EXPECT_EQ(folder.Read("plain"), "x");
  EXPECT_TRUE(fs::is_directory(folder.Path() / "sub"));
}

TEST(WriteAccess, ReadOnlyFilesPipesAndOtherUsersLinksAreNotWritable) {
  ScratchFolder folder;
  const CStr locked = folder.Write("locked.htm", "x");
  fs::permissions(folder.Path() / "locked.htm", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(TestWriteAccess(true, locked));  // even for the superuser
  // A pipe would block an open for writing until someone reads it.
  ASSERT_EQ(::mkfifo((folder.Path() / "pipe.htm").c_str(), 0600), 0);
  EXPECT_FALSE(TestWriteAccess(true, folder / "pipe.htm"));
  // The user's own link is written through, so it is as writable as its target.
  fs::create_symlink(folder.Path() / "target.htm", folder.Path() / "mine.htm");
  EXPECT_TRUE(TestWriteAccess(true, folder / "mine.htm"));
  EXPECT_FALSE(folder.Exists("target.htm"));
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a link to another user";
  fs::create_symlink(folder.Path() / "planted.htm", folder.Path() / "theirs.htm");
  ASSERT_EQ(::lchown((folder.Path() / "theirs.htm").c_str(), 65534, 65534), 0);
  EXPECT_FALSE(TestWriteAccess(true, folder / "theirs.htm"));
  EXPECT_FALSE(folder.Exists("planted.htm"));
}

TEST(CreateFolder, MissingParentsAreCreatedExistingFoldersAreTrue) {
  ScratchFolder folder;
  fs::create_directories(folder.Path() / "a/b");
  EXPECT_TRUE(CreateFolder(folder / "a/b"));
  EXPECT_TRUE(CreateFolder(folder / "a/b/"));
  EXPECT_EQ(EntryCount(folder.Path() / "a"), 1u);
  EXPECT_EQ(EntryCount(folder.Path() / "a/b"), 0u);
  EXPECT_FALSE(CreateFolder(u""));
  EXPECT_FALSE(CreateFolder(u"/"));
  EXPECT_TRUE(CreateFolder(folder / "x/y/../z/w"));
  EXPECT_TRUE(fs::is_directory(folder.Path() / "x/z/w"));
  EXPECT_FALSE(fs::exists(folder.Path() / "x/y"));
}

TEST(CreateFolder, AFileInTheWayFailsAndIsKept) {
  ScratchFolder folder;
  folder.Write("f", "data");
  EXPECT_FALSE(CreateFolder(folder / "f"));
  EXPECT_FALSE(CreateFolder(folder / "f/sub"));
  EXPECT_EQ(folder.Read("f"), "data");
}

TEST(CreateFolder, FailedCreationRemovesWhatItCreated) {
  ScratchFolder folder;
  const std::string tooLong(300, 'n');
  EXPECT_FALSE(CreateFolder(folder / ("new/deeper/" + tooLong + "/last")));
  EXPECT_FALSE(folder.Exists("new"));
  EXPECT_EQ(EntryCount(folder.Path()), 0u);
}

}  // namespace
