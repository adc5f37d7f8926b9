// Word templates as the report generator reads them: the bundled example (every
// placeholder where the example says, each packed description exactly as the record
// packs it, the legacy controls' names translated) and the templates other producers
// wrote (LibreOffice, python-docx), edited at their end as every run edits them.
#include <gtest/gtest.h>

#include <algorithm>

#include "folio/extract/CKORIExtractor.h"
#include "folio/model/CKORIControlValue.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/WordTestSupport.h"
#include "platform/word/om/CWordAutomation.h"

namespace {

using namespace wordtest;

// A document opened by the engine's Word application.
class OpenedTemplate : public ::testing::Test {
protected:
  void Open(const std::string& path) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize()));
    ASSERT_EQ(CWordAutomation::StartWordApplication(m_app), S_OK);
    m_doc = m_app->Documents()->Open(CVariant::Text(CStr::FromUtf8(path)));
  }
  void TearDown() override {
    m_doc.reset();
    m_app.reset();
    CoUninitialize();
  }
  std::shared_ptr<IWordApplication> m_app;
  std::shared_ptr<IWordDocument> m_doc;
};

struct SFound {
  std::vector<CStr> packed;  // group/field of placeholders described in alternative texts
  std::vector<CStr> legacy;  // group/field/parameter 1 of KORI controls, as translated
  int otherPictures = 0;
};

// Reads each inline shape as the report generator does.
void Collect(IWordInlineShapes& shapes, SFound& found) {
  for (long i = 1; i <= shapes.Count(); ++i) {
    auto shape = shapes.Item(i);
    CKORIControlValue value;
    const auto result = CKORIExtractor::ExtractKORIElementProperties(shape.get(), value);
    if (result.m_result == CKORIControlValue::eNotKoriElement) {
      ++found.otherPictures;
      continue;
    }
    EXPECT_LT(result.m_result, CKORIControlValue::eNotKoriElement) << value.GetField().ToUtf8();
    const CStr alt = shape->AlternativeText();
    if (alt.StartsWith(u"KORI {")) {
      // Written exactly as the record writes it, so a round trip changes nothing.
      CKORIControlValue unpacked;
      CStr text = alt;
      ASSERT_TRUE(unpacked.Unpack(text)) << alt.ToUtf8();
      EXPECT_EQ(unpacked.Pack(), alt);
      found.packed.push_back(value.GetGroup() + u"/" + value.GetField());
    } else {
      ASSERT_TRUE(shape->OLEFormat());
      EXPECT_EQ(shape->OLEFormat()->ClassType(), CStr(u"KORICONTROL.KORIControlCtrl.1"));
      found.legacy.push_back(value.GetGroup() + u"/" + value.GetField() + u"/" + value.GetParameter1());
    }
  }
}

class ExampleTemplate : public OpenedTemplate {
protected:
  void SetUp() override { Open(FOLIO_EXAMPLES_DIR "/surface-report.docx"); }
};

TEST_F(ExampleTemplate, MainTextHoldsPackedPlaceholdersLegacyControlsTagsAndALogo) {
  SFound found;
  Collect(*m_doc->InlineShapes(), found);
  EXPECT_EQ(found.otherPictures, 1);  // the logo stays a picture
  EXPECT_EQ(found.packed.size(), 23u);
  const auto at = [&](const CStr& name) { return std::count(found.packed.begin(), found.packed.end(), name); };
  EXPECT_EQ(at(u"Section/PrefaceEnd"), 1);
  EXPECT_EQ(at(u"Section/SummaryBegin"), 1);
  EXPECT_EQ(at(u"BasicInfo/MainImage"), 1);
  // The preface tag comes before every body placeholder, the summary tag after them.
  const auto index = [&](const CStr& name) { return std::find(found.packed.begin(), found.packed.end(), name) - found.packed.begin(); };
  EXPECT_LT(index(u"Section/PrefaceEnd"), index(u"BasicInfo/batchindex"));
  EXPECT_LT(index(u"BasicProc/Histogram"), index(u"Section/SummaryBegin"));
  EXPECT_LT(index(u"Section/SummaryBegin"), index(u"BasicInfo/FileCount"));
  // Older names translated: the scan ranges per axis, the batch mean of Sa.
  const std::vector<CStr> legacy = {u"BasicInfo/range/XAxis", u"BasicInfo/range/YAxis",
                                    u"Roughness/RoughnessParameter/Sa"};
  EXPECT_EQ(found.legacy, legacy);
  EXPECT_GE(m_doc->Tables()->Count(), 3);
}

TEST_F(ExampleTemplate, TextBoxHoldsTwoPlaceholdersSideBySide) {
  auto shapes = m_doc->Shapes();
  ASSERT_EQ(shapes->Count(), 1);  // the drawing and its VML copy count once
  auto frame = shapes->Item(CVariant::I4(1))->TextFrame();
  ASSERT_TRUE(frame && frame->HasText());
  SFound found;
  Collect(*frame->TextRange()->InlineShapes(), found);
  EXPECT_EQ(found.packed, (std::vector<CStr>{u"BasicInfo/filename", u"BasicInfo/desc"}));
}

TEST_F(ExampleTemplate, PrimaryHeaderHoldsALegacyControl) {
  constexpr long kPrimaryHeaderStory = 7;
  SFound found;
  Collect(*m_doc->StoryRanges()->Item(kPrimaryHeaderStory)->InlineShapes(), found);
  ASSERT_EQ(found.legacy.size(), 1u);
  EXPECT_TRUE(found.legacy[0].StartsWith(u"BasicInfo/reportfilename/")) << found.legacy[0].ToUtf8();
  EXPECT_TRUE(found.packed.empty());
}

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

class ProducerTemplates : public OpenedTemplate, public ::testing::WithParamInterface<const char*> {
protected:
  void SetUp() override { Open(std::string(FOLIO_PRODUCERS_DIR "/") + GetParam()); }
  CTempDir m_dir;
};

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
TEST_P(ProducerTemplates, PlaceholdersAreFoundInTextAndTablesAndTheEndTakesTextAndSaves) {
  const std::vector<CStr> expected = {u"desc",      u"PrefaceEnd",   u"filename", u"RoughnessParameter",
                                      u"MainImage", u"SummaryBegin", u"RoughnessParameter"};
  EXPECT_EQ(Fields(*m_doc->InlineShapes()), expected);
  m_doc->Select();
  auto selection = m_app->Selection();
  selection->Collapse(CVariant::I4(0));
  selection->TypeText(u" ");
  selection->TypeBackspace();
  m_doc->SaveAs(CVariant::Text(CStr::FromUtf8((m_dir / "saved.docx").string())));
  auto again = m_app->Documents()->Open(CVariant::Text(CStr::FromUtf8((m_dir / "saved.docx").string())));
  EXPECT_EQ(Fields(*again->InlineShapes()), expected);
}

INSTANTIATE_TEST_SUITE_P(Producers, ProducerTemplates,
                         ::testing::Values("from-libreoffice.docx", "from-python-docx.docx"),
                         [](const auto& info) { return std::string(info.param).substr(5, 6) == "libreo" ? "LibreOffice" : "PythonDocx"; });

}  // namespace
