#include <gtest/gtest.h>

#include <filesystem>

#include "WordTestSupport.h"
#include "platform/PlatformTestSupport.h"
#include "platform/com/CComError.h"
#include "platform/fs/FileFaults.h"
#include "platform/word/document/CWordFiles.h"

namespace fs = std::filesystem;
using namespace wordtest;
using namespace platformtest;

namespace {

std::vector<SZipSource> Members() { return {{"[Content_Types].xml", "<Types/>"}, {"word/document.xml", "<w/>"}}; }

bool Saves(const fs::path& path) {
  try {
    CZipWriter::ToFile(path.string(), Members());
    return true;
  } catch (const CComError&) {
    return false;
  }
}

TEST(WordSave, AFaultAtAnyStepKeepsTheOldDocumentAndLeavesNothingBehind) {
  CTempDir dir;
  for (EFileStep step : {EFileStep::eCreate, EFileStep::eWrite, EFileStep::eFlush, EFileStep::eRename}) {
    WriteFile(dir / "report.docx", "old document");
    FileFaults::Reset();
    FileFaults::FailAt(step, 1);
    EXPECT_FALSE(Saves(dir / "report.docx"));
    EXPECT_EQ(ReadFile(dir / "report.docx"), "old document");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  }
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eRename, 1);
  EXPECT_THROW(CWordFiles::WriteAll(dir / "report.docx", "new"), CComError);
  EXPECT_EQ(ReadFile(dir / "report.docx"), "old document");
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  FileFaults::Reset();
}

TEST(WordSave, APreparedTemporaryNameIsNeverWrittenThrough) {
  CTempDir dir;
  WriteFile(dir / "victim", "precious");
  // The fixed name the save once used, prepared by someone else.
  fs::create_symlink(dir / "victim", dir / "report.docx.folio-tmp");
  ASSERT_TRUE(Saves(dir / "report.docx"));
  EXPECT_EQ(ReadFile(dir / "victim"), "precious");
  EXPECT_EQ(CZipArchive::Read(ReadFile(dir / "report.docx")).size(), 2u);
}

TEST(WordSave, TheDocumentKeepsItsModeAndReadOnlyDocumentsAreRefused) {
  CTempDir dir;
  WriteFile(dir / "report.docx", "old");
  ::chmod((dir / "report.docx").c_str(), 04640);
  ASSERT_TRUE(Saves(dir / "report.docx"));
  EXPECT_EQ(ModeOf(dir / "report.docx"), 0640u);
  ::chmod((dir / "report.docx").c_str(), 0444);
  const std::string before = ReadFile(dir / "report.docx");
  try {
    CWordFiles::WriteAll(dir / "report.docx", "new");
    ADD_FAILURE() << "a read-only document was replaced";
  } catch (const CComError& e) {
    EXPECT_NE(e.Description().ToUtf8().find("read-only"), std::string::npos) << e.Description().ToUtf8();
  }
  EXPECT_EQ(ReadFile(dir / "report.docx"), before);
}

}  // namespace
