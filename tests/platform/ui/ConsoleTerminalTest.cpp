// The console backend on a pseudo-terminal: single-key questions, the progress line.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "folio/platform/ui/CConsoleWindowing.h"
#include "util/ScratchFolder.h"

namespace {

class ConsoleOnTerminal : public ::testing::Test {
protected:
  void SetUp() override {
    winsize size{};
    size.ws_col = 60;
    size.ws_row = 24;
    ASSERT_EQ(openpty(&m_master, &m_slave, nullptr, nullptr, &size), 0);
    // Raw, so that keys typed ahead are readable at once and output arrives unchanged.
    termios mode{};
    tcgetattr(m_slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(m_slave, TCSANOW, &mode);
  }
  void TearDown() override {
    close(m_master);
    close(m_slave);
  }
  void Type(const std::string& keys) { ASSERT_EQ(write(m_master, keys.data(), keys.size()), ssize_t(keys.size())); }
  // Everything written to the terminal so far.
  std::string Screen() {
    std::string text;
    char buffer[4096];
    pollfd ready{m_master, POLLIN, 0};
    while (poll(&ready, 1, 20) > 0 && (ready.revents & POLLIN)) {
      const ssize_t n = read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<size_t>(n));
    }
    return text;
  }

  int m_master = -1;
  int m_slave = -1;
};

SDialogTemplate ConfirmDialog() {
  SDialogTemplate dialog;
  dialog.caption = u"KORI Livesheeter";
  dialog.controls = {{EControlKind::eLabel, 0, u"The report file exists.", {}, false},
                     {EControlKind::eButton, 14106, u"Overwrite", {}, true},
                     {EControlKind::eButton, 3, u"Append", {}, false},
                     {EControlKind::eButton, 2, u"Cancel", {}, false}};
  return dialog;
}

SDialogTemplate ProgressWindow() {
  SDialogTemplate dialog;
  dialog.controls = {{EControlKind::eLabel, 15, u"Initializing...", {}, false},
                     {EControlKind::eProgress, 8, CStr(), {}, false}};
  return dialog;
}

TEST_F(ConsoleOnTerminal, asks_with_one_key_per_button_and_prints_a_notice_without_waiting) {
  CConsoleWindowing console(m_slave, m_slave);
  EXPECT_EQ(console.DoMessageBox({u"Done.", u"Folio", eMbOk}), eIdOk);
  EXPECT_EQ(Screen(), "Folio: Done.\n");
  Type("a");
  EXPECT_EQ(console.RunModal(ConfirmDialog()), 3);
  const std::string screen = Screen();
  EXPECT_NE(screen.find("KORI Livesheeter: The report file exists.\n"), std::string::npos) << screen;
  EXPECT_NE(screen.find("[O]verwrite  [A]ppend  [C]ancel  (Enter: Overwrite, Esc: Cancel) Append\n"),
            std::string::npos) << screen;
}

// Keys are case-blind; Enter takes the default; Escape cancels where the box allows it and
// Ctrl-C gives the safe answer where not; other keys and arrow sequences are ignored.
TEST_F(ConsoleOnTerminal, enter_takes_the_default_and_keys_are_case_blind) {
  CConsoleWindowing console(m_slave, m_slave);
  constexpr unsigned kDialog = ~0u;
  const struct { const char* keys; unsigned style; int answer; } cases[] = {
      {"C", kDialog, 2}, {"\r", kDialog, 14106}, {"\x1b", kDialog, 2}, {"\r", eMbYesNo | eMbDefButton2, eIdNo},
      {"x\x1b[Ar", eMbRetryCancel, eIdRetry}, {"\x1b", eMbRetryCancel, eIdCancel}, {"\x1b\x03", eMbYesNo, eIdNo}};
  for (const auto& c : cases) {
    Type(c.keys);
    const int answer = c.style == kDialog ? console.RunModal(ConfirmDialog()) : console.DoMessageBox({u"q", u"Folio", c.style});
    EXPECT_EQ(answer, c.answer) << ::testing::PrintToString(c.keys) << " " << c.style;
  }
}

TEST_F(ConsoleOnTerminal, the_progress_line_is_drawn_only_when_shown_and_redrawn_in_place) {
  CConsoleWindowing console(m_slave, m_slave);
  std::unique_ptr<IDialogWindow> window = console.CreateModeless(ProgressWindow());
  window->SetItemText(15, u"hidden");
  EXPECT_EQ(Screen(), "");
  window->Show(true);
  EXPECT_EQ(Screen(), "\rhidden [....................]   0%\x1b[K");
  window->SetItemText(15, u"Processing Element 3");
  window->SetProgressPos(8, 45);
  EXPECT_EQ(Screen(),
            "\rProcessing Element 3 [....................]   0%\x1b[K"
            "\rProcessing Element 3 [#########...........]  45%\x1b[K");
  window->SetProgressPos(8, 45);  // nothing changed, nothing drawn
  EXPECT_EQ(Screen(), "");
  window.reset();
  EXPECT_EQ(Screen(), "\r\x1b[K");
}

TEST_F(ConsoleOnTerminal, a_message_box_takes_the_progress_line_away_and_puts_it_back) {
  CConsoleWindowing console(m_slave, m_slave);
  std::unique_ptr<IDialogWindow> window = console.CreateModeless(ProgressWindow());
  window->Show(true);
  window->SetProgressPos(8, 100);
  Screen();
  console.DoMessageBox({u"Note", u"Folio", eMbOk});
  EXPECT_EQ(Screen(), "\r\x1b[KFolio: Note\n\rInitializing... [####################] 100%\x1b[K");
}

TEST_F(ConsoleOnTerminal, long_texts_are_shortened_to_the_terminal_width) {
  winsize size{};
  size.ws_col = 34;
  ASSERT_EQ(ioctl(m_slave, TIOCSWINSZ, &size), 0);
  {
    CConsoleWindowing console(m_slave, m_slave);
    SDialogTemplate dialog = ProgressWindow();
    dialog.controls[0].text = u"Ünïcode text that is far too long";
    std::unique_ptr<IDialogWindow> window = console.CreateModeless(dialog);
    window->Show(true);
  }
  // 33 usable columns, 28 for the bar: five for the text, three of them the ellipsis.
  EXPECT_EQ(Screen(), "\r\xC3\x9C" "n... [....................]   0%\x1b[K\r\x1b[K");
}

TEST_F(ConsoleOnTerminal, a_file_dialog_reads_a_path_relative_to_the_initial_folder) {
  ScratchFolder scratch;
  const std::filesystem::path& folder = scratch.Path();
  scratch.Write("t.htm", "x");
  CConsoleWindowing console(m_slave, m_slave);
  SFileDialog request;
  request.title = u"Template file name";
  request.filter = u"HTML Template Files (*.htm;*.html)|*.htm;*.html|All Files (*.*)|*.*||";
  request.initialFolder = CStr::FromUtf8(folder.string());
  request.flags = eOfnFileMustExist;
  Type("missing.htm\nt.htm\n");
  const SFileDialogResult chosen = console.FileDialog(request);
  EXPECT_EQ(chosen.result, eIdOk);
  EXPECT_EQ(chosen.path.ToUtf8(), (folder / "t.htm").string());
  const std::string screen = Screen();
  EXPECT_NE(screen.find("Template file name (HTML Template Files (*.htm;*.html), All Files (*.*))\n"),
            std::string::npos) << screen;
  EXPECT_NE(screen.find("File not found: " + (folder / "missing.htm").string()), std::string::npos) << screen;

  // Ctrl-D cancels; an empty line takes the initial file, with the default extension.
  Type("\x04");
  EXPECT_EQ(console.FileDialog(request).result, eIdCancel);
  request.flags = 0;
  request.initialFile = u"new";
  request.defaultExtension = u"htm";
  Type("\n");
  EXPECT_EQ(console.FileDialog(request).path.ToUtf8(), (folder / "new.htm").string());
}

}  // namespace
