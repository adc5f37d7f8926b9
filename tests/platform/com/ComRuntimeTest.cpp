#include <gtest/gtest.h>

#include <thread>

#include "platform/com/CKORIControl.h"
#include "platform/com/ComRuntime.h"

namespace {

// Leaves the calling thread without an apartment whatever a test did.
struct Apartment : ::testing::Test {
  void TearDown() override {
    while (IsComInitialized()) CoUninitialize();
  }
};

TEST_F(Apartment, RepeatedInitialisationIsCountedAndReportedAsFalse) {
  EXPECT_EQ(CoInitialize(), S_OK);
  EXPECT_EQ(CoInitialize(), S_FALSE);
  CoUninitialize();
  EXPECT_TRUE(IsComInitialized());
  CoUninitialize();
  EXPECT_FALSE(IsComInitialized());
  CoUninitialize();  // one too many does no harm
  EXPECT_FALSE(IsComInitialized());
}

TEST_F(Apartment, EachThreadHasItsOwn) {
  ASSERT_EQ(CoInitialize(), S_OK);
  bool other = true;
  std::thread([&] { other = IsComInitialized(); }).join();
  EXPECT_FALSE(other);
}

TEST_F(Apartment, CreatingWithoutApartmentFailsNotInitialized) {
  std::shared_ptr<IDispatch> object;
  EXPECT_EQ(CoCreateInstance(CKORIControl::ClassId(), object), CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(u"KORICONTROL.KORIControlCtrl.1", clsid), CO_E_NOTINITIALIZED);
}

TEST_F(Apartment, ProgramIdsResolveToRegisteredClasses) {
  ASSERT_EQ(CoInitialize(), S_OK);
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(u"koricontrol.koricontrolctrl.1", clsid), S_OK);
  EXPECT_EQ(clsid.ToString(), u"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}");
  CStr progId;
  ASSERT_EQ(ProgIDFromCLSID(clsid, progId), S_OK);
  EXPECT_EQ(progId, u"KORICONTROL.KORIControlCtrl.1");
  EXPECT_EQ(CLSIDFromProgID(u"No.Such.Class", clsid), CO_E_CLASSSTRING);
  std::shared_ptr<IDispatch> object;
  ASSERT_EQ(CoCreateInstance(clsid, object), S_OK);
  EXPECT_EQ(object->QueryInterface(CKORIControl::InterfaceId()), S_OK);
  EXPECT_EQ(OleRun(object.get()), S_OK);
}

TEST_F(Apartment, RegisteredFactoryIsCalledPerInstance) {
  ASSERT_EQ(CoInitialize(), S_OK);
  const CLSID clsid = *CGuid::Parse(u"{00000000-1111-2222-3333-444455556666}");
  int made = 0;
  RegisterComClass(u"Test.Counter", clsid, [&] {
    ++made;
    return std::make_shared<CKORIControl>();
  });
  std::shared_ptr<IDispatch> a, b;
  ASSERT_EQ(CoCreateInstance(clsid, a), S_OK);
  ASSERT_EQ(CoCreateInstance(clsid, b), S_OK);
  EXPECT_EQ(made, 2);
  EXPECT_NE(a, b);
  EXPECT_EQ(CoCreateInstance(*CGuid::Parse(u"{00000000-1111-2222-3333-444455556667}"), a),
            REGDB_E_CLASSNOTREG);
}

TEST(ClassIdText, ParsesBracedFormOnly) {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromString(u"{7b1e52c4-93d0-4a6f-b2e8-5c91d04f3a27}", clsid), S_OK);
  EXPECT_EQ(clsid, CKORIControl::ClassId());
  for (const char16_t* bad : {u"7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27", u"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A2G}",
                              u"{7B1E52C4093D0-4A6F-B2E8-5C91D04F3A27}", u"{}"})
    EXPECT_EQ(CLSIDFromString(bad, clsid), CO_E_CLASSSTRING) << CStr(bad).ToUtf8();
}

}  // namespace
