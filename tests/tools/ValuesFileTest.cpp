#include <gtest/gtest.h>

#include "ValuesFileParsing.h"
#include "util/ScratchFolder.h"

namespace {

using FolioCli::EValuesFile;

TEST(ValuesFileEntries, EveryValueTypeIsRead) {
  const auto file = ParseValues(R"({"values": [
    {"group": "G", "field": "text", "text": "two\nlines"},
    {"group": "G", "field": "int", "integer": -42, "unit": "px"},
    {"group": "G", "field": "float", "float": 1.25, "precision": 4, "unit": "nm"},
    {"group": "G", "field": "char", "char": "µ"},
    {"group": "G", "field": "message", "message": "check"},
    {"group": "G", "field": "none", "none": true}]})");
  ASSERT_EQ(file.values.size(), 6u);
  EXPECT_EQ(file.values[0].type, CKORIControlValue::eText);
  EXPECT_EQ(file.values[0].text, u"two\nlines");
  EXPECT_EQ(file.values[1].type, CKORIControlValue::eInteger);
  EXPECT_EQ(file.values[1].integer, -42);
  EXPECT_EQ(file.values[1].unit, u"px");
  EXPECT_EQ(file.values[2].type, CKORIControlValue::eFloat);
  EXPECT_DOUBLE_EQ(file.values[2].number, 1.25);
  EXPECT_EQ(file.values[2].precision, 4);
  EXPECT_EQ(file.values[3].character, u'µ');
  EXPECT_EQ(file.values[4].type, CKORIControlValue::eMessage);
  EXPECT_EQ(file.values[4].text, u"check");
  EXPECT_EQ(file.values[5].type, CKORIControlValue::eNone);
  EXPECT_EQ(file.BodyPassCount(), 1u) << "without measurements, one body pass";
}

TEST(ValuesFileEntries, OnlyGivenNamesAreKept) {
  const auto file = ParseValues(R"({"values": [{"group": "R", "field": "F", "parameter1": "Sa", "statistics2": "Mean", "float": 1}]})");
  const auto& entry = file.values[0];
  EXPECT_EQ(entry.parameter1, CStr(u"Sa"));
  EXPECT_FALSE(entry.parameter2.has_value());
  EXPECT_FALSE(entry.statistics1.has_value());
  EXPECT_EQ(entry.statistics2, CStr(u"Mean"));
  EXPECT_EQ(entry.NamedCount(), 2);
  EXPECT_EQ(entry.precision, 3) << "a float without precision gets the default";
}

TEST(ValuesFileEntries, PicturesOutsideTheValuesFolderAreRefusedUnlessTheUserNamesTheirFolder) {
  const ScratchFolder scratch;
  const std::filesystem::path root = scratch.Path();
  scratch.Write("private/key.png", "secret");
  scratch.Write("run/inside.png", "png");
  std::filesystem::create_symlink(root / "private" / "key.png", root / "run" / "link.png");
  // The picture's path as read, or the fault.
  const auto parse = [&](const std::string& picture, std::vector<std::filesystem::path> allowed = {}) {
    try {
      const auto file = FolioCli::ParseValuesFile(
          R"({"values": [{"group": "G", "field": "p", "picture": ")" + picture + R"("}]})", root / "run", "v.json", allowed);
      EXPECT_EQ(file.values[0].type, CKORIControlValue::ePicture);
      return file.values[0].picture.string();
    } catch (const EValuesFile& e) {
      return std::string(e.what());
    }
  };
  const std::string inside = (root / "run" / "inside.png").string();
  EXPECT_EQ(parse("inside.png"), inside);
  EXPECT_EQ(parse("../run/inside.png"), inside);
  EXPECT_EQ(parse(inside), inside);
  for (const std::string& outside : {std::string("../private/key.png"), (root / "private" / "key.png").string(),
                                     std::string("link.png")}) {
    const std::string error = parse(outside);
    EXPECT_NE(error.find("lies outside the values file's folder"), std::string::npos) << outside << ": " << error;
    EXPECT_NE(error.find("--picture-folder"), std::string::npos) << error;
  }
  EXPECT_EQ(parse((root / "private" / "key.png").string(), {root / "private"}), (root / "private" / "key.png").string());
  EXPECT_NE(parse("link.png", {root / "private"}).find("key.png"), std::string::npos);
}

struct SBadFile {
  const char* json;
  const char* expected;  // part of the message
};

class ValuesFileErrors : public testing::TestWithParam<SBadFile> {};

TEST_P(ValuesFileErrors, NameTheEntryAndTheFault) {
  const std::string error = ValuesErrorOf(GetParam().json);
  EXPECT_NE(error.find(GetParam().expected), std::string::npos) << error;
  EXPECT_EQ(error.rfind("v.json", 0), 0u) << "names the file first: " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValuesFileErrors,
    testing::Values(
        SBadFile{"{", "not valid JSON"},
        SBadFile{"3E666", "not valid JSON"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "float": -1e400}]})", "not valid JSON"},
        SBadFile{"[]", "expected an object"},
        SBadFile{R"({"valeurs": []})", "unknown key \"valeurs\""},
        SBadFile{R"({"values": [{"field": "f", "text": "t"}]})", "values[0]: \"group\" is missing"},
        SBadFile{R"({"values": [{"group": 1, "field": "f", "text": "t"}]})", "\"group\" must be a text"},
        SBadFile{R"({"values": [{"group": "g", "field": "f"}]})", "give exactly one of"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "text": "t", "integer": 1}]})", "give exactly one of"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "txt": "t"}]})", "unknown key \"txt\""},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "char": "ab"}]})", "one character"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "text": "t", "unit": "nm"}]})", "\"unit\" goes with"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "integer": 1, "precision": 2}]})", "\"precision\" goes with"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "integer": 2147483648}]})", "out of range"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "integer": 1.5}]})", "whole number"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "none": false}]})", "\"none\" must be true"},
        SBadFile{R"({"values": [{"group": "g", "field": "f", "picture": "missing.png"}]})", "does not exist"},
        SBadFile{R"({"measurements": [{"vals": []}]})", "measurements[0]"},
        SBadFile{R"({"measurements": [{"values": [{"group": "g", "field": "f", "float": "1"}]}]})",
                 "measurements[0].values[0]: \"float\" must be a number"}));

}  // namespace
