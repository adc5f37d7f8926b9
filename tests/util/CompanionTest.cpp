#include <gtest/gtest.h>

#include "folio/util/SystemUtils.h"
#include "util/ScratchFolder.h"

using namespace SystemUtils;
namespace fs = std::filesystem;

namespace {

// a.htm with a companion folder holding a picture and a nested file.
void WriteDocument(const ScratchFolder& folder, const std::string& stem) {
  folder.Write(stem + ".htm", "<html>" + stem + "</html>");
  folder.Write(stem + "_files/Image_000.png", "png");
  folder.Write(stem + "_files/sub/note.txt", "note");
}

TEST(Companion, CopyTakesTheCompanionFolderAlongWhereThereIsOne) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_EQ(folder.Read("b.htm"), "<html>a</html>");
  EXPECT_EQ(folder.Read("b_files/Image_000.png"), "png");
  EXPECT_EQ(folder.Read("b_files/sub/note.txt"), "note");
  EXPECT_EQ(folder.Read("a_files/Image_000.png"), "png");
  folder.Write("c.htm", "x");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "c.htm", folder / "d.htm", eCopy));
  EXPECT_EQ(folder.Read("d.htm"), "x");
  EXPECT_FALSE(folder.Exists("d_files"));
}

TEST(Companion, MoveAndDeleteLeaveNothingAtTheSource) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "out/b.htm", eMove));
  EXPECT_FALSE(folder.Exists("a.htm"));
  EXPECT_FALSE(folder.Exists("a_files"));
  EXPECT_EQ(folder.Read("out/b.htm"), "<html>a</html>");
  EXPECT_EQ(folder.Read("out/b_files/sub/note.txt"), "note");
  folder.Write("c.htm", "keep");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "out/b.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("out/b.htm"));
  EXPECT_FALSE(folder.Exists("out/b_files"));
  EXPECT_TRUE(FileOperationWithCompanion(folder / "c.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("c.htm"));
}

TEST(Companion, ExistingDestinationIsOverwrittenAndItsFolderMergedInto) {
  for (int operation : {eCopy, eMove}) {
    ScratchFolder folder;
    WriteDocument(folder, "a");
    folder.Write("b.htm", "old report");
    folder.Write("b_files/Image_000.png", "old png");
    folder.Write("b_files/Image_001.png", "other");
    EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", operation));
    EXPECT_EQ(folder.Read("b.htm"), "<html>a</html>");
    EXPECT_EQ(folder.Read("b_files/Image_000.png"), "png");
    EXPECT_EQ(folder.Read("b_files/Image_001.png"), "other");
    EXPECT_EQ(folder.Read("b_files/sub/note.txt"), "note");
    EXPECT_EQ(folder.Exists("a_files"), operation == eCopy);
  }
}

// A missing source, a file onto a folder or onto itself, unknown operation codes.
TEST(Companion, RefusedOperationsChangeNothing) {
  ScratchFolder folder;
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "out/b.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("out"));
  folder.Write("a.htm", "x");
  fs::create_directory(folder.Path() / "b.htm");
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "a.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "a.htm", eMove));
  EXPECT_EQ(folder.Read("a.htm"), "x");
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "c.htm", 4));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "c.htm", 0));
  EXPECT_FALSE(folder.Exists("c.htm"));
}

TEST(Companion, LinksInTheCompanionFolderAreSkippedNeverFollowed) {
  ScratchFolder folder;
  ScratchFolder secrets;
  secrets.Write("id_key", "private");
  WriteDocument(folder, "a");
  fs::create_symlink(secrets.Path() / "id_key", folder.Path() / "a_files/key.png");
  // Two links to the folder itself would make a following copy recurse without end.
  fs::create_directory_symlink(".", folder.Path() / "a_files/loop1");
  fs::create_directory_symlink(".", folder.Path() / "a_files/sub/loop2");
  ASSERT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_EQ(folder.Read("b_files/Image_000.png"), "png");
  EXPECT_EQ(folder.Read("b_files/sub/note.txt"), "note");
  for (const char* name : {"b_files/key.png", "b_files/loop1", "b_files/sub/loop2"})
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.Path() / name))) << name;
}

TEST(Companion, ACompanionFolderThatIsALinkIsNotFollowed) {
  ScratchFolder folder;
  ScratchFolder secrets;
  secrets.Write("id_key", "private");
  folder.Write("a.htm", "x");
  fs::create_directory_symlink(secrets.Path(), folder.Path() / "a_files");
  ASSERT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_FALSE(folder.Exists("b_files/id_key"));
}

TEST(Companion, NothingIsWrittenThroughALinkInTheDestination) {
  for (int operation : {eCopy, eMove}) {
    ScratchFolder folder;
    ScratchFolder elsewhere;
    WriteDocument(folder, "a");
    fs::create_directory_symlink(elsewhere.Path(), folder.Path() / "b_files");
    EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", operation));
    EXPECT_TRUE(fs::is_empty(elsewhere.Path()));
  }
}

TEST(Companion, AFailedCopyLeavesNothingOfItselfBehind) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  folder.Write("a_files/z/last.txt", "z");
  folder.Write("b.htm", "old");
  folder.Write("b_files/keep.txt", "keep");
  // A folder where the copy must put a file fails it part way.
  fs::create_directories(folder.Path() / "b_files/z/last.txt");
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_EQ(folder.Read("b_files/keep.txt"), "keep");
  EXPECT_FALSE(folder.Exists("b_files/Image_000.png"));
  EXPECT_FALSE(folder.Exists("b_files/sub"));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::recursive_directory_iterator(folder.Path() / "b_files")) ++entries;
  EXPECT_EQ(entries, 3u);  // keep.txt, z and the folder z/last.txt
}

TEST(Companion, CopiesNeverCarrySetIdBits) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  fs::permissions(folder.Path() / "a_files/Image_000.png", static_cast<fs::perms>(06755));
  ASSERT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  const auto perms = fs::status(folder.Path() / "b_files/Image_000.png").permissions();
  EXPECT_EQ(perms & (fs::perms::set_uid | fs::perms::set_gid), fs::perms::none);
  EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none);
}

TEST(Companion, ADotInTheFolderNameKeepsTheCompanionBesideTheDocument) {
  ScratchFolder folder;
  folder.Write("user.x/a.htm", "x");
  folder.Write("user.x/a_files/p.png", "png");
  ASSERT_TRUE(FileOperationWithCompanion(folder / "user.x/a.htm", folder / "user.x/copy", eCopy));
  EXPECT_EQ(folder.Read("user.x/copy_files/p.png"), "png");
  EXPECT_FALSE(folder.Exists("user_files"));
}

}  // namespace
