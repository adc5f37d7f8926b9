// A values file is checked in one streamed pass and its measurements are read again,
// each from its own span of the text, when a pass asks for them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "ValuesFileParsing.h"
#include "ValuesReader.h"

namespace {

using FolioCli::EJsonParser;
using FolioCli::EValuesFile;
using FolioCli::SValuesFile;

// "text" of each entry of measurement k, joined by '|'.
std::string Texts(const SValuesFile& file, std::size_t k) {
  std::string joined;
  for (const auto& entry : file.Measurement(k)) joined += (joined.empty() ? "" : "|") + entry.text.ToUtf8();
  return joined;
}

// Spans end where the parser stood: after a number it has read one character ahead, and
// braces inside strings or comments are no boundaries.
TEST(ValuesStream, EachMeasurementIsReadAgainWhole) {
  const auto file = ParseValues(R"({"measurements": [
    {"values": [{"group": "G", "field": "n", "integer": 5}, {"group": "G", "field": "t", "text": "a}b{c"}]},
    {"comment": {"nested": [{"values": []}, "}"]}, "values": [{"text": "\"}]", "field": "t", "group": "G"}]},
    {"values":[{"group":"G","field":"f","float":2.5e1,"precision":2}],"comment":7},
    {"values": []},
    {"values": [{"group": "G", "field": "t", "text": "µ – ✓"}]}
  ], "values": [{"group": "G", "field": "top", "text": "top"}]})");
  ASSERT_EQ(file.MeasurementCount(), 5u);
  const auto first = file.Measurement(0);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].integer, 5);
  EXPECT_EQ(first[1].text, u"a}b{c");
  EXPECT_EQ(Texts(file, 1), "\"}]");
  const auto third = file.Measurement(2);
  ASSERT_EQ(third.size(), 1u);
  EXPECT_DOUBLE_EQ(third[0].number, 25.0);
  EXPECT_EQ(third[0].precision, 2);
  EXPECT_EQ(third[0].Where(), "measurements[2].values[0]");
  EXPECT_TRUE(file.Measurement(3).empty());
  EXPECT_EQ(Texts(file, 4), "µ – ✓");
  ASSERT_EQ(file.values.size(), 1u);
  EXPECT_EQ(file.values[0].Where(), "values[0]");
}

TEST(ValuesStream, AFaultInTheLastMeasurementRefusesTheWholeFile) {
  std::string json = R"({"measurements": [)";
  for (int k = 0; k < 500; ++k) json += R"({"values": [{"group": "G", "field": "f", "text": "ok"}]},)";
  json += R"({"values": [{"group": "G", "field": "f", "integer": 1.5}]}]})";
  EXPECT_EQ(ValuesErrorOf(json), "v.json: measurements[500].values[0]: \"integer\" must be a whole number");
}

