#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "CValueAnswerer.h"
#include "ComputedValues.h"
#include "TemplateScan.h"
#include "ValuesFile.h"

namespace {

using namespace FolioCli;

SValuesFile Parse(const std::string& json, const std::filesystem::path& folder = "/nowhere") {
  return ParseValuesFile(json, folder, "v.json");
}

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

TEST(ComputedValues, DatesTimesAndNamesAreTexts) {
  const struct {
    const char16_t* field;
    const char16_t* text;
  } cases[] = {{u"date", u"2026-01-02"}, {u"dateutc", u"2026-01-01"}, {u"time", u"03:04:05"},
               {u"timeutc", u"23:04:05"}, {u"username", u"ada"},      {u"reportfilename", u"r.htm"}};
  for (const auto& c : cases) {
    CKORIControlValue record = Placeholder(u"BasicInfo", c.field);
    ASSERT_TRUE(ApplyComputedValue(SPlaceholderKey::Of(record), FixedFacts(), record));
    EXPECT_EQ(record.GetType(), CKORIControlValue::eText);
    EXPECT_EQ(record.GetText(), c.text);
  }
}

TEST(ComputedValues, BatchIndexAndCountAreIntegers) {
  SRunFacts facts = FixedFacts();
  facts.batchIndex = 2;
  CKORIControlValue index = Placeholder(u"BasicInfo", u"batchindex");
  ASSERT_TRUE(ApplyComputedValue(SPlaceholderKey::Of(index), facts, index));
  EXPECT_EQ(index.GetType(), CKORIControlValue::eInteger);
  EXPECT_EQ(index.GetInteger(), 2);
  CKORIControlValue count = Placeholder(u"BasicInfo", u"FileCount");
  ASSERT_TRUE(ApplyComputedValue(SPlaceholderKey::Of(count), facts, count));
  EXPECT_EQ(count.GetInteger(), 3);
}

TEST(ComputedValues, OnlyBasicInfoFieldsAreComputed) {
  CKORIControlValue other = Placeholder(u"Roughness", u"date");
  EXPECT_FALSE(ApplyComputedValue(SPlaceholderKey::Of(other), FixedFacts(), other));
  CKORIControlValue unknown = Placeholder(u"BasicInfo", u"filename");
  EXPECT_FALSE(ApplyComputedValue(SPlaceholderKey::Of(unknown), FixedFacts(), unknown));
  EXPECT_EQ(unknown.GetType(), CKORIControlValue::eNone);
}

TEST(ComputedValues, TheUserNameIsNeverEmpty) { EXPECT_FALSE(CurrentUserName().IsEmpty()); }

class ValueAnswerer : public testing::Test {
protected:
  CKORIControlValue Answer(CValueAnswerer& answerer, CKORIControlValue record) {
    answerer.Answer(record);
    return record;
  }
  CPictureCopies m_pictures;
};

TEST_F(ValueAnswerer, SectionTagsAnswerTheirTypesWhateverTheValues) {
  const auto values = Parse(R"({"values": [{"group": "Section", "field": "PrefaceEnd", "text": "no"}]})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  EXPECT_EQ(Answer(answerer, Placeholder(u"Section", u"PrefaceEnd")).GetType(), CKORIControlValue::ePrefaceEnd);
  EXPECT_EQ(Answer(answerer, Placeholder(u"SectionTags", u"SummaryBegin")).GetType(),
            CKORIControlValue::eSummaryBegin);
}

TEST_F(ValueAnswerer, NumbersCarryPrecisionAndUnit) {
  const auto values = Parse(R"({"values": [
    {"group": "R", "field": "P", "parameter1": "Sa", "float": 1.2345, "precision": 4, "unit": "nm"},
    {"group": "B", "field": "pixels", "integer": 512, "unit": "px"}]})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  CKORIControlValue sa = Answer(answerer, Placeholder(u"R", u"P", u"Sa"));
  EXPECT_EQ(sa.GetType(), CKORIControlValue::eFloat);
  EXPECT_EQ(sa.GetPrecision(), 4);
  EXPECT_EQ(sa.DisplayString(), u" 1.234 nm");
  EXPECT_EQ(Answer(answerer, Placeholder(u"B", u"pixels")).DisplayString(), u"512 px");
}

TEST_F(ValueAnswerer, GivenValuesWinOverComputedOnes) {
  const auto values = Parse(R"({"values": [{"group": "BasicInfo", "field": "date", "text": "yesterday"}]})");
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  EXPECT_EQ(Answer(answerer, Placeholder(u"BasicInfo", u"date")).GetText(), u"yesterday");
  EXPECT_EQ(Answer(answerer, Placeholder(u"BasicInfo", u"time")).GetText(), u"03:04:05");
}

