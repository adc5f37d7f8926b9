#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "folio/model/CKORIControlValue.h"

namespace {

struct SFormatCase {
  double value;
  int precision;
  const char16_t* expected;
};

// Both sides of every bound of every precision, plus the G formats beyond the last
// bound, negative values, out-of-table precisions (9 acts as 8, negatives as 6) and
// whole numbers, which below 32767 print without decimals.
// Expected texts come from an independent printf implementation.
constexpr SFormatCase kFormatCases[] = {
      {0.09999997000000001, 1, u"0.1"},
      {0.10000003, 1, u"0.1"},
      {0.75, 1, u"0.8"},
      {1.25, 1, u"  1"},
      {999.75, 1, u"1000"},
      {1000.25, 1, u"1000"},
      {9999.75, 1, u"10000"},
      {10000.25, 1, u"10000"},
      {99999.75, 1, u"100000"},
      {100000.25, 1, u"1E+5"},
      {12345600.0, 1, u"1E+7"},
      {-1234.56789, 1, u"-1235"},
      {0.09999997000000001, 2, u"0.1"},
      {0.10000003, 2, u"0.10"},
      {0.75, 2, u"0.75"},
      {1.25, 2, u" 1.2"},
      {9.75, 2, u" 9.8"},
      {10.25, 2, u"  10"},
      {9999.75, 2, u"10000"},
      {10000.25, 2, u"10000"},
      {99999.75, 2, u"100000"},
      {100000.25, 2, u"1E+5"},
      {12345600.0, 2, u"1.2E+7"},
      {0.09999997000000001, 3, u"0.1"},
      {0.10000003, 3, u"0.100"},
      {0.75, 3, u"0.750"},
      {1.25, 3, u" 1.25"},
      {9.75, 3, u" 9.75"},
      {10.25, 3, u" 10.2"},
      {99.75, 3, u" 99.8"},
      {100.25, 3, u"  100"},
      {99999.75, 3, u"100000"},
      {100000.25, 3, u"1E+5"},
      {12345600.0, 3, u"1.23E+7"},
      {0.09999997000000001, 4, u"0.1"},
      {0.10000003, 4, u"0.1000"},
      {0.75, 4, u"0.7500"},
      {1.25, 4, u" 1.250"},
      {9.75, 4, u" 9.750"},
      {10.25, 4, u" 10.25"},
      {99.75, 4, u" 99.75"},
      {100.25, 4, u" 100.2"},
      {999.75, 4, u" 999.8"},
      {1000.25, 4, u"  1000"},
      {9999.75, 4, u" 10000"},
      {10000.25, 4, u"1E+4"},
      {1234560.0, 4, u"1.235E+6"},
      {0.09999997000000001, 5, u"0.1"},
      {0.10000003, 5, u"0.10000"},
      {0.75, 5, u"0.75000"},
      {1.25, 5, u" 1.2500"},
      {9.75, 5, u" 9.7500"},
      {10.25, 5, u" 10.250"},
      {99.75, 5, u" 99.750"},
      {100.25, 5, u" 100.25"},
      {999.75, 5, u" 999.75"},
      {1000.25, 5, u" 1000.2"},
      {9999.75, 5, u" 9999.8"},
      {10000.25, 5, u" 10000"},
      {99999.75, 5, u"100000"},
      {100000.25, 5, u"1E+5"},
      {12345600.0, 5, u"1.2346E+7"},
      {0.09999997000000001, 6, u"0.09999997"},
      {0.10000003, 6, u"0.100000"},
      {0.75, 6, u"0.750000"},
      {1.25, 6, u" 1.25000"},
      {9.75, 6, u" 9.75000"},
      {10.25, 6, u" 10.2500"},
      {99.75, 6, u" 99.7500"},
      {100.25, 6, u" 100.250"},
      {999.75, 6, u" 999.750"},
      {1000.25, 6, u" 1000.25"},
      {9999.75, 6, u" 9999.75"},
      {10000.25, 6, u" 10000.2"},
      {99999.75, 6, u" 99999.8"},
      {100000.25, 6, u" 100000"},
      {999999.75, 6, u"1000000"},
      {1000000.25, 6, u"1E+6"},
      {123456000.0, 6, u"1.23456E+8"},
      {0.09999997000000001, 7, u"0.09999997"},
      {0.10000003, 7, u"0.1000000"},
      {0.75, 7, u"0.7500000"},
      {1.25, 7, u" 1.250000"},
      {9.75, 7, u" 9.750000"},
      {10.25, 7, u" 10.25000"},
      {99.75, 7, u" 99.75000"},
      {100.25, 7, u" 100.2500"},
      {999.75, 7, u" 999.7500"},
      {1000.25, 7, u" 1000.250"},
      {9999.75, 7, u" 9999.750"},
      {10000.25, 7, u" 10000.25"},
      {99999.75, 7, u" 99999.75"},
      {100000.25, 7, u" 100000.2"},
      {999999.75, 7, u" 999999.8"},
      {1000000.25, 7, u" 1000000"},
      {9999999.75, 7, u"10000000"},
      {10000000.25, 7, u"1E+7"},
      {1234560000.0, 7, u"1.23456E+9"},
      {0.09999997000000001, 8, u"0.09999997"},
      {0.10000003, 8, u"0.10000003"},
      {0.75, 8, u"0.75000000"},
      {1.25, 8, u" 1.2500000"},
      {9.75, 8, u" 9.7500000"},
      {10.25, 8, u" 10.250000"},
      {99.75, 8, u" 99.750000"},
      {100.25, 8, u" 100.25000"},
      {999.75, 8, u" 999.75000"},
      {1000.25, 8, u" 1000.2500"},
      {9999.75, 8, u" 9999.7500"},
      {10000.25, 8, u" 10000.250"},
      {99999.75, 8, u" 99999.750"},
      {100000.25, 8, u" 100000.25"},
      {999999.75, 8, u" 999999.75"},
      {1000000.25, 8, u" 1000000.2"},
      {9999999.75, 8, u" 9999999.8"},
      {10000000.25, 8, u" 10000000"},
      {99999999.75, 8, u"100000000"},
      {100000000.25, 8, u"1E+8"},
      {12345600000.0, 8, u"1.23456E+10"},
      {-1234.56789, 8, u"-1234.5679"},
      {1e-05, 0, u"1E-5"},
      {9.9e-06, 0, u"9.9E-6"},
      {1.01e-05, 0, u"0"},
      {123.456, 0, u"123"},
      {-5e-08, 0, u"-5E-8"},
      {2.5, 0, u"2"},
      {0.05, 9, u"0.05"},
      {0.05, -2, u"0.05"},
      {1234.5678, 9, u" 1234.5678"},
      {1234.5678, -2, u" 1234.57"},
      {3.3e+20, 9, u"3.3E+20"},
      {3.3e+20, -2, u"3.3E+20"},
      {0.1, 8, u"0.10000000"},
      {100000.0, 3, u"1E+5"},
      {0.1, 1, u"0.1"},
      {3.0, 8, u"3"},
      {-12.0, 2, u"-12"},
      {0.0, 5, u"0"},
      {32766.0, 8, u"32766"},
      {40000.0, 2, u"40000"},
      {32767.0, 8, u" 32767.000"},
};

TEST(FormatValue, EveryPrecisionAndBoundOfTheTable) {
  for (const SFormatCase& c : kFormatCases) {
    EXPECT_EQ(CKORIControlValue::FormatValue(c.value, c.precision), CStr(c.expected))
        << c.value << " precision " << c.precision;
  }
}

TEST(FormatValue, InfinityBoundsAreWidenedSinglePrecisionConstants) {
  const double positive = static_cast<double>(1.7e35f);
  const double negative = static_cast<double>(-1.7e37f);
  EXPECT_EQ(CKORIControlValue::FormatValue(positive, 6), CStr(u"INF"));
  EXPECT_EQ(CKORIControlValue::FormatValue(std::nextafter(positive, 0.0), 6), CStr(u"1.7E+35"));
  EXPECT_EQ(CKORIControlValue::FormatValue(1.7e35, 6), CStr(u"1.7E+35"));  // below the float
  EXPECT_EQ(CKORIControlValue::FormatValue(2e35, 3), CStr(u"INF"));
  EXPECT_EQ(CKORIControlValue::FormatValue(-2e35, 3), CStr(u"-2E+35"));
  EXPECT_EQ(CKORIControlValue::FormatValue(negative, 6), CStr(u"-INF"));
  EXPECT_EQ(CKORIControlValue::FormatValue(-1.7e37, 6), CStr(u"-INF"));  // at or below the float
  EXPECT_EQ(CKORIControlValue::FormatValue(std::nextafter(negative, 0.0), 6), CStr(u"-1.7E+37"));
  EXPECT_EQ(CKORIControlValue::FormatValue(-2e37, 4), CStr(u"-INF"));
  EXPECT_EQ(CKORIControlValue::FormatValue(std::nan(""), 4), CStr());
}

TEST(CompactExponent, DropsLeadingSpacesAndExponentZeros) {
  EXPECT_EQ(CKORIControlValue::CompactExponent(u"  1.5E-007"), CStr(u"1.5E-7"));
  EXPECT_EQ(CKORIControlValue::CompactExponent(u"1.23457E+009"), CStr(u"1.23457E+9"));
  EXPECT_EQ(CKORIControlValue::CompactExponent(u"1E+010"), CStr(u"1E+10"));
  EXPECT_EQ(CKORIControlValue::CompactExponent(u" 12.5"), CStr(u"12.5"));
}

CKORIControlValue FloatValue(double value, int precision, short unitOptions, const char16_t* unit) {
  CKORIControlValue v;
  v.SetType(CKORIControlValue::eFloat);
  v.SetFloat(value);
  v.SetPrecision(precision);
  v.SetUnitOptions(unitOptions);
  v.SetUnit(unit);
  return v;
}

TEST(DisplayString, FloatsWithUnitOptions) {
  EXPECT_EQ(FloatValue(5.5, 8, 1, u"nm").DisplayString(), CStr(u" 5.5000000"));
  EXPECT_EQ(FloatValue(3.0, 4, 0, u"nm").DisplayString(), CStr(u"3 nm"));
  EXPECT_EQ(FloatValue(0.05, 8, 1, u"").DisplayString(), CStr(u"0.05"));
  EXPECT_EQ(FloatValue(0.5, 3, 1, u"").DisplayString(), CStr(u"0.500"));
  EXPECT_EQ(FloatValue(1.5e-7, 4, 1, u"").DisplayString(), CStr(u"1.5E-7"));
  EXPECT_EQ(FloatValue(1.25, 2, 2, u"\u00B5m").DisplayString(), CStr(u"\u00B5m"));
  EXPECT_EQ(FloatValue(1.25, 2, 0, u"").DisplayString(), CStr(u" 1.2 "));  // separator stays
  EXPECT_EQ(FloatValue(1.25, 2, 5, u"nm").DisplayString(), CStr());
  EXPECT_EQ(FloatValue(std::nan(""), 2, 2, u"nm").DisplayString(), CStr());
}

TEST(DisplayString, IntegersCharactersAndTexts) {
  CKORIControlValue v;
  v.SetType(CKORIControlValue::eInteger);
  v.SetInteger(-7);
  v.SetUnit(u"px");
  EXPECT_EQ(v.DisplayString(), CStr(u"-7 px"));
  v.SetUnitOptions(1);
  EXPECT_EQ(v.DisplayString(), CStr(u"-7"));
  v.SetUnitOptions(3);
  EXPECT_EQ(v.DisplayString(), CStr());

  v.SetType(CKORIControlValue::eChar);
  v.SetChar(u'\u00C5');
  EXPECT_EQ(v.DisplayString(), CStr(u"\u00C5"));

  v.SetType(CKORIControlValue::ePicture);
  v.SetFilename(u"/tmp/a.png");
  EXPECT_EQ(v.DisplayString(), CStr(u"/tmp/a.png"));
  v.SetType(static_cast<CKORIControlValue::EType>(9));
  EXPECT_EQ(v.DisplayString(), CStr());
  v.SetType(CKORIControlValue::eSummaryBegin);
  EXPECT_EQ(v.DisplayString(), CStr());
}

}  // namespace
