#pragma once
#include <gtest/gtest.h>

#include "folio/model/CKORIControlValue.h"

// Every field of two records compared, the value half included.
inline void ExpectSameRecord(CKORIControlValue a, CKORIControlValue b) {
  EXPECT_EQ(a.GetVersion(nullptr, nullptr), b.GetVersion(nullptr, nullptr));
  EXPECT_EQ(a.GetBody(), b.GetBody());
  EXPECT_EQ(a.GetGroup(), b.GetGroup());
  EXPECT_EQ(a.GetField(), b.GetField());
  EXPECT_EQ(a.GetParameter1(), b.GetParameter1());
  EXPECT_EQ(a.GetParameter2(), b.GetParameter2());
  EXPECT_EQ(a.GetStatistics1(), b.GetStatistics1());
  EXPECT_EQ(a.GetStatistics2(), b.GetStatistics2());
  EXPECT_EQ(a.GetHeight(), b.GetHeight());
  EXPECT_EQ(a.GetWidth(), b.GetWidth());
  EXPECT_EQ(a.GetResolutionFactor(), b.GetResolutionFactor());
  EXPECT_EQ(a.GetScaleFont(), b.GetScaleFont());
  EXPECT_EQ(a.GetUnitOptions(), b.GetUnitOptions());
  EXPECT_EQ(a.GetPictureOptions(), b.GetPictureOptions());
  EXPECT_EQ(a.GetType(), b.GetType());
  EXPECT_EQ(a.GetText(), b.GetText());
  EXPECT_EQ(a.GetInteger(), b.GetInteger());
  EXPECT_EQ(a.GetFloat(), b.GetFloat());
  EXPECT_EQ(a.GetPrecision(), b.GetPrecision());
  EXPECT_EQ(a.GetChar(), b.GetChar());
  EXPECT_EQ(a.GetFilename(), b.GetFilename());
  EXPECT_EQ(a.GetUnit(), b.GetUnit());
  EXPECT_EQ(a.GetMessage(), b.GetMessage());
}
