#include <gtest/gtest.h>

#include "platform/com/CComError.h"

namespace {

TEST(ComErrorText, SystemTextLosesItsFinalLineBreak) {
  EXPECT_EQ(FormatErrorText(CO_E_NOTINITIALIZED), u"CoInitialize has not been called.");
  EXPECT_EQ(FormatErrorText(E_INVALIDARG), u"The parameter is incorrect.");
  EXPECT_EQ(FormatErrorText(DISP_E_PARAMNOTFOUND), u"Parameter not found.");
}

TEST(ComErrorText, DispatchRangeWithoutSystemTextIsNumbered) {
  EXPECT_EQ(FormatErrorText(MakeHResult(0x80040201)), u"IDispatch error #1");
  EXPECT_EQ(FormatErrorText(MakeHResult(0x8004FFFF)), u"IDispatch error #65023");
}

TEST(ComErrorText, OtherCodesWithoutSystemTextAreUnknown) {
  EXPECT_EQ(FormatErrorText(MakeHResult(0x80040200)), u"Unknown error 0x80040200");
  EXPECT_EQ(FormatErrorText(MakeHResult(0x80050000)), u"Unknown error 0x80050000");
  EXPECT_EQ(FormatErrorText(MakeHResult(0x00000ABC)), u"Unknown error 0xABC");
}

TEST(ComErrorText, ErrorKeepsCodeTextAndDescription) {
  const CComError error(E_FAIL, u"the zip entry \"word/document.xml\" is too large");
  EXPECT_EQ(error.Error(), E_FAIL);
  EXPECT_EQ(error.ErrorMessage(), u"Unspecified error");
  EXPECT_EQ(error.Description(), u"the zip entry \"word/document.xml\" is too large");
  EXPECT_STREQ(error.what(), "Unspecified error: the zip entry \"word/document.xml\" is too large");
}

TEST(ComErrorText, ThrowIfFailedPassesSuccessCodes) {
  EXPECT_NO_THROW(ThrowIfFailed(S_OK));
  EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
  EXPECT_THROW(ThrowIfFailed(E_NOINTERFACE), CComError);
}

}  // namespace