// The fault told does not depend on where in the text a key stands: keys are taken in
// byte order, a key given twice counts with its last value, and a syntax error anywhere
// comes before any other fault.
TEST(ValuesStream, FaultsAreToldAsIfTheFileWereReadKeyByKey) {
  const std::string badValues = R"("values": [{"group": 1, "field": "f", "text": "t"}])";
  const std::string badMeasurements = R"("measurements": [{"values": 3}])";
  EXPECT_EQ(ValuesErrorOf("{" + badValues + ", " + badMeasurements + "}"),
            "v.json: measurements[0].values: expected a list of entries");
  EXPECT_EQ(ValuesErrorOf("{" + badMeasurements + ", " + badValues + "}"),
            "v.json: measurements[0].values: expected a list of entries");
  EXPECT_EQ(ValuesErrorOf(R"({"zzz": 1, )" + badValues + "}"), "v.json: values[0]: \"group\" must be a text");
  EXPECT_EQ(ValuesErrorOf("{" + badValues + R"(, "aaa": 1, "abc": 2})"), "v.json: top level: unknown key \"aaa\"");
  EXPECT_EQ(ValuesErrorOf("{" + badValues + R"(, "values": []})"), "(no error)");
  EXPECT_EQ(ValuesErrorOf(R"({"values": [], "values": 2})"), "v.json: values: expected a list of entries");
  EXPECT_EQ(ValuesErrorOf("{" + badValues + ", ").rfind("v.json: not valid JSON (", 0), 0u);
  EXPECT_EQ(ValuesErrorOf(R"({"values": [{"group": 1, "group": "g", "field": "f", "text": "t"}]})"), "(no error)");
  EXPECT_EQ(ValuesErrorOf(R"({"values": [{"zz": 1, "group": "g", "field": "f", "text": "t", "ab": [1]}]})"),
            "v.json: values[0]: unknown key \"ab\"");
  // Inside a measurement: no "values", then unknown keys, then its entries.
  EXPECT_EQ(ValuesErrorOf(R"({"measurements": [{"values": [{"group": 1}], "extra": 1}]})"),
            "v.json: measurements[0]: unknown key \"extra\"");
  EXPECT_EQ(ValuesErrorOf(R"({"measurements": [{"values": [], "comment": "x"}, {"comment": "no values"}]})"),
            "v.json: measurements[1]: expected an object with \"values\"");
  EXPECT_EQ(ValuesErrorOf(R"({"measurements": [{"values": []}, 7, {"vals": 1}]})"),
            "v.json: measurements[1]: expected an object with \"values\"");
  EXPECT_EQ(ValuesErrorOf(R"({"values": [{"group": "g", "field": "f", "text": "t"}, [], {"group": 1}]})"),
            "v.json: values[1]: expected an object with \"group\" and \"field\"");
}

// Whatever the reader does not look at is skipped by depth: deep nesting costs a counter,
// not the stack, and huge or numerous entries cost their size.
TEST(ValuesStream, HostileShapesCostTheirSize) {
  const std::size_t depth = 200000;
  const std::string deep = std::string(depth, '[') + std::string(depth, ']');
  const auto file = ParseValues(R"({"comment": )" + deep + R"(, "measurements": [{"values": [{"group": "G", "field": "f",
    "text": "t", "comment": )" + deep + R"(}]}]})");
  EXPECT_EQ(Texts(file, 0), "t");
  EXPECT_EQ(ValuesErrorOf(R"({"comment": )" + std::string(depth, '[')).rfind("v.json: not valid JSON", 0), 0u);
  EXPECT_EQ(ValuesErrorOf(R"({"values": [{"group": "g", "field": "f", "integer": )" + deep + "}]}"),
            "v.json: values[0]: \"integer\" must be a whole number");

  const std::string huge(4 << 20, 'x');
  EXPECT_EQ(ParseValues(R"({"values": [{"group": "g", "field": "f", "text": ")" + huge + R"("}]})").values[0].text.GetLength(),
            huge.size());
  std::string many = R"({"measurements": [)";
  for (int k = 0; k < 100000; ++k) many += R"({"values":[]},)";
  many += R"({"values":[]}]})";
  const auto manyFile = ParseValues(many);
  EXPECT_EQ(manyFile.MeasurementCount(), 100001u);
  EXPECT_TRUE(manyFile.Measurement(100000).empty());
}

// Everything a read gives, as text: the entries of every list, or the fault.
std::string Outcome(const std::string& json, EJsonParser parser) {
  FolioCli::SMeasurementsText file;
  file.place = {"v.json", "/nowhere", {"/nowhere"}};
  file.text = json;
  std::ostringstream out;
  const auto write = [&out](const FolioCli::ValueList& list) {
    for (const auto& e : list) {
      out << e.Where() << " " << e.type << " " << e.group.ToUtf8() << "/" << e.field.ToUtf8();
      for (const auto* name : {&e.parameter1, &e.parameter2, &e.statistics1, &e.statistics2})
        out << "/" << (*name ? (*name)->ToUtf8() : "-");
      std::uint64_t bits = 0;
      std::memcpy(&bits, &e.number, sizeof bits);
      out << " " << e.text.ToUtf8() << " " << e.integer << " " << bits << " " << e.precision << " "
          << e.unit.ToUtf8() << " " << int(e.character) << "\n";
    }
  };
  try {
    write(FolioCli::ReadValuesText(file, parser));
    for (std::size_t k = 0; k < file.spans.size(); ++k) write(FolioCli::ReadMeasurementText(file, k, parser));
  } catch (const EValuesFile& e) {
    return e.what();
  }
  return out.str();
}

