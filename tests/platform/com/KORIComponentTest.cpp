#include <gtest/gtest.h>

#include "platform/com/CComError.h"
#include "platform/com/CKORIControl.h"
#include "platform/com/CKORIDocServer.h"

namespace {

TEST(KORIControl, PropertiesKeepTheirDispatchTypesAndStrangersAreRefused) {
  CKORIControl control;
  PutProperty(control, 1, CVariant::Text(u"Roughness"));
  PutProperty(control, 4, CVariant::I4(3));
  PutProperty(control, 6, CVariant::R8(2.5));
  PutProperty(control, 7, CVariant::Bool(true));
  EXPECT_EQ(GetProperty(control, 1).AsText(), u"Roughness");
  EXPECT_EQ(GetProperty(control, 4).Type(), CVariant::EType::eI2);
  EXPECT_EQ(GetProperty(control, 4).AsLong(), 3);
  EXPECT_EQ(GetProperty(control, 6).Type(), CVariant::EType::eR4);
  EXPECT_FLOAT_EQ(GetProperty(control, 6).AsDouble(), 2.5);
  EXPECT_EQ(GetProperty(control, 7).Type(), CVariant::EType::eUI1);
  EXPECT_EQ(GetProperty(control, 7).AsLong(), 255);  // true is -1 as a byte
  EXPECT_EQ(GetProperty(control, 8).AsText(), u"");
  // Unknown members and interfaces, and values of the wrong type, are refused.
  CVariant result;
  EXPECT_EQ(control.Invoke(3, IDispatch::EInvokeKind::ePropertyGet, {}, result), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(control.Invoke(12, IDispatch::EInvokeKind::eMethod, {}, result), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(control.QueryInterface(CKORIDocServer::InterfaceId()), E_NOINTERFACE);
  const CVariant text = CVariant::Text(u"many");
  EXPECT_EQ(control.Invoke(4, IDispatch::EInvokeKind::ePropertyPut, std::span(&text, 1), result),
            DISP_E_TYPEMISMATCH);
}

TEST(KORIControl, PropertyBagRoundTrips) {
  CKORIControl control;
  PutProperty(control, 1, CVariant::Text(u"Grain <&> \"stats\""));
  PutProperty(control, 6, CVariant::R4(0.1f));
  PutProperty(control, 8, CVariant::Text(u"Mean"));
  const PropertyBag bag = control.Save();
  ASSERT_EQ(bag.size(), 7u);
  EXPECT_EQ(bag[0].first, u"Group");
  EXPECT_EQ(bag[4], (std::pair<CStr, CStr>(u"ResolutionFactor", u"0.1")));
  CKORIControl copy;
  copy.Load(bag);
  EXPECT_EQ(GetProperty(copy, 1).AsText(), u"Grain <&> \"stats\"");
  EXPECT_EQ(GetProperty(copy, 6).AsDouble(), GetProperty(control, 6).AsDouble());
  EXPECT_EQ(GetProperty(copy, 8).AsText(), u"Mean");
}

TEST(KORIDocServer, ServesTheDocumentServerIds) {
  CKORIDocServer server;
  EXPECT_EQ(GetProperty(server, 11).AsLong(), 2000);
  EXPECT_EQ(GetProperty(server, 11).Type(), CVariant::EType::eI4);
  for (DISPID id : {7, 8, 9}) EXPECT_EQ(GetProperty(server, id).Type(), CVariant::EType::eUI1);
  EXPECT_EQ(GetProperty(server, 10).Type(), CVariant::EType::eR4);
  PutProperty(server, 3, CVariant::Text(u"Sa"));
  CKORIDocServer copy;
  copy.Load(server.Save());
  EXPECT_EQ(GetProperty(copy, 3).AsText(), u"Sa");
  server.Activate();
  EXPECT_TRUE(server.IsActive());
  CallMethod(server, 12);
  EXPECT_FALSE(server.IsActive());
  EXPECT_THROW(CallMethod(server, 13), CComError);
}

}  // namespace
