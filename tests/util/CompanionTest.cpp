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

TEST(Companion, CopyTakesTheCompanionFolderAlong) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_EQ(folder.Read("b.htm"), "<html>a</html>");
  EXPECT_EQ(folder.Read("b_files/Image_000.png"), "png");
  EXPECT_EQ(folder.Read("b_files/sub/note.txt"), "note");
  EXPECT_EQ(folder.Read("a_files/Image_000.png"), "png");
}

TEST(Companion, WithoutACompanionFolderOnlyTheFileIsCopied) {
  ScratchFolder folder;
  folder.Write("a.htm", "x");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_EQ(folder.Read("b.htm"), "x");
  EXPECT_FALSE(folder.Exists("b_files"));
}

TEST(Companion, MoveLeavesNothingAtTheSource) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", folder / "out/b.htm", eMove));
  EXPECT_FALSE(folder.Exists("a.htm"));
  EXPECT_FALSE(folder.Exists("a_files"));
  EXPECT_EQ(folder.Read("out/b.htm"), "<html>a</html>");
  EXPECT_EQ(folder.Read("out/b_files/sub/note.txt"), "note");
}

TEST(Companion, DeleteRemovesFileAndFolder) {
  ScratchFolder folder;
  WriteDocument(folder, "a");
  folder.Write("c.htm", "keep");
  EXPECT_TRUE(FileOperationWithCompanion(folder / "a.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("a.htm"));
  EXPECT_FALSE(folder.Exists("a_files"));
  EXPECT_TRUE(FileOperationWithCompanion(folder / "c.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("c.htm"));
}

TEST(Companion, MissingSourceFailsAndCreatesNothing) {
  ScratchFolder folder;
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "out/b.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", u"", eDelete));
  EXPECT_FALSE(folder.Exists("out"));
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

TEST(Companion, FileOntoAFolderOrOntoItselfFails) {
  ScratchFolder folder;
  folder.Write("a.htm", "x");
  fs::create_directory(folder.Path() / "b.htm");
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "a.htm", eCopy));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "a.htm", eMove));
  EXPECT_EQ(folder.Read("a.htm"), "x");
}

TEST(Companion, UnknownOperationCodesDoNothing) {
  ScratchFolder folder;
  folder.Write("a.htm", "x");
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", 4));
  EXPECT_FALSE(FileOperationWithCompanion(folder / "a.htm", folder / "b.htm", 0));
  EXPECT_FALSE(folder.Exists("b.htm"));
}

}  // namespace
