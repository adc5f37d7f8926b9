// The console backend without a terminal: it must answer the safe way and never wait.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "folio/platform/ui/CConsoleWindowing.h"
#include "folio/platform/ui/CDialog.h"

namespace {

// A pipe as input (already at its end) and a pipe as output.
class ConsoleWithoutTerminal : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(pipe(m_in), 0);
    ASSERT_EQ(pipe(m_out), 0);
    close(m_in[1]);
    fcntl(m_out[0], F_SETFL, O_NONBLOCK);
  }
  void TearDown() override {
    close(m_in[0]);
    close(m_out[0]);
    close(m_out[1]);
  }
  std::string Output() {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(m_out[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    return text;
  }
  CConsoleWindowing Console() { return CConsoleWindowing(m_in[0], m_out[1]); }

  int m_in[2] = {-1, -1};
  int m_out[2] = {-1, -1};
};

SDialogTemplate ThreeButtons() {
  SDialogTemplate dialog;
  dialog.caption = u"Choose";
  dialog.controls = {{EControlKind::eLabel, 0, u"Which one?", {}, false},
                     {EControlKind::eButton, 14106, u"Overwrite", {}, true},
                     {EControlKind::eButton, 3, u"Append", {}, false},
                     {EControlKind::eButton, 2, u"Cancel", {}, false}};
  return dialog;
}

SDialogTemplate ProgressWindow() {
  SDialogTemplate dialog;
  dialog.controls = {{EControlKind::eLabel, 15, u"Working", {}, false},
                     {EControlKind::eProgress, 8, CStr(), {}, false}};
  return dialog;
}

TEST_F(ConsoleWithoutTerminal, questions_get_the_safe_answer) {
  CConsoleWindowing console = Console();
  EXPECT_EQ(console.DoMessageBox({u"locked", u"Folio", eMbRetryCancel}), eIdCancel);
  EXPECT_EQ(console.DoMessageBox({u"create?", u"Folio", eMbYesNo}), eIdNo);
  EXPECT_EQ(console.DoMessageBox({u"save?", u"Folio", eMbYesNoCancel | eMbDefButton1}), eIdCancel);
  EXPECT_EQ(console.DoMessageBox({u"failed", u"Folio", eMbAbortRetryIgnore}), eIdAbort);
  EXPECT_EQ(console.DoMessageBox({u"done", u"Folio", eMbOk}), eIdOk);
  EXPECT_EQ(console.DoMessageBox({u"see help", u"KORI", 0x4030}), eIdOk);
  EXPECT_EQ(console.RunModal(ThreeButtons()), eIdCancel);
}

TEST_F(ConsoleWithoutTerminal, prints_each_box_and_dialog_as_caption_and_text_and_says_what_it_answered) {
  CConsoleWindowing console = Console();
  console.DoMessageBox({u"The report file \"r.htm\" is inaccessible.\r\n\r\nTry later.", u"Folio",
                        eMbRetryCancel | eMbIconWarning});
  console.DoMessageBox({u"Please enter a template file name.", u"Folio", eMbOk});
  console.RunModal(ThreeButtons());  // a dialog prints its label
  EXPECT_EQ(Output(),
            "Folio: warning: The report file \"r.htm\" is inaccessible.\n\nTry later.\n"
            "Folio: answered Cancel (Retry/Cancel; no terminal to ask)\n"
            "Folio: Please enter a template file name.\n"
            "Choose: Which one?\nChoose: answered Cancel (Overwrite/Append/Cancel; no terminal to ask)\n");
}

TEST_F(ConsoleWithoutTerminal, file_dialogs_are_cancelled) {
  CConsoleWindowing console = Console();
  SFileDialog request;
  request.title = u"Report file name";
  const SFileDialogResult result = console.FileDialog(request);
  EXPECT_EQ(result.result, eIdCancel);
  EXPECT_TRUE(result.path.IsEmpty());
  EXPECT_NE(Output().find("Report file name: cancelled (no terminal to ask)"), std::string::npos);
}

TEST_F(ConsoleWithoutTerminal, a_progress_window_draws_nothing_but_keeps_its_state_and_nothing_needs_clicks) {
  CConsoleWindowing console = Console();
  std::unique_ptr<IDialogWindow> window = console.CreateModeless(ProgressWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetItemText(15), u"Working");
  window->Show(true);
  window->SetItemText(15, u"Step 1");
  window->SetProgressPos(8, 40);
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(window->GetItemText(15), u"Step 1");
  EXPECT_EQ(window->GetProgressPos(8), 40);
  window.reset();
  EXPECT_EQ(Output(), "");
  // A window that needs clicks cannot be made on a terminal.
  SDialogTemplate form = ProgressWindow();
  form.controls.push_back({EControlKind::eButton, 1, u"Close", {}, false});
  EXPECT_EQ(console.CreateModeless(form), nullptr);
}

// The default backend talks to standard input and standard error.
TEST_F(ConsoleWithoutTerminal, the_default_backend_is_the_console_on_stdin_and_stderr) {
  const int savedIn = dup(0), savedErr = dup(2);
  dup2(m_in[0], 0);
  dup2(m_out[1], 2);
  std::shared_ptr<IWindowing> previous = SetWindowing(nullptr);
  const bool isConsole = dynamic_cast<CConsoleWindowing*>(&GetWindowing()) != nullptr;
  const int answer = ShowMessageBox(u"Overwrite?", eMbYesNo);
  SetWindowing(previous);
  dup2(savedIn, 0);
  dup2(savedErr, 2);
  close(savedIn);
  close(savedErr);
  EXPECT_TRUE(isConsole);
  EXPECT_EQ(answer, eIdNo);
  EXPECT_NE(Output().find("Overwrite?"), std::string::npos);
}

}  // namespace
