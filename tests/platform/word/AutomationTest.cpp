#include <gtest/gtest.h>

#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"

namespace {

// Each test starts and ends with the process-wide state cleared.
struct Automation : ::testing::Test {
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    CWordAutomation::SetSharedApplication(nullptr);
    CWordAutomation::UnInitializeCOM();
    while (IsComInitialized()) CoUninitialize();
  }
};

TEST_F(Automation, InitialisingTwiceInitialisesOnceAndUninitialisingTwiceUndoesOnce) {
  CWordAutomation::InitializeCOM();
  CWordAutomation::InitializeCOM();
  EXPECT_TRUE(CWordAutomation::IsCOMInitialized());
  CoUninitialize();  // one CoInitialize was made
  EXPECT_FALSE(IsComInitialized());
  CoInitialize();
  CWordAutomation::UnInitializeCOM();
  CWordAutomation::UnInitializeCOM();
  EXPECT_FALSE(IsComInitialized());
  EXPECT_FALSE(CWordAutomation::IsCOMInitialized());
  CWordAutomation::InitializeCOM();
  CWordAutomation::ReInitializeCOM();  // leaves one apartment
  EXPECT_TRUE(CWordAutomation::IsCOMInitialized());
  CoUninitialize();
  EXPECT_FALSE(IsComInitialized());
}

TEST_F(Automation, StartingWordNeedsAnApartment) {
  std::shared_ptr<IWordApplication> word;
  EXPECT_EQ(CWordAutomation::StartWordApplication(word), CO_E_NOTINITIALIZED);
  EXPECT_EQ(word, nullptr);
  CWordAutomation::InitializeCOM();
  EXPECT_EQ(CWordAutomation::StartWordApplication(word), S_OK);
  ASSERT_NE(word, nullptr);
  EXPECT_EQ(word->Documents()->Count(), 0);
  std::shared_ptr<IWordApplication> byClassId;
  EXPECT_EQ(CWordAutomation::StartWordApplication(byClassId, u"{000209FF-0000-0000-C000-000000000046}"), S_OK);
  EXPECT_NE(byClassId, word) << "each start is a new instance";
  EXPECT_EQ(CWordAutomation::StartWordApplication(byClassId, u"Word.Nothing"), CO_E_CLASSSTRING);
  EXPECT_EQ(byClassId, nullptr) << "a failed start leaves the target empty";
  std::shared_ptr<IWordApplication> control;
  EXPECT_EQ(CWordAutomation::StartWordApplication(control, u"KORICONTROL.KORIControlCtrl.1"), E_NOINTERFACE);
}

TEST_F(Automation, CloseFolioHandlesQuitsTheSharedWordAndUninitialises) {
  CWordAutomation::InitializeCOM();
  CWordAutomation::CloseFolioHandles();  // without Word too
  EXPECT_FALSE(IsComInitialized());
  CWordAutomation::InitializeCOM();
  std::shared_ptr<IWordApplication> word;
  ASSERT_EQ(CWordAutomation::StartWordApplication(word), S_OK);
  CWordAutomation::SetSharedApplication(word);
  EXPECT_TRUE(CWordAutomation::IsWordRunning());
  CWordAutomation::CloseFolioHandles();
  EXPECT_FALSE(CWordAutomation::IsWordRunning());
  EXPECT_EQ(CWordAutomation::SharedApplication(), nullptr);
  EXPECT_FALSE(IsComInitialized());
  EXPECT_THROW(word->Documents(), CComError) << "Word was told to quit";
  std::shared_ptr<IWordApplication> again;
  EXPECT_EQ(CWordAutomation::StartWordApplication(again), CO_E_NOTINITIALIZED);
}

TEST_F(Automation, AFailingQuitChangesNothing) {
  CWordAutomation::InitializeCOM();
  std::shared_ptr<IWordApplication> word;
  ASSERT_EQ(CWordAutomation::StartWordApplication(word), S_OK);
  CWordAutomation::SetSharedApplication(word);
  word->Quit();  // closed from outside
  EXPECT_THROW(CWordAutomation::CloseFolioHandles(), CComError);
  EXPECT_TRUE(CWordAutomation::IsWordRunning());
  EXPECT_TRUE(CWordAutomation::IsCOMInitialized());
  EXPECT_NE(CWordAutomation::SharedApplication(), nullptr);
}

}  // namespace
