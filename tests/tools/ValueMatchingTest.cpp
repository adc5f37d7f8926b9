#include <gtest/gtest.h>

#include <random>

#include "ValueMatching.h"
#include "ValuesFileParsing.h"

namespace {

using namespace FolioCli;

SPlaceholderKey Key(const char16_t* group, const char16_t* field, const char16_t* parameter1 = u"None",
                    const char16_t* statistics2 = u"None") {
  return {group, field, parameter1, u"None", u"None", statistics2};
}

// Group and field must be equal, as must every name an entry gives; the entry naming
// most wins, the first a tie; a body pass looks in its measurement first, and only
// then at the top-level values, however much more specific they are.
TEST(ValueMatching, TheEntryNamingMostWinsAndTheMeasurementComesFirst) {
  const auto file = ParseValues(R"({"values": [
    {"group": "R", "field": "F", "text": "plain"},
    {"group": "R", "field": "F", "parameter1": "Sa", "text": "Sa"},
    {"group": "R", "field": "F", "parameter1": "Sa", "statistics2": "Mean", "text": "mean Sa"},
    {"group": "R", "field": "F", "statistics2": "Max", "text": "by statistic"},
    {"group": "R", "field": "F", "parameter1": "Sa", "text": "later duplicate"},
    {"group": "G", "field": "a", "text": "top a"}, {"group": "G", "field": "b", "text": "top b"}],
    "measurements": [{"values": [{"group": "G", "field": "a", "text": "m0 a"}, {"group": "R", "field": "F", "text": "m0"}]},
                     {"values": [{"group": "G", "field": "b", "text": "m1 b"}]}]})");
  const struct {
    SPlaceholderKey key;
    std::optional<std::size_t> measurement;
    const char* found;
  } cases[] = {
      {Key(u"R", u"F"), std::nullopt, "values[0]"},
      {Key(u"R", u"f"), std::nullopt, "none"},
      {Key(u"r", u"F"), std::nullopt, "none"},
      {Key(u"R", u"F", u"Sq"), std::nullopt, "values[0]"},
      {Key(u"R", u"F", u"Sa", u"Mean"), std::nullopt, "values[2]"},
      {Key(u"R", u"F", u"Sa"), std::nullopt, "values[1]"},
      {Key(u"R", u"F", u"Sq", u"Mean"), std::nullopt, "values[0]"},
      {Key(u"R", u"F", u"Sa", u"Max"), std::nullopt, "values[1]"},
      {Key(u"G", u"a"), 0, "measurements[0].values[0]"},
      {Key(u"G", u"b"), 0, "values[6]"},
      {Key(u"G", u"a"), 1, "values[5]"},
      {Key(u"G", u"b"), 1, "measurements[1].values[0]"},
      {Key(u"G", u"a"), std::nullopt, "values[5]"},
      {Key(u"R", u"F", u"Sa", u"Mean"), 0, "measurements[0].values[1]"}};
  for (const auto& c : cases) {
    const ValueList list = c.measurement ? file.Measurement(*c.measurement) : ValueList();
    const SValueEntry* entry = FindValue(file.values, c.measurement ? &list : nullptr, c.key);
    EXPECT_EQ(entry ? entry->Where() : "none", c.found) << c.key.Describe() << " in measurement "
                                                        << (c.measurement ? int(*c.measurement) : -1);
  }
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
