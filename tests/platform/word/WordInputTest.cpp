// Word documents as hostile or changing input: a file cut short while it is open, parts
// with more markup than a tree should be built for, many parts added under one name.
#include <algorithm>
#include <filesystem>

#include "WordFixture.h"

using namespace wordtest;

namespace {

using WordInput = WordFixture;

// Another process truncates the document after it was opened: its unread parts are
// still saved as they were, where a mapping of the file would kill the process, and
// again when the document is saved over itself, twice.
TEST_F(WordInput, ADocumentCutShortWhileOpenStillSavesWhatItHeld) {
  WriteFile(dir / "same.docx", Docx(P("text") + InlinePicture("p"), {{"word/media/p.png", Png(80, 40)}}, ImageRel()));
  auto doc = app->Documents()->Open(Path("same.docx"));
  std::filesystem::resize_file(dir / "same.docx", 0);
  for (const char16_t* text : {u"changed", u"again"}) {
    doc->Content()->SetText(text);
    doc->SaveAs(Path("same.docx"));
  }
  auto saved = CPackage::FromBytes(ReadFile(dir / "same.docx"));
  EXPECT_EQ(saved->FindPart("word/media/p.png")->Bytes(), Png(80, 40));
  EXPECT_NE(saved->MainPart()->Bytes().find("again"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "same.docx.folio-tmp"));
}

TEST(WordParts, APartWithTooMuchMarkupIsRefusedBeforeItIsParsed) {
  std::string body;
  for (size_t i = 0; i < CPart::kMaxMarkup + 10; ++i) body += "<w:p/>";
  SZipLimits repetitive;  // the repeated markup compresses far beyond the ratio limit
  repetitive.maxRatio = 1000000;
  auto package = CPackage::FromBytes(Docx(body), repetitive);
  const std::string why = ComErrorOf([&] { package->MainPart()->Xml(); });
  EXPECT_NE(why.find("more than 2000000 tags and attributes"), std::string::npos) << why;
}

// The count is exact, however long the runs of markup and wherever the part ends.
TEST(WordParts, MarkupIsCountedExactlyUpToTheLimit) {
  const auto documentWith = [](std::size_t signs) {
    return Docx("<w:p><w:r><w:t>" + std::string(signs, '=') + "x</w:t></w:r></w:p>");
  };
  const std::string bare = CPackage::FromBytes(documentWith(0))->MainPart()->Bytes();
  const auto own = static_cast<std::size_t>(std::count(bare.begin(), bare.end(), '<') + std::count(bare.begin(), bare.end(), '='));
  SZipLimits repetitive;
  repetitive.maxRatio = 1000000;
  auto atLimit = CPackage::FromBytes(documentWith(CPart::kMaxMarkup - own), repetitive);
  EXPECT_EQ(ComErrorOf([&] { atLimit->MainPart()->Xml(); }), "");
  auto over = CPackage::FromBytes(documentWith(CPart::kMaxMarkup - own + 1), repetitive);
  EXPECT_NE(ComErrorOf([&] { over->MainPart()->Xml(); }).find("more than 2000000"), std::string::npos);
}

TEST(WordParts, UniqueNamesGoOnFromTheLastOneGiven) {
  auto package = CPackage::FromBytes(Docx("<w:p/>"));
  package->AddPart("word/media/image2.png", "image/png", "x");
  std::vector<std::string> names;
  for (int i = 0; i < 20000; ++i) {
    names.push_back(package->UniquePartName("word/media/image", ".png"));
    package->AddPart(names.back(), "image/png", "y");
  }
  EXPECT_EQ(names[0], "word/media/image1.png");
  EXPECT_EQ(names[1], "word/media/image3.png");
  EXPECT_EQ(names.back(), "word/media/image20001.png");
}

}  // namespace
