#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "folio/util/SystemUtils.h"
#include "platform/PlatformTestSupport.h"
#include "platform/fs/CGrowingFile.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/FileFaults.h"
#include "util/ScratchFolder.h"

namespace fs = std::filesystem;
using platformtest::EntriesIn;

namespace {

const std::string kHead = "<html><body>";
const std::string kTail = "</body></html>\r\n";

std::string Section(int k) { return "<p>section " + std::to_string(k) + "</p>"; }

// The file after sections 0 to k - 1.
std::string After(int k) {
  std::string text = kHead;
  for (int i = 0; i < k; ++i) text += Section(i);
  return text + kTail;
}

// Puts section k before the tail of a file that holds sections 0 to k - 1.
bool Insert(CGrowingFile& file, int k) { return file.Splice(After(k).size() - kTail.size(), Section(k) + kTail); }

class GrowingFile : public ::testing::Test {
protected:
  void SetUp() override { FileFaults::Reset(); }
  void TearDown() override { FileFaults::Reset(); }
  CStr Report() const { return m_scratch / "report.htm"; }
  std::string Content() const { return m_scratch.Read("report.htm"); }
  void Put(const std::string& text) const { m_scratch.Write("report.htm", text); }
  size_t Entries() const { return EntriesIn(m_folder); }
  std::unique_ptr<CGrowingFile> Start() const {
    Put(After(0));
    return CGrowingFile::Start(Report(), *SFileStamp::Of(Report()));
  }

