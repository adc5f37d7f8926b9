// Templates other producers wrote (LibreOffice, python-docx), as the report generator
// reads and edits them: placeholders found where they stand, text boxes counted once,
// and the end-of-document edit every run makes works on each.
#include <gtest/gtest.h>

#include "folio/extract/CKORIExtractor.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"
#include "platform/word/WordTestSupport.h"

namespace {

using namespace wordtest;

// Fields of the placeholders among shapes, in order.
std::vector<CStr> Fields(IWordInlineShapes& shapes) {
  std::vector<CStr> fields;
  for (long i = 1; i <= shapes.Count(); ++i) {
    CKORIControlValue value;
    if (CKORIExtractor::ExtractKORIElementProperties(shapes.Item(i).get(), value).m_result == CKORIControlValue::eExtractOk)
      fields.push_back(value.GetField());
  }
  return fields;
}

class ProducerTemplates : public ::testing::TestWithParam<const char*> {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize()));
    ASSERT_EQ(CWordAutomation::StartWordApplication(m_app), S_OK);
    const std::string path = std::string(FOLIO_PRODUCERS_DIR "/") + GetParam();
    m_doc = m_app->Documents()->Open(CVariant::Text(CStr::FromUtf8(path)));
  }
  void TearDown() override {
    m_doc.reset();
    m_app.reset();
    CoUninitialize();
  }
  std::shared_ptr<IWordApplication> m_app;
  std::shared_ptr<IWordDocument> m_doc;
  CTempDir m_dir;
};

TEST_P(ProducerTemplates, PlaceholdersAreFoundInTextAndTables) {
  const std::vector<CStr> expected = {u"desc",      u"PrefaceEnd",   u"filename", u"RoughnessParameter",
                                      u"MainImage", u"SummaryBegin", u"RoughnessParameter"};
  EXPECT_EQ(Fields(*m_doc->InlineShapes()), expected);
}

TEST_P(ProducerTemplates, TextBoxesCountOnceWithTheirPlaceholders) {
  auto shapes = m_doc->Shapes();
  if (std::string(GetParam()) == "from-python-docx.docx") {
    EXPECT_EQ(shapes->Count(), 0);  // python-docx writes no text boxes
    return;
  }
  ASSERT_EQ(shapes->Count(), 1);
  auto frame = shapes->Item(CVariant::I4(1))->TextFrame();
  ASSERT_TRUE(frame && frame->HasText());
  EXPECT_EQ(Fields(*frame->TextRange()->InlineShapes()), std::vector<CStr>{u"desc"});
}

// Every report run ends by typing a space at the end of the document and deleting it;
// appending a placeholder inserts there too. python-docx ends the body with a table.
TEST_P(ProducerTemplates, TheDocumentsEndTakesTextAndSaves) {
  m_doc->Select();
  auto selection = m_app->Selection();
  selection->Collapse(CVariant::I4(0));
  selection->TypeText(u" ");
  selection->TypeBackspace();
  m_doc->SaveAs(CVariant::Text(CStr::FromUtf8((m_dir / "saved.docx").string())));
  auto again = m_app->Documents()->Open(CVariant::Text(CStr::FromUtf8((m_dir / "saved.docx").string())));
  EXPECT_EQ(Fields(*again->InlineShapes()).size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Producers, ProducerTemplates,
                         ::testing::Values("from-libreoffice.docx", "from-python-docx.docx"),
                         [](const auto& info) { return std::string(info.param).substr(5, 6) == "libreo" ? "LibreOffice" : "PythonDocx"; });

}  // namespace
