#include "folio/platform/ui/IWindowing.h"
#include "folio/platform/ui/CConsoleWindowing.h"
#include "GuiModule.h"

namespace {

struct SWindowingState {
  std::shared_ptr<IWindowing> backend;
  CStr title = u"Folio";
  HelpHandler help;
};

SWindowingState& State() {
  static SWindowingState state;
  return state;
}

}  // namespace

IWindowing& GetWindowing() {
  SWindowingState& state = State();
  if (!state.backend) state.backend = LoadGuiWindowing();
  if (!state.backend) state.backend = std::make_shared<CConsoleWindowing>();
  return *state.backend;
}

std::shared_ptr<IWindowing> SetWindowing(std::shared_ptr<IWindowing> backend) {
  std::shared_ptr<IWindowing> previous = std::move(State().backend);
  State().backend = std::move(backend);
  return previous;
}

void SetApplicationTitle(const CStr& title) { State().title = title; }

CStr GetApplicationTitle() { return State().title; }

void SetHelpHandler(HelpHandler handler) { State().help = std::move(handler); }

bool GetHelp(unsigned helpContext) {
  if (!State().help) return false;
  State().help(helpContext);
  return true;
}

bool HandleHelpInfo(const SHelpInfo* request, unsigned dialogContext) {
  // Every control of our dialogs shares its dialog's topic.
  (void)request;
  return GetHelp(dialogContext);
}

int ShowMessageBox(const CStr& text, unsigned style, unsigned helpContext, const CStr& caption) {
  const SMessageBox box{text, caption.IsEmpty() ? GetApplicationTitle() : caption, style, helpContext};
  for (;;) {
    const int answer = GetWindowing().DoMessageBox(box);
    if (answer != eIdHelp) return answer;
    // Help leaves the box open.
    GetHelp(helpContext);
  }
}
