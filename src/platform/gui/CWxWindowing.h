#pragma once
#include "folio/platform/ui/IWindowing.h"

// The desktop backend over wxWidgets (see GuiWindowing.h).
class CWxWindowing : public IWindowing {
public:
  int DoMessageBox(const SMessageBox& box) override;
  int RunModal(const SDialogTemplate& dialog) override;
  std::unique_ptr<IDialogWindow> CreateModeless(const SDialogTemplate& dialog) override;
  SFileDialogResult FileDialog(const SFileDialog& request) override;
  SSize GetScreenSize() const override;
  void ProcessEventsUntil(const std::function<bool()>& done) override;
};
