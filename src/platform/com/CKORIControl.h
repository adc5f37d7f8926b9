#pragma once
#include "platform/com/CPropertyComponent.h"

// The host's placeholder control: Group, Field, UnitOptions, PictureOptions,
// ResolutionFactor, ScaleFont and Statistics at dispatch ids 1, 2, 4 to 8.
class CKORIControl : public CPropertyComponent {
public:
  static constexpr const char16_t* kProgId = u"KORICONTROL.KORIControlCtrl.1";
  static CLSID ClassId();
  // The control's dispatch interface, _DKORIControl.
  static IID InterfaceId();

  CKORIControl();
};
