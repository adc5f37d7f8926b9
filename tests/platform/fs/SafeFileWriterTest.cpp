#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "folio/util/SystemUtils.h"
#include "platform/PlatformTestSupport.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/fs/FileFaults.h"
#include "util/ScratchFolder.h"

namespace fs = std::filesystem;
using namespace platformtest;

namespace {

class SafeFileWriter : public ::testing::Test {
protected:
  void SetUp() override { FileFaults::Reset(); }
  void TearDown() override { FileFaults::Reset(); }
  CStr Path(const char* name) const { return m_scratch / name; }
  std::string Content(const char* name) const { return m_scratch.Read(name); }
  void Put(const char* name, const std::string& text) const { m_scratch.Write(name, text); }
  size_t Entries() const { return EntriesIn(m_folder); }

  ScratchFolder m_scratch;
  const fs::path m_folder = m_scratch.Path();
};

TEST_F(SafeFileWriter, ReplacesOnlyAtCommit) {
  Put("report.htm", "old");
  {
    CSafeFileWriter dropped(Path("report.htm"));
    dropped.Write("half");
  }
  EXPECT_EQ(Content("report.htm"), "old") << "a writer dropped uncommitted leaves nothing behind";
  EXPECT_EQ(Entries(), 1u);
  {
    CSafeFileWriter writer(Path("report.htm"));
    ASSERT_TRUE(writer.Write("new content"));
    EXPECT_EQ(Content("report.htm"), "old");
    ASSERT_TRUE(writer.Commit());
  }
  EXPECT_EQ(Content("report.htm"), "new content");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SafeFileWriter, EveryInjectedFailureKeepsTheOldFile) {
  Put("report.htm", "old");
  for (EFileStep step : {EFileStep::eCreate, EFileStep::eWrite, EFileStep::eFlush, EFileStep::eRename}) {
    FileFaults::Reset();
    FileFaults::FailAt(step, 1);
    CSafeFileWriter writer(Path("report.htm"));
    writer.Write("new");
    EXPECT_FALSE(writer.Commit());
    EXPECT_FALSE(writer.GetError().IsEmpty());
    EXPECT_EQ(Content("report.htm"), "old");
    EXPECT_EQ(Entries(), 1u);
  }
}

TEST_F(SafeFileWriter, ReplaceCopiesBytesAndKeepsTargetOnFailure) {
  Put("a.bin", std::string("x\0y", 3));
  Put("b.bin", "target");
  FileFaults::FailAt(EFileStep::eRename, 1);
  EXPECT_FALSE(ReplaceFileSafely(Path("a.bin"), Path("b.bin")));
  EXPECT_EQ(Content("b.bin"), "target");
  FileFaults::Reset();
  EXPECT_TRUE(ReplaceFileSafely(Path("a.bin"), Path("b.bin")));
  EXPECT_EQ(Content("b.bin"), std::string("x\0y", 3));
  EXPECT_FALSE(ReplaceFileSafely(Path("missing"), Path("b.bin")));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(SafeFileWriter, MissingFolderFailsCleanly) {
  CSafeFileWriter writer(SystemUtils::FromFsPath(m_folder / "no" / "such" / "r.htm"));
  EXPECT_FALSE(writer.Good());
  EXPECT_FALSE(writer.Commit());
  EXPECT_NE(writer.GetError().Find(u"cannot create"), CStr::npos);
}

bool WriteAndCommit(const CStr& path, const char* text) {
  CSafeFileWriter writer(path);
  writer.Write(text);
  return writer.Commit();
}

TEST_F(SafeFileWriter, NewFilesHonourTheUmaskReplacedFilesKeepTheirModeLessSetIds) {
  const mode_t saved = ::umask(027);
  const bool created = WriteAndCommit(Path("new.htm"), "x");
  ::umask(saved);
  ASSERT_TRUE(created);
  EXPECT_EQ(ModeOf(m_folder / "new.htm"), 0640u);
  Put("old.htm", "old");
  ::chmod((m_folder / "old.htm").c_str(), 06750);
  ASSERT_TRUE(WriteAndCommit(Path("old.htm"), "new"));
  EXPECT_EQ(ModeOf(m_folder / "old.htm"), 0750u);
}

TEST_F(SafeFileWriter, AReadOnlyTargetIsRefusedAndKept) {
  Put("report.htm", "old");
  ::chmod((m_folder / "report.htm").c_str(), 0444);
  CSafeFileWriter writer(Path("report.htm"));
  EXPECT_FALSE(writer.Write("new"));
  EXPECT_FALSE(writer.Commit());
  EXPECT_NE(writer.GetError().Find(u"read-only"), CStr::npos) << writer.GetError().ToUtf8();
  EXPECT_EQ(Content("report.htm"), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SafeFileWriter, TheUsersOwnLinkIsWrittenThroughAndStaysALink) {
  fs::create_directory(m_folder / "real");
  Put("real/report.htm", "old");
  fs::create_symlink("real/report.htm", m_folder / "link.htm");
  ASSERT_TRUE(WriteAndCommit(Path("link.htm"), "new"));
  EXPECT_TRUE(fs::is_symlink(m_folder / "link.htm"));
  EXPECT_EQ(Content("real/report.htm"), "new");
  // A dangling link of the user's creates its target.
  fs::create_symlink("real/later.htm", m_folder / "later.htm");
  ASSERT_TRUE(WriteAndCommit(Path("later.htm"), "made"));
  EXPECT_EQ(Content("real/later.htm"), "made");
  EXPECT_EQ(Entries(), 3u);
}

TEST_F(SafeFileWriter, ALinkOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a link to another user";
  Put("victim.htm", "precious");
  fs::create_symlink(m_folder / "victim.htm", m_folder / "report.htm");
  ASSERT_EQ(::lchown((m_folder / "report.htm").c_str(), 65534, 65534), 0);
  EXPECT_FALSE(WriteAndCommit(Path("report.htm"), "overwritten"));
  EXPECT_EQ(Content("victim.htm"), "precious");
  EXPECT_TRUE(fs::is_symlink(m_folder / "report.htm"));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(SafeFileWriter, AHardLinkedReportIsReplacedUnderItsOwnNameOnly) {
  Put("report.htm", "old");
  fs::create_hard_link(m_folder / "report.htm", m_folder / "other-name.htm");
  ASSERT_TRUE(WriteAndCommit(Path("report.htm"), "new"));
  EXPECT_EQ(Content("report.htm"), "new");
  EXPECT_EQ(Content("other-name.htm"), "old");
}

TEST_F(SafeFileWriter, PipesAndFoldersAreNeitherWrittenNorWaitedOn) {
  ASSERT_EQ(::mkfifo((m_folder / "pipe").c_str(), 0600), 0);
  fs::create_directory(m_folder / "folder");
  EXPECT_FALSE(WriteAndCommit(Path("pipe"), "x"));
  EXPECT_FALSE(WriteAndCommit(Path("folder"), "x"));
  std::string bytes;
  EXPECT_FALSE(ReadFileBytes(Path("pipe"), bytes));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(SafeFileWriter, SetAsideIsPutBackOrDroppedAndRefusesWhatCannotBeReplaced) {
  Put("report.htm", "old");
  {
    CFileSetAside aside;
    CStr error;
    ASSERT_TRUE(aside.SetAside(Path("report.htm"), error)) << error.ToUtf8();
    EXPECT_FALSE(fs::exists(m_folder / "report.htm"));
    Put("report.htm", "half written");
    aside.Restore();
  }
  EXPECT_EQ(Content("report.htm"), "old");
  EXPECT_EQ(Entries(), 1u);
  {
    CFileSetAside aside;
    CStr error;
    ASSERT_TRUE(aside.SetAside(Path("report.htm"), error));
  }
  EXPECT_EQ(Entries(), 0u);
  Put("locked.htm", "keep");
  ::chmod((m_folder / "locked.htm").c_str(), 0444);
  CFileSetAside aside;
  CStr error;
  EXPECT_FALSE(aside.SetAside(Path("locked.htm"), error));
  EXPECT_EQ(error, CStr(u"it is read-only"));
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eRename, 1);
  ::chmod((m_folder / "locked.htm").c_str(), 0644);
  EXPECT_FALSE(aside.SetAside(Path("locked.htm"), error));
  EXPECT_EQ(Content("locked.htm"), "keep");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SafeFileWriter, ARealFolderIsMadeButALinkIsNeverTakenForOne) {
  EXPECT_TRUE(MakeRealFolder(Path("r_files")));
  EXPECT_TRUE(MakeRealFolder(Path("r_files")));
  fs::create_directory(m_folder / "elsewhere");
  fs::create_directory_symlink(m_folder / "elsewhere", m_folder / "s_files");
  EXPECT_FALSE(MakeRealFolder(Path("s_files")));
  EXPECT_FALSE(MakeRealFolder(SystemUtils::FromFsPath(m_folder / "s_files/")));
  Put("file", "x");
  EXPECT_FALSE(MakeRealFolder(Path("file")));
}

class FolderCopy : public SafeFileWriter {};

TEST_F(FolderCopy, LinksAreSkippedAndNothingLeavesTheFolder) {
  Put("secret", "private");
  fs::create_directories(m_folder / "t_files/sub");
  Put("t_files/logo.png", "logo");
  fs::create_symlink(m_folder / "secret", m_folder / "t_files/stolen.png");
  fs::create_directory_symlink(".", m_folder / "t_files/loop");
  fs::create_directory_symlink("..", m_folder / "t_files/sub/up");
  ASSERT_TRUE(CopyFolderContents(Path("t_files"), Path("r_files")));
  EXPECT_EQ(Content("r_files/logo.png"), "logo");
  EXPECT_TRUE(fs::is_directory(m_folder / "r_files/sub"));
  size_t copied = 0;
  for ([[maybe_unused]] const auto& entry : fs::recursive_directory_iterator(m_folder / "r_files")) ++copied;
  EXPECT_EQ(copied, 2u);
  // A source folder that is itself a link is not followed.
  fs::create_directory(m_folder / "private");
  Put("private/key", "k");
  fs::create_directory_symlink(m_folder / "private", m_folder / "u_files");
  EXPECT_TRUE(CopyFolderContents(Path("u_files"), Path("v_files")));
  EXPECT_FALSE(fs::exists(m_folder / "v_files/key"));
}

TEST_F(FolderCopy, AFaultAtAnyFileRemovesWhatTheCopyMade) {
  fs::create_directories(m_folder / "t_files/a/b");
  Put("t_files/one.png", "1");
  Put("t_files/a/two.png", "2");
  Put("t_files/a/b/three.png", "3");
  fs::create_directory(m_folder / "r_files");
  Put("r_files/one.png", "old one");
  Put("r_files/mine.txt", "mine");
  for (int nth = 1; nth <= 3; ++nth) {
    FileFaults::Reset();
    FileFaults::FailAt(EFileStep::eCopy, nth);
    EXPECT_FALSE(CopyFolderContents(Path("t_files"), Path("r_files"))) << nth;
    EXPECT_FALSE(fs::exists(m_folder / "r_files/a")) << nth;
    EXPECT_EQ(Content("r_files/mine.txt"), "mine");
    size_t left = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder / "r_files")) ++left;
    EXPECT_EQ(left, 2u) << nth;
  }
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eCopy, 1);
  EXPECT_FALSE(CopyFolderContents(Path("t_files"), Path("new_files")));
  EXPECT_FALSE(fs::exists(m_folder / "new_files"));
}

TEST(PrivateFolder, IsOnlyTheUsersAndGoesWithEverythingInIt) {
  fs::path path;
  {
    CPrivateFolder folder;
    ASSERT_FALSE(folder.Path().IsEmpty());
    path = SystemUtils::ToFsPath(folder.Path()).parent_path();
    EXPECT_EQ(ModeOf(path), 0700u);
    std::ofstream(path / "inside") << "x";
    EXPECT_TRUE(folder.StillPrivate());
    // Only what lies inside it is scratch, and only while it lives.
    EXPECT_TRUE(IsScratchPath(path / "report.docx"));
    EXPECT_TRUE(IsScratchPath(path / "sub" / ".." / "report.docx"));
    EXPECT_FALSE(IsScratchPath(path));
    EXPECT_FALSE(IsScratchPath(path.string() + "x/report.docx"));  // a neighbour sharing the name's start
    EXPECT_FALSE(IsScratchPath(path / ".." / "report.docx"));
  }
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(IsScratchPath(path / "report.docx"));
}

// A scratch output takes the report's place by a rename: the report keeps its mode,
// the user's link stays a link, and a report that may not be replaced stays as it was.
TEST_F(SafeFileWriter, AMovedScratchFileTakesTheReportsPlaceAsTheWriterWould) {
  CPrivateFolder scratch;
  const auto output = [&](const char* text) {
    const CStr path = scratch.Path() + u"output.docx";
    std::ofstream(SystemUtils::ToFsPath(path), std::ios::binary) << text;
    return path;
  };
  Put("report.docx", "old");
  ::chmod((m_folder / "report.docx").c_str(), 0640);
  ASSERT_TRUE(MoveFileSafely(output("new"), Path("report.docx")));
  EXPECT_EQ(Content("report.docx"), "new");
  EXPECT_EQ(ModeOf(m_folder / "report.docx"), 0640u);
  EXPECT_FALSE(fs::exists(SystemUtils::ToFsPath(scratch.Path() + u"output.docx")));

  fs::create_symlink("report.docx", m_folder / "link.docx");
  ASSERT_TRUE(MoveFileSafely(output("through"), Path("link.docx")));
  EXPECT_TRUE(fs::is_symlink(m_folder / "link.docx"));
  EXPECT_EQ(Content("report.docx"), "through");

  ::chmod((m_folder / "report.docx").c_str(), 0444);
  EXPECT_FALSE(MoveFileSafely(output("refused"), Path("report.docx")));
  ::chmod((m_folder / "report.docx").c_str(), 0644);
  for (const EFileStep step : {EFileStep::eFlush, EFileStep::eRename}) {
    FileFaults::Reset();
    FileFaults::FailAt(step, 1);
    EXPECT_FALSE(MoveFileSafely(output("failed"), Path("report.docx")));
  }
  EXPECT_EQ(Content("report.docx"), "through");
  EXPECT_EQ(Entries(), 2u);
}

TEST(PrivateFolder, TheProcessFolderIsMadeAgainWhenItVanishesOrIsOpened) {
  const CStr first = ProcessTempFolder();
  ASSERT_FALSE(first.IsEmpty());
  EXPECT_EQ(ProcessTempFolder(), first);
  const fs::path path = SystemUtils::ToFsPath(first).parent_path();
  ::chmod(path.c_str(), 0777);
  const CStr second = ProcessTempFolder();
  EXPECT_NE(second, first);
  EXPECT_TRUE(fs::exists(path)) << "a folder no longer private is left alone";
  fs::remove_all(path);
  fs::remove_all(SystemUtils::ToFsPath(second).parent_path());
  const CStr third = ProcessTempFolder();
  EXPECT_NE(third, second);
  EXPECT_TRUE(fs::is_directory(SystemUtils::ToFsPath(third)));
}

}  // namespace
