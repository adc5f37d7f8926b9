#include "GuiTestFixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/filedlg.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include "folio/platform/ui/GuiWindowing.h"

// Last: Xlib defines names (Status, None) that clash with other headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

pid_t g_server = 0;
std::string g_display;
std::filesystem::path g_home;
std::shared_ptr<IWindowing> g_backend;

// Starts Xvfb on a display it picks itself and returns ":N", or empty.
std::string StartServer() {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    const std::string fd = std::to_string(pipeFds[1]);
    const int scale = CPrivateDisplay::Scale();
    const std::string screen = std::to_string(CPrivateDisplay::kWidth * scale) + "x" +
                               std::to_string(CPrivateDisplay::kHeight * scale) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  std::string number;
  char c;
  while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeFds[0]);
  if (child < 0 || number.empty()) return {};
  g_server = child;
  return ":" + number;
}

}  // namespace

// Without a display every test would be skipped, which reads as passing: stop instead.
[[noreturn]] void CannotRun(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  std::exit(1);
}

void CPrivateDisplay::SetUp() {
  g_display = StartServer();
  if (g_display.empty()) CannotRun("cannot start Xvfb (scripts/bootstrap --gui installs it)");
  setenv("DISPLAY", g_display.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  setenv("GDK_BACKEND", "x11", 1);
  // No accessibility bus or settings daemon to wait for on a bare server.
  setenv("NO_AT_BRIDGE", "1", 1);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  // The toolkit's bookmarks, recent files and caches: a folder of our own, not the user's.
  char home[] = "/tmp/folio-gui-XXXXXX";
  if (!mkdtemp(home)) CannotRun("cannot make a private folder for the toolkit");
  g_home = home;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) setenv(name, home, 1);
  g_backend = CreateGuiWindowing();
  if (!g_backend) CannotRun("the desktop backend cannot open " + g_display);
  wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                        const wxString& msg) {
    ADD_FAILURE() << "wxWidgets assertion " << cond << " in " << func << " (" << file << ":" << line << "): " << msg;
  });
}

void CPrivateDisplay::TearDown() {
  if (g_server > 0) {
    kill(g_server, SIGTERM);
    waitpid(g_server, nullptr, 0);
  }
  std::error_code ignored;
  if (!g_home.empty()) std::filesystem::remove_all(g_home, ignored);
}

std::shared_ptr<IWindowing> CPrivateDisplay::Backend() { return g_backend; }

int CPrivateDisplay::Scale() {
  const char* scale = std::getenv("GDK_SCALE");
  return scale && std::atoi(scale) > 1 ? std::atoi(scale) : 1;
}
std::string CPrivateDisplay::DisplayName() { return g_display; }

namespace {
const bool g_registered = (::testing::AddGlobalTestEnvironment(new CPrivateDisplay), true);
}

namespace {

// The pixels the X server shows in area, read over a connection of our own: what a
// person would see, whatever the toolkit believes it drew.
wxImage ReadScreen(const wxRect& area) {
  wxImage image(std::max(area.width, 1), std::max(area.height, 1));
  Display* display = XOpenDisplay(g_display.c_str());
  if (!display) return image;
  XImage* pixels = XGetImage(display, DefaultRootWindow(display), area.x, area.y, unsigned(image.GetWidth()),
                             unsigned(image.GetHeight()), AllPlanes, ZPixmap);
  if (pixels) {
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x) {
        const unsigned long pixel = XGetPixel(pixels, x, y);
        image.SetRGB(x, y, (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
      }
    XDestroyImage(pixels);
  }
  XCloseDisplay(display);
  return image;
}

}  // namespace

void Settle() {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
  while (std::chrono::steady_clock::now() < until) {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::filesystem::path SaveScreenshot(wxWindow& window, const std::string& name) {
  // The toolkit draws on its own clock: wait until this window was drawn after now.
  // Native dialogs (file dialogs) tell nothing of their drawing; they get a while.
  const bool native = dynamic_cast<wxFileDialog*>(&window) != nullptr;
  bool painted = native;
  auto onPaint = [&painted](wxPaintEvent& event) {
    painted = true;
    event.Skip();
  };
  window.Bind(wxEVT_PAINT, onPaint);
  window.Raise();
  window.Refresh();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!painted && std::chrono::steady_clock::now() < deadline) {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  window.Unbind(wxEVT_PAINT, onPaint);
  EXPECT_TRUE(painted) << name << ": the window was never drawn";
  for (int i = native ? 5 : 1; i > 0; --i) Settle();
  // The toolkit does not tell where a native dialog is, nor how big: the whole screen.
  const wxRect logical = native ? wxRect(0, 0, CPrivateDisplay::kWidth, CPrivateDisplay::kHeight)
                                : wxRect(window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize());
  const int scale = CPrivateDisplay::Scale();
  const wxRect area(logical.x * scale, logical.y * scale, logical.width * scale, logical.height * scale);
  const wxBitmap bitmap(ReadScreen(area));
  const std::filesystem::path folder = FOLIO_SCREENSHOT_DIR;
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / (name + ".png");
  EXPECT_TRUE(bitmap.SaveFile(file.string(), wxBITMAP_TYPE_PNG)) << file;
  return file;
}

CModalScript::~CModalScript() {
  Unregister();
  EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " dialog(s) the script expected did not open";
}

int CModalScript::Enter(wxDialog* dialog) {
  // Some dialogs (the file dialogs) announce themselves twice.
  if (m_open[dialog]++ > 0) return wxID_NONE;
  if (m_steps.empty()) {
    ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle() << "\"";
    return wxID_CANCEL;
  }
  Step step = std::move(m_steps.front());
  m_steps.pop_front();
  // Runs inside the dialog's own modal loop, once it is up.
  dialog->CallAfter([dialog, step] {
    Settle();
    step(*dialog);
    // A step that leaves its dialog open would leave the test waiting for a person.
    if (dialog->IsModal()) {
      ADD_FAILURE() << "the dialog \"" << dialog->GetTitle() << "\" stayed open";
      dialog->EndModal(wxID_CANCEL);
    }
  });
  return wxID_NONE;
}

wxWindow* FindTopLevel(const wxString& caption) {
  // Windows destroyed earlier linger, hidden, until the toolkit is idle: the newest counts.
  wxWindow* found = nullptr;
  for (wxWindow* top : wxTopLevelWindows) {
    auto* window = dynamic_cast<wxTopLevelWindow*>(top);
    if (!window || window->GetTitle() != caption || wxPendingDelete.Member(window)) continue;
    if (!found || window->IsShown() || !found->IsShown()) found = window;
  }
  return found;
}

wxWindow* FindByLabel(wxWindow& parent, const wxString& label) {
  for (wxWindow* child : parent.GetChildren())
    if (child->GetLabel() == label) return child;
  return nullptr;
}

void PressKey(wxWindow& dialog, int keyCode, int modifiers) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = keyCode;
  event.SetAltDown((modifiers & wxMOD_ALT) != 0);
  event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
  event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
  event.SetEventObject(&dialog);
  dialog.GetEventHandler()->ProcessEvent(event);
}

void ClickWithMouse(wxWindow& control) {
  wxUIActionSimulator simulator;
  const wxRect area = control.GetScreenRect();
  simulator.MouseMove(area.GetPosition() + wxPoint(area.width / 2, area.height / 2));
  Settle();
  simulator.MouseClick();
  Settle();
}

wxWindow& Control(wxWindow& dialog, int id) {
  wxWindow* control = dialog.FindWindow(id);
  if (!control) throw std::runtime_error("the dialog has no control " + std::to_string(id));
  return *control;
}
