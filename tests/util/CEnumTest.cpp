#include <gtest/gtest.h>

#include "folio/util/CEnum.h"
#include "folio/util/StringTable.h"

namespace {

TEST(CEnumLookup, ByValueFirstMatchElseDefaultName) {
  CEnum table(2, u"Fallback");
  table.Add(0, u"XAxis", u"X");
  table.Add(1, u"YAxis");
  table.Add(1, u"Shadowed");
  EXPECT_EQ(table.GetName(1), CStr(u"YAxis"));
  EXPECT_EQ(table.GetName(7), CStr(u"Fallback"));
  EXPECT_EQ(table.GetDisplayName(0), CStr(u"X"));
}

TEST(CEnumLookup, ByNameIsExactAndCaseSensitive) {
  CEnum table(3);
  table.Add(5, u"Sz");
  table.Add(6, u"Sz");
  EXPECT_EQ(table.FindValue(u"Sz"), 5);
  EXPECT_FALSE(table.FindValue(u"sz").has_value());
  EXPECT_FALSE(table.FindValue(u" Sz").has_value());
  EXPECT_EQ(table.GetValue(u"nothing"), 3);
}

TEST(StringTableLookup, LibraryTextsHostOverridesAndMissingNumbers) {
  EXPECT_EQ(LoadResourceString(eStrMissingBitmapFileName), CStr(u"ERROR: Missing bitmap file name."));
  EXPECT_EQ(LoadResourceString(49027), CStr(u"Could not find HTML body end tag (\"</body>\")"));
  EXPECT_TRUE(LoadResourceString(49005).IsEmpty());
  EXPECT_TRUE(LoadResourceString(0).IsEmpty());
  SetHostStringLoader([](unsigned id) -> std::optional<CStr> {
    if (id == 49029) return CStr(u"Textverarbeitung");
    return std::nullopt;
  });
  EXPECT_EQ(LoadResourceString(49029), CStr(u"Textverarbeitung"));
  EXPECT_EQ(LoadResourceString(49030), CStr(u"HTML"));
  SetHostStringLoader({});
  EXPECT_EQ(LoadResourceString(49029), CStr(u"Word"));
}

}  // namespace
