#include "WxApp.h"

#include <cstdio>

#include <wx/app.h>
#include <wx/init.h>

namespace {

// A bare application object: the host, not Folio, decides when the process ends.
class CFolioGuiApp : public wxApp {
public:
  bool OnInit() override { return true; }
  // A toolkit assertion is reported, never shown as a window that waits for a user.
  void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                       const wxChar* msg) override {
    std::fprintf(stderr, "folio: wxWidgets assertion %s failed in %s (%s:%d): %s\n",
                 wxString(cond).utf8_str().data(), wxString(func).utf8_str().data(),
                 wxString(file).utf8_str().data(), line, wxString(msg).utf8_str().data());
  }
};

}  // namespace

bool EnsureWxApp() {
  if (wxTheApp) return wxTheApp->IsGUI();
  static bool started = false;
  static bool tried = false;
  if (tried) return started;
  tried = true;
  wxApp::SetInstance(new CFolioGuiApp);
  static int argc = 1;
  static char name[] = "folio";
  static char* argv[] = {name, nullptr};
  // Fails, and says so on stderr, when the display cannot be opened.
  if (!wxEntryStart(argc, argv)) return false;
  started = wxTheApp->CallOnInit();
  // Closing our last dialog must not end the host's process.
  if (started) wxTheApp->SetExitOnFrameDelete(false);
  return started;
}