  ScratchFolder m_scratch;
  const fs::path m_folder = m_scratch.Path();
};

TEST_F(GrowingFile, InsertsBeforeTheTailAndRemovesItsTwin) {
  {
    const auto growing = Start();
    ASSERT_TRUE(growing);
    EXPECT_EQ(Entries(), 2u) << "the report and its hidden twin";
    for (int k = 0; k < 5; ++k) {
      ASSERT_TRUE(growing->Unchanged());
      ASSERT_TRUE(Insert(*growing, k));
      EXPECT_EQ(Content(), After(k + 1));
    }
    EXPECT_TRUE(growing->Unchanged());
  }
  EXPECT_EQ(Content(), After(5));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(GrowingFile, NoticesAndRefusesAFileChangedByOthers) {
  // A file that is not the one expected, or is missing, is not started, and leaves no twin.
  Put(After(0));
  const SFileStamp stamp = *SFileStamp::Of(Report());
  std::ofstream(m_folder / "report.htm", std::ios::binary | std::ios::app) << "more";
  EXPECT_FALSE(CGrowingFile::Start(Report(), stamp));
  EXPECT_FALSE(CGrowingFile::Start(m_scratch / "missing.htm", stamp));
  EXPECT_EQ(Entries(), 1u);

  const auto edited = Start();
  ASSERT_TRUE(edited && Insert(*edited, 0));
  std::ofstream(m_folder / "report.htm", std::ios::binary | std::ios::app) << "x";
  EXPECT_FALSE(edited->Unchanged()) << "appended to";

  const auto replaced = Start();
  ASSERT_TRUE(replaced && replaced->Unchanged());
  const fs::path other = m_folder / "other.htm";
  std::ofstream(other, std::ios::binary) << After(0);
  fs::rename(other, m_folder / "report.htm");
  EXPECT_FALSE(replaced->Unchanged()) << "same bytes, another file";
  EXPECT_FALSE(Insert(*replaced, 0));
  EXPECT_EQ(Content(), After(0));
}

// A pass that ends at a section tag drops the old closing text: the file can shrink at
// the splice as well as grow, and the next splice starts from there.
TEST_F(GrowingFile, ReplacesTheEndFromTheSplice) {
  const auto growing = Start();
  ASSERT_TRUE(growing && Insert(*growing, 0));
  const std::string shorter = kHead + Section(0) + "</body>";
  ASSERT_TRUE(growing->Splice(kHead.size() + Section(0).size(), "</body>"));
  EXPECT_EQ(Content(), shorter);
  ASSERT_TRUE(growing->Unchanged());
  ASSERT_TRUE(growing->Splice(shorter.size() - 7, Section(1) + kTail));
  EXPECT_EQ(Content(), kHead + Section(0) + Section(1) + kTail);
  EXPECT_FALSE(growing->Splice(Content().size() + 1, "x")) << "a splice beyond the end";
  EXPECT_EQ(Content(), kHead + Section(0) + Section(1) + kTail);
}

// Whichever step fails, the report is the old one or the new one, never a mix; a
// failed insertion leaves it old, and the object is then spent.
TEST_F(GrowingFile, AFailingStepLeavesTheOldOrTheNewFile) {
  for (const EFileStep step : {EFileStep::eCreate, EFileStep::eCopy, EFileStep::eWrite, EFileStep::eFlush,
                               EFileStep::eRename}) {
    for (int nth = 1; nth <= 12; ++nth) {
      FileFaults::Reset();
      FileFaults::FailAt(step, nth);
      const auto growing = Start();
      int done = 0;
      for (int k = 0; growing && k < 4; ++k) {
        const bool inserted = Insert(*growing, k);
        done += inserted ? 1 : 0;
        ASSERT_EQ(Content(), After(done)) << "step " << static_cast<int>(step) << " failing at " << nth;
        if (!inserted) {
          EXPECT_FALSE(Insert(*growing, k));
          break;
        }
      }
      if (!growing) {
        EXPECT_EQ(Content(), After(0));
      }
    }
  }
  FileFaults::Reset();
  EXPECT_EQ(Entries(), 1u) << "no twin outlives its object";
}

// A file in a private folder is scratch: nothing of it waits for the disk, so a disk
// that cannot flush stops no insertion there, and stops the first one elsewhere.
TEST_F(GrowingFile, OnlyAFileOutsideAPrivateFolderWaitsForTheDisk) {
  const CPrivateFolder scratch;
  ASSERT_FALSE(scratch.Path().IsEmpty());
  const fs::path inside = SystemUtils::ToFsPath(scratch.Path()) / "report.htm";
  std::ofstream(inside, std::ios::binary) << After(0);
  FileFaults::FailAt(EFileStep::eFlush, 1);
  const CStr path = SystemUtils::FromFsPath(inside);
  const auto staged = CGrowingFile::Start(path, *SFileStamp::Of(path));
  ASSERT_TRUE(staged && Insert(*staged, 0) && Insert(*staged, 1));
  EXPECT_EQ(FileFaults::Count(EFileStep::eFlush), 0);

  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eFlush, 1);
  EXPECT_FALSE(Start()) << "the user's own report is flushed before its twin stands in";
  EXPECT_EQ(Content(), After(0));
}

// A process killed at any moment leaves a report that some number of whole insertions
// made.
TEST_F(GrowingFile, AKilledProcessLeavesAWholeReport) {
  std::mt19937 random(7);
  int killedAfterInserting = 0;
  for (int round = 0; round < 12; ++round) {
    Put(After(0));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const auto growing = CGrowingFile::Start(Report(), *SFileStamp::Of(Report()));
      for (int k = 0; growing && k < 100000; ++k)
        if (!Insert(*growing, k)) ::_exit(2);
      ::_exit(0);
    }
    ::usleep(2000 + random() % 30000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string content = Content();
    int k = 0;
    while (After(k).size() < content.size()) ++k;
    ASSERT_EQ(content, After(k)) << "round " << round;
    killedAfterInserting += k > 0 ? 1 : 0;
    for (const auto& entry : fs::directory_iterator(m_folder))
      if (entry.path().filename() != "report.htm") fs::remove(entry.path());
  }
  EXPECT_GT(killedAfterInserting, 0) << "no kill fell among the insertions";
}

}  // namespace
