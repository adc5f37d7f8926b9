#include <gtest/gtest.h>

#include <random>

#include "ValueMatching.h"
#include "ValuesFile.h"

namespace {

using namespace FolioCli;

SValuesFile Parse(const std::string& json) { return ParseValuesFile(json, "/nowhere", "v.json"); }

SPlaceholderKey Key(const char16_t* group, const char16_t* field, const char16_t* parameter1 = u"None",
                    const char16_t* statistics2 = u"None") {
  return {group, field, parameter1, u"None", u"None", statistics2};
}

std::string Found(const SValuesFile& file, const SPlaceholderKey& key, std::optional<std::size_t> measurement) {
  const ValueList list = measurement ? file.Measurement(*measurement) : ValueList();
  const SValueEntry* entry = FindValue(file.values, measurement ? &list : nullptr, key);
  return entry ? entry->Where() : "none";
}

TEST(ValueMatching, GroupAndFieldMustBeEqual) {
  const auto file = Parse(R"({"values": [{"group": "R", "field": "F", "text": "x"}]})");
  EXPECT_EQ(Found(file, Key(u"R", u"F"), std::nullopt), "values[0]");
  EXPECT_EQ(Found(file, Key(u"R", u"f"), std::nullopt), "none") << "field compared exactly";
  EXPECT_EQ(Found(file, Key(u"r", u"F"), std::nullopt), "none") << "group compared exactly";
}

TEST(ValueMatching, EveryGivenNameMustBeEqual) {
  const auto file = Parse(R"({"values": [{"group": "R", "field": "F", "parameter1": "Sa", "text": "x"}]})");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sa"), std::nullopt), "values[0]");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sq"), std::nullopt), "none");
}

TEST(ValueMatching, TheEntryNamingMostWins) {
  const auto file = Parse(R"({"values": [
    {"group": "R", "field": "F", "text": "plain"},
    {"group": "R", "field": "F", "parameter1": "Sa", "text": "Sa"},
    {"group": "R", "field": "F", "parameter1": "Sa", "statistics2": "Mean", "text": "mean Sa"}]})");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sa", u"Mean"), std::nullopt), "values[2]");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sa"), std::nullopt), "values[1]") << "statistics2 None is not Mean";
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sq", u"Mean"), std::nullopt), "values[0]");
}

TEST(ValueMatching, TheFirstWinsATie) {
  const auto file = Parse(R"({"values": [
    {"group": "R", "field": "F", "parameter1": "Sa", "text": "by parameter"},
    {"group": "R", "field": "F", "statistics2": "Mean", "text": "by statistic"},
    {"group": "R", "field": "F", "parameter1": "Sa", "text": "later duplicate"}]})");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sa", u"Mean"), std::nullopt), "values[0]");
}

TEST(ValueMatching, BodyPassesLookInTheirMeasurementFirst) {
  const auto file = Parse(R"({
    "values": [{"group": "G", "field": "a", "text": "top a"}, {"group": "G", "field": "b", "text": "top b"}],
    "measurements": [{"values": [{"group": "G", "field": "a", "text": "m0 a"}]},
                     {"values": [{"group": "G", "field": "b", "text": "m1 b"}]}]})");
  EXPECT_EQ(Found(file, Key(u"G", u"a"), 0), "measurements[0].values[0]");
  EXPECT_EQ(Found(file, Key(u"G", u"b"), 0), "values[1]") << "falls back to the top-level values";
  EXPECT_EQ(Found(file, Key(u"G", u"a"), 1), "values[0]");
  EXPECT_EQ(Found(file, Key(u"G", u"b"), 1), "measurements[1].values[0]");
  EXPECT_EQ(Found(file, Key(u"G", u"a"), std::nullopt), "values[0]") << "preface and summary use the top level";
}

TEST(ValueMatching, AMoreSpecificTopLevelEntryDoesNotBeatTheMeasurement) {
  const auto file = Parse(R"({
    "values": [{"group": "R", "field": "F", "parameter1": "Sa", "statistics2": "None", "text": "top"}],
    "measurements": [{"values": [{"group": "R", "field": "F", "text": "measurement"}]}]})");
  EXPECT_EQ(Found(file, Key(u"R", u"F", u"Sa"), 0), "measurements[0].values[0]");
}

// The index must agree with the plain search on every key, ties and fall-backs included:
// random files over a small alphabet make many entries share group, field and names.
TEST(ValueIndex, AgreesWithThePlainSearch) {
  std::mt19937 random(12);
  const char16_t* const names[] = {u"a", u"b", u"None", u""};
  const auto pick = [&](int n) { return names[random() % n]; };
  const auto randomList = [&](std::size_t size) {
    ValueList list;
    for (std::size_t i = 0; i < size; ++i) {
      SValueEntry entry;
      entry.group = pick(2);
      entry.field = pick(2);
      for (std::optional<CStr>* name : {&entry.parameter1, &entry.parameter2, &entry.statistics1, &entry.statistics2})
        if (random() % 2) *name = CStr(pick(4));
      entry.position = i;
      list.push_back(entry);
    }
    return list;
  };
  for (int round = 0; round < 40; ++round) {
    const ValueList list = randomList(random() % 40);
    const CValueIndex index(list);
    for (int k = 0; k < 300; ++k) {
      const SPlaceholderKey key{pick(3), pick(3), pick(4), pick(4), pick(4), pick(4)};
      ASSERT_EQ(index.Find(key), FindBestMatch(list, key)) << key.Describe() << " in round " << round;
    }
  }
}

TEST(PlaceholderDescription, NamesOnlyWhatSaysMoreThanTheDefaults) {
  EXPECT_EQ(Key(u"BasicInfo", u"date").Describe(), "BasicInfo/date");
  EXPECT_EQ(Key(u"R", u"RoughnessParameter", u"Sa", u"Mean").Describe(),
            "R/RoughnessParameter (parameter1 Sa, statistics2 Mean)");
}

}  // namespace
