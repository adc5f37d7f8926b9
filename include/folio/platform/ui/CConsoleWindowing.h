#pragma once
#include <memory>

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/Export.h"

struct SConsoleState;

// Backend for a terminal. Message boxes and dialogs are printed on the output; a
// question is asked with single-key answers only when input and output are both
// terminals, and otherwise answered the safe way without waiting (Cancel, else No,
// else Abort, else OK). Boxes with only an OK button are printed and not waited on.
// A modeless window with a progress bar is one line, redrawn in place, drawn only
// when the output is a terminal.
class FOLIO_API CConsoleWindowing : public IWindowing {
public:
  // Standard input and standard error unless told otherwise.
  explicit CConsoleWindowing(int inputFd = 0, int outputFd = 2);
  ~CConsoleWindowing() override;

  int DoMessageBox(const SMessageBox& box) override;
  int RunModal(const SDialogTemplate& dialog) override;
  std::unique_ptr<IDialogWindow> CreateModeless(const SDialogTemplate& dialog) override;
  SFileDialogResult FileDialog(const SFileDialog& request) override;
  SSize GetScreenSize() const override;

private:
  // Shared with the modeless windows, which may outlive the backend.
  std::shared_ptr<SConsoleState> m_state;
};
