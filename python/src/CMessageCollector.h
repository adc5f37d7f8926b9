#pragma once
#include <string>
#include <vector>

#include "folio/platform/ui/IWindowing.h"

namespace FolioPython {

// The windowing backend while Python drives Folio: nobody can be asked, so every
// question gets the safe answer (Cancel, else No, else Abort, else OK) and every text
// Folio shows is kept, to become the message of the exception the caller sees.
class CMessageCollector : public IWindowing {
public:
  int DoMessageBox(const SMessageBox& box) override;
  int RunModal(const SDialogTemplate& dialog) override;
  std::unique_ptr<IDialogWindow> CreateModeless(const SDialogTemplate&) override { return nullptr; }
  SFileDialogResult FileDialog(const SFileDialog&) override { return SFileDialogResult(); }
  SSize GetScreenSize() const override { return SSize(); }

  // Every text shown, in order, one per line.
  std::string Messages() const;

private:
  std::vector<std::string> m_messages;
};

}  // namespace FolioPython
