#include "platform/com/CKORIDocServer.h"

namespace {

using T = CVariant::EType;
constexpr CPropertyComponent::SProperty kProperties[] = {
    {11, u"Version", T::eI4},
    {1, u"Group", T::eText},
    {2, u"Field", T::eText},
    {3, u"Parameter1", T::eText},
    {4, u"Parameter2", T::eText},
    {5, u"Statistics1", T::eText},
    {6, u"Statistics2", T::eText},
    {7, u"UnitOptions", T::eUI1},
    {8, u"PictureOptions", T::eUI1},
    {9, u"ScaleFont", T::eUI1},
    {10, u"ResolutionFactor", T::eR4},
};
constexpr DISPID kDeactivate = 12;

}  // namespace

CLSID CKORIDocServer::ClassId() { return *CGuid::Parse(u"{7B1E52C6-93D0-4A6F-B2E8-5C91D04F3A27}"); }

IID CKORIDocServer::InterfaceId() { return *CGuid::Parse(u"{7B1E52C7-93D0-4A6F-B2E8-5C91D04F3A27}"); }

CKORIDocServer::CKORIDocServer() : CPropertyComponent(kProperties, InterfaceId()) {
  PutProperty(*this, 11, CVariant::I4(2000));
  PutProperty(*this, 10, CVariant::R4(1.0f));
}

HRESULT CKORIDocServer::CallMethod(DISPID id, std::span<const CVariant> args, CVariant& result) {
  if (id != kDeactivate) return DISP_E_MEMBERNOTFOUND;
  if (!args.empty()) return DISP_E_BADPARAMCOUNT;
  m_active = false;
  result = CVariant();
  return S_OK;
}
