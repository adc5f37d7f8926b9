#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "CValueAnswerer.h"
#include "ComputedValues.h"
#include "TemplateScan.h"
#include "ValuesFileParsing.h"
#include "util/ScratchFolder.h"

namespace {

using namespace FolioCli;

CKORIControlValue Placeholder(const char16_t* group, const char16_t* field, const char16_t* parameter1 = nullptr) {
  CKORIControlValue record;
  record.Reset();
  record.SetGroup(group);
  record.SetField(field);
  if (parameter1) record.SetParameter1(parameter1);
  return record;
}

SRunFacts FixedFacts() {
  SRunFacts facts;
  facts.startedLocal = std::tm{};
  facts.startedLocal.tm_sec = 5;
  facts.startedLocal.tm_min = 4;
  facts.startedLocal.tm_hour = 3;
  facts.startedLocal.tm_mday = 2;
  facts.startedLocal.tm_year = 126;
  facts.startedUtc = facts.startedLocal;
  facts.startedUtc.tm_hour = 23;
  facts.startedUtc.tm_mday = 1;
  facts.userName = u"ada";
  facts.reportFileName = u"r.htm";
  facts.batchCount = 3;
  return facts;
}

TEST(ComputedValues, OnlyBasicInfoDatesNamesAndCountsAreComputed) {
  SRunFacts facts = FixedFacts();
  facts.batchIndex = 2;
  const struct {
    const char16_t* group;
    const char16_t* field;
    CKORIControlValue::EType type;  // eNone: not computed
    const char16_t* shown;
  } cases[] = {{u"BasicInfo", u"date", CKORIControlValue::eText, u"2026-01-02"},
               {u"BasicInfo", u"dateutc", CKORIControlValue::eText, u"2026-01-01"},
               {u"BasicInfo", u"time", CKORIControlValue::eText, u"03:04:05"},
               {u"BasicInfo", u"timeutc", CKORIControlValue::eText, u"23:04:05"},
               {u"BasicInfo", u"username", CKORIControlValue::eText, u"ada"},
               {u"BasicInfo", u"reportfilename", CKORIControlValue::eText, u"r.htm"},
               {u"BasicInfo", u"batchindex", CKORIControlValue::eInteger, u"2"},
               {u"BasicInfo", u"FileCount", CKORIControlValue::eInteger, u"3"},
               {u"Roughness", u"date", CKORIControlValue::eNone, u""},
               {u"BasicInfo", u"filename", CKORIControlValue::eNone, u""}};
  for (const auto& c : cases) {
    CKORIControlValue record = Placeholder(c.group, c.field);
    EXPECT_EQ(ApplyComputedValue(SPlaceholderKey::Of(record), facts, record), c.type != CKORIControlValue::eNone)
        << CStr(c.field).ToUtf8();
    EXPECT_EQ(record.GetType(), c.type) << CStr(c.field).ToUtf8();
    const CStr shown = c.type == CKORIControlValue::eInteger ? CStr::DoStringFormat(u"%d", record.GetInteger())
                                                              : record.GetText();
    EXPECT_EQ(shown, CStr(c.shown)) << CStr(c.field).ToUtf8();
  }
  EXPECT_FALSE(CurrentUserName().IsEmpty());
}

class ValueAnswerer : public testing::Test {
protected:
  CKORIControlValue Answer(CValueAnswerer& answerer, CKORIControlValue record) {
    answerer.Answer(record);
    return record;
  }
  CPictureCopies m_pictures;
};

// Section tags answer their types whatever the values say; given values carry their
// precision and unit, and win over computed ones.
TEST_F(ValueAnswerer, AnswersTakeTheirTypeFromTheTagOrTheValue) {
  const auto values = ParseValues(R"({"values": [
    {"group": "Section", "field": "PrefaceEnd", "text": "no"},
    {"group": "R", "field": "P", "parameter1": "Sa", "float": 1.2345, "precision": 4, "unit": "nm"},
    {"group": "B", "field": "pixels", "integer": 512, "unit": "px"},
    {"group": "BasicInfo", "field": "date", "text": "yesterday"}]})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  EXPECT_EQ(Answer(answerer, Placeholder(u"Section", u"PrefaceEnd")).GetType(), CKORIControlValue::ePrefaceEnd);
  EXPECT_EQ(Answer(answerer, Placeholder(u"SectionTags", u"SummaryBegin")).GetType(),
            CKORIControlValue::eSummaryBegin);
  CKORIControlValue sa = Answer(answerer, Placeholder(u"R", u"P", u"Sa"));
  EXPECT_EQ(sa.GetType(), CKORIControlValue::eFloat);
  EXPECT_EQ(sa.GetPrecision(), 4);
  EXPECT_EQ(sa.DisplayString(), u" 1.234 nm");
  EXPECT_EQ(Answer(answerer, Placeholder(u"B", u"pixels")).DisplayString(), u"512 px");
  EXPECT_EQ(Answer(answerer, Placeholder(u"BasicInfo", u"date")).GetText(), u"yesterday");
  EXPECT_EQ(Answer(answerer, Placeholder(u"BasicInfo", u"time")).GetText(), u"03:04:05");
}