TEST_F(ValueAnswerer, BodyPassesAnswerFromTheirMeasurementAndCountFromOne) {
  const auto values = Parse(R"({"measurements": [
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
  const auto values = Parse(R"({"values": []})");
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
  const auto folder = std::filesystem::temp_directory_path() / "folio-answerer-test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "topography.png", std::ios::binary) << kTinyPng;
  const auto values = Parse(R"({"values": [{"group": "B", "field": "MainImage", "picture": "topography.png"}]})", folder);
  {
    CPictureCopies pictures;
    CValueAnswerer answerer(values, FixedFacts(), pictures);
    CKORIControlValue first = Answer(answerer, Placeholder(u"B", u"MainImage"));
    CKORIControlValue second = Answer(answerer, Placeholder(u"B", u"MainImage"));
    ASSERT_EQ(first.GetType(), CKORIControlValue::ePicture);
    const std::filesystem::path copy = first.GetFilename().ToUtf8();
    EXPECT_NE(copy, folder / "topography.png");
    EXPECT_NE(first.GetFilename(), second.GetFilename()) << "a fresh copy for every placeholder";
    EXPECT_EQ(copy.extension(), ".png");
    std::filesystem::remove(copy);  // what a generator that moves its pictures does
    std::ifstream in(folder / "topography.png");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), kTinyPng);
    EXPECT_TRUE(std::filesystem::exists(pictures.Folder()));
  }
  EXPECT_TRUE(std::filesystem::exists(folder / "topography.png"));
  std::filesystem::remove_all(folder);
}

// A Word report would stop at the first such file and name only Folio's own copy of it.
TEST_F(ValueAnswerer, AFileThatIsNoPictureIsRefusedInItsPlaceUnderItsOwnName) {
  const auto folder = std::filesystem::temp_directory_path() / "folio-answerer-nopicture";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "notes.png") << "not a picture";
  const auto values = Parse(R"({"values": [{"group": "B", "field": "MainImage", "picture": "notes.png"}]})", folder);
  CValueAnswerer answerer(values, FixedFacts(), m_pictures);
  CKORIControlValue answer = Answer(answerer, Placeholder(u"B", u"MainImage"));
  EXPECT_EQ(answer.GetType(), CKORIControlValue::eMessage);
  const std::string expected = "picture \"" + (folder / "notes.png").string() + "\" is no PNG, JPEG, GIF, BMP or TIFF picture";
  EXPECT_EQ(answer.GetMessage().ToUtf8(), "[" + expected + "]");
  EXPECT_EQ(answerer.Problems(), std::vector<std::string>{expected});
  std::filesystem::remove_all(folder);
}

// Only a regular file is handed on, opened once and never through a link; a pipe is
// refused, not waited on.
TEST(PictureCopies, LinksPipesAndFoldersAreNotHandedOn) {
  const auto folder = std::filesystem::temp_directory_path() / "folio-copies-kinds";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "real.png") << "picture bytes";
  std::filesystem::create_symlink(folder / "real.png", folder / "link.png");
  ::mkfifo((folder / "pipe.png").c_str(), 0600);
  {
    CPictureCopies pictures;
    EXPECT_FALSE(pictures.Copy(folder / "link.png").has_value());
    EXPECT_FALSE(pictures.Copy(folder / "pipe.png").has_value());
    EXPECT_FALSE(pictures.Copy(folder).has_value());
    const auto copy = pictures.Copy(folder / "real.png");
    ASSERT_TRUE(copy.has_value());
    std::ifstream in(*copy);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "picture bytes");
  }
  EXPECT_TRUE(std::filesystem::exists(folder / "real.png"));
  std::filesystem::remove_all(folder);
}

TEST(PictureCopies, TheFolderGoesWithTheObject) {
  const auto original = std::filesystem::temp_directory_path() / "folio-copies-test.png";
  std::ofstream(original) << "x";
  std::filesystem::path folder;
  {
    CPictureCopies pictures;
    ASSERT_TRUE(pictures.Copy(original));
    folder = pictures.Folder();
    EXPECT_FALSE(pictures.Copy(original.string() + ".missing").has_value());
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
  std::filesystem::remove(original);
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
  const auto values = Parse(R"({"values": [{"group": "G", "field": "top", "text": "t"}],
    "measurements": [{"values": [{"group": "G", "field": "each", "text": "1"}]}, {"values": []}]})");
  EXPECT_EQ(FindUnanswered(list, values), std::vector<std::string>{"G/each"})
      << "missing in the second measurement and in the summary, listed once";
}

}  // namespace
