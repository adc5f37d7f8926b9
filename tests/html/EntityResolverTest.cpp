#include <gtest/gtest.h>

#include "html/CCharEntityTable.h"
#include "folio/util/CStr.h"
#include "html/CHTMLEntityResolver.h"

namespace {

// The code unit text resolves to, or -1 when it is no reference.
int Resolve(std::u16string_view text, size_t* consumed = nullptr) {
  char16_t unit = 0;
  const size_t n = CHTMLEntityResolver::ResolveEntity(text, unit);
  if (consumed) *consumed = n;
  return n ? unit : -1;
}

// The table's names are matched exactly; the resolver below reads them in any case.
TEST(HTMLEntityTable, HoldsTheMarkupAndLatin1NamesExactly) {
  const CCharEntityTable& table = CCharEntityTable::Get();
  EXPECT_EQ(table.GetCount(), 101u);
  char16_t unit = 0;
  EXPECT_TRUE(table.Lookup(u"yuml", unit));
  EXPECT_EQ(unit, 255);
  EXPECT_FALSE(table.Lookup(u"curren", unit));
  EXPECT_FALSE(table.Lookup(u"AMP", unit));
}

TEST(HTMLEntityResolver, NamesMatchInAnyCaseWithTheFirstLetterChoosing) {
  struct SCase { std::u16string_view text; int unit; };
  const SCase cases[] = {
      {u"&AGRAVE;", 0xC0}, {u"&Agrave;", 0xC0}, {u"&agrave;", 0xE0}, {u"&aGRAVE;", 0xE0},
      {u"&oslash;", 0xF8}, {u"&OSLASH;", 0xD8}, {u"&THORN;", 0xDE}, {u"&Thorn;", 0xDE},
      {u"&tHORN;", 0xFE},  {u"&ETH;", 0xD0},    {u"&eTH;", 0xF0},    {u"&AELIG;", 0xC6},
      {u"&Aelig;", 0xC6},  {u"&aELIG;", 0xE6},  {u"&CCEDIL;", 0xC7}, {u"&Uuml;", 0xDC},
      {u"&UML;", 0xA8},    {u"&Acute;", 0xB4},  {u"&AMP;", 38},      {u"&Nbsp;", 0xA0},
      {u"&current;", 0xA4}, {u"&COPY;", 0xA9},  {u"&curren;", -1},   {u"&x;", -1},
      {u"&quot;", 34},     {u"&apos;", 39},     {u"&lt;", 60},       {u"&gt;", 62},
      {u"&iquest;", 191},  {u"&times;", 215},   {u"&divide;", 247},  {u"&szlig;", 223},
      {u"&Yuml;", -1},     {u"&nosuchname;", -1}, {u"&;", -1},       {u"&ab", -1},
  };
  for (const SCase& c : cases) EXPECT_EQ(Resolve(c.text), c.unit) << CStr(c.text).ToUtf8();
}

TEST(HTMLEntityResolver, NumbersKeepTheirLowSixteenBits) {
  struct SCase { std::u16string_view text; int unit; size_t consumed; };
  const SCase cases[] = {
      {u"&#65;", 'A', 5},         {u"&#x41;", 'A', 6},        {u"&#X41;", 'A', 6},
      {u"&#65abc;x", 'A', 8},     {u"&#x4g1;", 4, 7},         {u"&#99999999999;", 0xE7FF, 14},
      {u"&#x10041;", 'A', 9},     {u"&#0;", 0, 4},            {u"&#x;", 0, 4},
      {u"&#xD800;", 0xD800, 8},   {u"&#;", -1, 0},            {u"&#a1;", -1, 0},
      {u" \t&#65;", 'A', 7},      {u"x&#65;", -1, 0},
  };
  for (const SCase& c : cases) {
    size_t consumed = 0;
    EXPECT_EQ(Resolve(c.text, &consumed), c.unit) << CStr(c.text).ToUtf8();
    EXPECT_EQ(consumed, c.consumed) << CStr(c.text).ToUtf8();
  }
}

TEST(HTMLEntityResolver, TheFirstSemicolonEndsTheReference) {
  size_t consumed = 0;
  EXPECT_EQ(Resolve(u"&amp x;", &consumed), -1);
  EXPECT_EQ(Resolve(u"&amp;lt;", &consumed), '&');
  EXPECT_EQ(consumed, 5u);
  // A semicolon before the "&" leaves nothing to resolve.
  EXPECT_EQ(Resolve(u" ;&amp;"), -1);
}

}  // namespace
