#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "folio/util/SystemUtils.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/fs/FileFaults.h"

namespace fs = std::filesystem;

namespace {

class SafeFileWriter : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("folio-safe-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_folder);
    FileFaults::Reset();
  }
  void TearDown() override {
    FileFaults::Reset();
    fs::remove_all(m_folder);
  }
  CStr Path(const char* name) const { return SystemUtils::FromFsPath(m_folder / name); }
  std::string Content(const char* name) const {
    std::ifstream in(m_folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void Put(const char* name, const std::string& text) const {
    std::ofstream(m_folder / name, std::ios::binary) << text;
  }
  size_t Entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(m_folder), {})); }

  fs::path m_folder;
};

TEST_F(SafeFileWriter, ReplacesOnlyAtCommit) {
  Put("report.htm", "old");
  {
    CSafeFileWriter writer(Path("report.htm"));
    ASSERT_TRUE(writer.Write("new content"));
    EXPECT_EQ(Content("report.htm"), "old");
    ASSERT_TRUE(writer.Commit());
  }
  EXPECT_EQ(Content("report.htm"), "new content");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SafeFileWriter, DroppedWriterLeavesNothingBehind) {
  Put("report.htm", "old");
  {
    CSafeFileWriter writer(Path("report.htm"));
    writer.Write("half");
  }
  EXPECT_EQ(Content("report.htm"), "old");
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

}  // namespace
