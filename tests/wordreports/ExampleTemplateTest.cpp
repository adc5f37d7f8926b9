// The bundled Word template as the report generator reads it: every placeholder where
// the example says, each packed description exactly as the record packs it, the legacy
// controls' names translated.
#include <gtest/gtest.h>

#include <algorithm>

#include "folio/extract/CKORIExtractor.h"
#include "folio/model/CKORIControlValue.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"

namespace {

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

class ExampleTemplate : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize()));
    ASSERT_EQ(CWordAutomation::StartWordApplication(m_app), S_OK);
    m_doc = m_app->Documents()->Open(CVariant::Text(CStr::FromUtf8(FOLIO_EXAMPLES_DIR "/surface-report.docx")));
  }
  void TearDown() override {
    m_doc.reset();
    m_app.reset();
    CoUninitialize();
  }
  std::shared_ptr<IWordApplication> m_app;
  std::shared_ptr<IWordDocument> m_doc;
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

}  // namespace
