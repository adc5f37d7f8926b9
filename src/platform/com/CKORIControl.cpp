#include "platform/com/CKORIControl.h"

namespace {

using T = CVariant::EType;
constexpr CPropertyComponent::SProperty kProperties[] = {
    {1, u"Group", T::eText},
    {2, u"Field", T::eText},
    {4, u"UnitOptions", T::eI2},
    {5, u"PictureOptions", T::eI2},
    {6, u"ResolutionFactor", T::eR4},
    {7, u"ScaleFont", T::eUI1},
    {8, u"Statistics", T::eText},
};

}  // namespace

CLSID CKORIControl::ClassId() { return *CGuid::Parse(u"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}"); }

IID CKORIControl::InterfaceId() { return *CGuid::Parse(u"{7B1E52C5-93D0-4A6F-B2E8-5C91D04F3A27}"); }

CKORIControl::CKORIControl() : CPropertyComponent(kProperties, InterfaceId()) {
  PutProperty(*this, 6, CVariant::R4(1.0f));
}
