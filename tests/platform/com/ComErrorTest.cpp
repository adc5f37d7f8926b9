#include <gtest/gtest.h>

#include "platform/com/CComError.h"

namespace {

// The system's text loses its final line break; the dispatch range is numbered from its
// first code to its last; anything else without a text is unknown, in short hex.
TEST(ComErrorText, SystemTextOrNumberedDispatchErrorOrUnknown) {
  const std::pair<HRESULT, const char16_t*> cases[] = {
      {CO_E_NOTINITIALIZED, u"CoInitialize has not been called."},
      {MakeHResult(0x80040201), u"IDispatch error #1"},
      {MakeHResult(0x8004FFFF), u"IDispatch error #65023"},
      {MakeHResult(0x80040200), u"Unknown error 0x80040200"},
      {MakeHResult(0x80050000), u"Unknown error 0x80050000"},
      {MakeHResult(0x00000ABC), u"Unknown error 0xABC"}};
  for (const auto& [code, text] : cases) EXPECT_EQ(FormatErrorText(code), text) << std::hex << code;
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