TEST_F(ValueAnswerer, BodyPassesAnswerFromTheirMeasurementAndCountFromOne) {
  const auto values = ParseValues(R"({"measurements": [
    {"values": [{"group": "B", "field": "filename", "text": "first"}]},
    {"values": [{"group": "B", "field": "filename", "text": "second"}]}]})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  answerer.BeginPass(eBody, 1);
  EXPECT_EQ(Answer(answerer, Placeholder(u"B", u"filename")).GetText(), u"second");
  EXPECT_EQ(Answer(answerer, Placeholder(u"BasicInfo", u"batchindex")).GetInteger(), 2);
  answerer.BeginPass(eSummary);
  EXPECT_EQ(Answer(answerer, Placeholder(u"B", u"filename")).GetType(), CKORIControlValue::eMessage)
      << "the summary does not see measurement values";
}

TEST_F(ValueAnswerer, AMissingValueBecomesAMessageNamingThePlaceholder) {
  const auto values = ParseValues(R"({"values": []})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  CKORIControlValue first = Answer(answerer, Placeholder(u"Roughness", u"RoughnessParameter", u"Sq"));
  Answer(answerer, Placeholder(u"Roughness", u"RoughnessParameter", u"Sq"));
  EXPECT_EQ(first.GetType(), CKORIControlValue::eMessage);
  EXPECT_EQ(first.GetMessage(),
            u"[no value for Roughness/RoughnessParameter (parameter1 Sq)]");
  EXPECT_EQ(answerer.Missing(), std::vector<std::string>{"Roughness/RoughnessParameter (parameter1 Sq)"})
      << "each placeholder is listed once";
}

// A 1x1 PNG's signature and header, all a picture check reads.
const std::string kTinyPng("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xde", 33);

TEST_F(ValueAnswerer, PicturesAreHandedOverAsCopies) {
  const ScratchFolder folder;
  folder.Write("topography.png", kTinyPng);
  const auto values = ParseValues(R"({"values": [{"group": "B", "field": "MainImage", "picture": "topography.png"}]})",
                                  folder.Path());
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  CKORIControlValue first = Answer(answerer, Placeholder(u"B", u"MainImage"));
  CKORIControlValue second = Answer(answerer, Placeholder(u"B", u"MainImage"));
  ASSERT_EQ(first.GetType(), CKORIControlValue::ePicture);
  const std::filesystem::path copy = first.GetFilename().ToUtf8();
  EXPECT_EQ(copy.parent_path(), m_pictures.Folder());
  EXPECT_NE(first.GetFilename(), second.GetFilename()) << "a fresh copy for every placeholder";
  EXPECT_EQ(copy.extension(), ".png");
  std::filesystem::remove(copy);  // what a generator that moves its pictures does
  EXPECT_EQ(folder.Read("topography.png"), kTinyPng);
}

// A Word report would stop at the first such file and name only Folio's own copy of it.
TEST_F(ValueAnswerer, AFileThatIsNoPictureIsRefusedInItsPlaceUnderItsOwnName) {
  const ScratchFolder folder;
  folder.Write("notes.png", "not a picture");
  const auto values = ParseValues(R"({"values": [{"group": "B", "field": "MainImage", "picture": "notes.png"}]})",
                                  folder.Path());
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  CKORIControlValue answer = Answer(answerer, Placeholder(u"B", u"MainImage"));
  EXPECT_EQ(answer.GetType(), CKORIControlValue::eMessage);
  const std::string expected = "picture \"" + (folder.Path() / "notes.png").string() + "\" is no PNG, JPEG, GIF, BMP or TIFF picture";
  EXPECT_EQ(answer.GetMessage().ToUtf8(), "[" + expected + "]");
  EXPECT_EQ(answerer.Problems(), std::vector<std::string>{expected});
}

// Only a regular file is handed on, opened once and never through a link; a pipe is
// refused, not waited on. The copies' folder goes with the object.
TEST(PictureCopies, LinksPipesAndFoldersAreNotHandedOn) {
  const ScratchFolder folder;
  folder.Write("real.png", "picture bytes");
  std::filesystem::create_symlink(folder.Path() / "real.png", folder.Path() / "link.png");
  ::mkfifo((folder.Path() / "pipe.png").c_str(), 0600);
  std::filesystem::path copies;
  {
    CPictureCopies pictures;
    EXPECT_FALSE(pictures.Copy(folder.Path() / "link.png").has_value());
    EXPECT_FALSE(pictures.Copy(folder.Path() / "pipe.png").has_value());
    EXPECT_FALSE(pictures.Copy(folder.Path()).has_value());
    EXPECT_FALSE(pictures.Copy(folder.Path() / "missing.png").has_value());
    const auto copy = pictures.Copy(folder.Path() / "real.png");
    ASSERT_TRUE(copy.has_value());
    std::ifstream in(*copy, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "picture bytes");
    copies = pictures.Folder();
  }
  EXPECT_FALSE(std::filesystem::exists(copies));
  EXPECT_EQ(folder.Read("real.png"), "picture bytes");
}

// The scan of a template whose placeholders name these groups and fields, in order.
std::vector<SScannedPlaceholder> Scan(std::initializer_list<std::pair<const char16_t*, const char16_t*>> names) {
  std::vector<STemplatePlaceholder> read;
  for (const auto& [group, field] : names) {
    STemplatePlaceholder p;
    p.description.SetGroup(group);
    p.description.SetField(field);
    p.tag = SectionTagOf(field);
    read.push_back(p);
  }
  return ScanModel(CTemplateModel(std::move(read), {}));
}

TEST(TemplateSections, SectionTagsSplitPrefaceBodyAndSummary) {
  const auto list = Scan({{u"G", u"a"}, {u"Section", u"PrefaceEnd"}, {u"G", u"b"}, {u"Section", u"SummaryBegin"},
                          {u"G", u"c"}, {u"Section", u"SummaryBegin"}});
  const std::vector<ESection> sections = {ESection::ePreface, ESection::ePreface, ESection::eBody,
                                          ESection::eSummary, ESection::eSummary, ESection::eSummary};
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].Section(), sections[i]) << i;
  EXPECT_EQ(Scan({{u"G", u"a"}, {u"G", u"b"}})[0].Section(), ESection::eBody)
      << "without section tags everything is body";
  EXPECT_EQ(Scan({{u"G", u"a"}, {u"Section", u"SummaryBegin"}})[0].Section(), ESection::eBody);
}

TEST(TemplateSections, UnansweredBodyValuesAreFoundPerMeasurement) {
  const auto list = Scan({{u"G", u"top"}, {u"Section", u"PrefaceEnd"}, {u"G", u"each"}, {u"BasicInfo", u"date"},
                          {u"Section", u"SummaryBegin"}, {u"G", u"each"}});
  const auto values = ParseValues(R"({"values": [{"group": "G", "field": "top", "text": "t"}],
    "measurements": [{"values": [{"group": "G", "field": "each", "text": "1"}]}, {"values": []}]})");
  EXPECT_EQ(FindUnanswered(list, values), std::vector<std::string>{"G/each"})
      << "missing in the second measurement and in the summary, listed once";
}

}  // namespace