// The fast parser must take exactly what the exact one takes and give the same values;
// where it refuses, the exact one reads the file again and tells the fault in its words.
TEST(ValuesStream, TheFastParserAgreesWithTheExactOne) {
  const std::string entry = R"({"group": "G", "field": "f", )";
  std::vector<std::string> texts = {
      "", " ", "3", "null", "\"x\"", "[]", "{}", "\xEF\xBB\xBF{\"values\": []}", "{\"values\": []} x",
      std::string("{\"values\": []}\0 ", 16), std::string("{\"values\": [\0]}", 15), "{\"values\": [],}",
      "{\"values\": [1,]}", "{\"values\": [] /* no */}", "{'values': []}", "{\"values\": [NaN]}",
      "{\"values\":\f[]}"};
  for (const char* text : {"\\uDC00", "\\uD800", "\\uD800x", "\\uD83D\\uDE00", "\\u0000", "\xC0\xAF", "\xED\xA0\x80",
                           "\xF4\x90\x80\x80", "\xE2\x82", "\xE2\x82\xAC", "\\q", "\t", "a\\/b"}) {
    texts.push_back(R"({"values": [)" + entry + R"("text": ")" + text + R"("}]})");
    texts.push_back(R"({"measurements": [{"values": [{")" + std::string(text) + R"(": 1}]}]})");
  }
  for (const char* number : {"1e400", "-1e400", "1e-400", "18446744073709551615", "18446744073709551616",
                             "-9223372036854775808", "-9223372036854775809", "0.1", "1.7976931348623157e308",
                             "2.2250738585072014e-308", "5e-324", "123456789012345678901234567890", "-0", "-0.0",
                             "1E2", "1e+2", "01", "1.", ".5", "+1", "2147483647", "2147483648", "-2147483649",
                             "0.30000000000000004", "9007199254740993", "1.00000000000000011102230246251565404", "0e169",
                             "-0e-400", "4.9406564584124654e-324", "2.4703282292062328e-324"}) {
    texts.push_back(R"({"values": [)" + entry + R"("float": )" + number + "}]}");
    texts.push_back(R"({"measurements": [{"values": [)" + entry + R"("integer": )" + number + "}]}]}");
  }
  for (const std::string& text : texts)
    EXPECT_EQ(Outcome(text, EJsonParser::eFast), Outcome(text, EJsonParser::eExact)) << text;

  // Damaged copies of a file of every shape.
  const std::string whole = R"({"comment": "all", "values": [)" + entry + R"("text": "a\"b"},
    {"group": "G", "field": "i", "integer": -7, "unit": "nm", "comment": [1, {"x": null}]}],
    "measurements": [{"values": [)" + entry + R"("float": 2.5, "precision": 2}, )" + entry +
                            R"("char": "\u00b5"}]}, {"values": [)" + entry + R"("none": true}]}]})";
  static const char kDamage[] = "{}[],:\"\\ 0e-.tnu\x80\xff";
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string damaged = whole;
    for (int n = 1 + random() % 3; n > 0; --n) {
      const std::size_t at = random() % damaged.size();
      switch (random() % 3) {
        case 0: damaged[at] = kDamage[random() % (sizeof kDamage - 1)]; break;
        case 1: damaged.erase(at, 1 + random() % 4); break;
        default: damaged.insert(at, damaged.substr(random() % damaged.size(), 1 + random() % 8)); break;
      }
    }
    ASSERT_EQ(Outcome(damaged, EJsonParser::eFast), Outcome(damaged, EJsonParser::eExact)) << damaged;
  }
}

}  // namespace
