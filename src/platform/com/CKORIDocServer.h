#pragma once
#include "platform/com/CPropertyComponent.h"

// The host's placeholder document server (class type "LivesheetItem"): Group, Field,
// Parameter1, Parameter2, Statistics1, Statistics2 (texts, ids 1 to 6), UnitOptions,
// PictureOptions, ScaleFont (bytes, 7 to 9), ResolutionFactor (float, 10), Version
// (major * 1000 + minor, 11) and method 12, which ends the server's activation.
class CKORIDocServer : public CPropertyComponent {
public:
  static constexpr const char16_t* kProgId = u"LivesheetItem";
  static CLSID ClassId();
  // IKORIDocServer.
  static IID InterfaceId();

  CKORIDocServer();
  // Whether the server is active (set by OLEFormat.Activate, cleared by method 12).
  bool IsActive() const { return m_active; }
  void Activate() { m_active = true; }

protected:
  HRESULT CallMethod(DISPID id, std::span<const CVariant> args, CVariant& result) override;

private:
  bool m_active = false;
};
