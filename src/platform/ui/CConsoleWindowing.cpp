#include "folio/platform/ui/CConsoleWindowing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "CConsoleWindow.h"

namespace {

namespace fs = std::filesystem;

struct SQuestion {
  CStr caption;
  CStr text;
  CStr icon;
  std::vector<SButton> buttons;
  int defaultButton = eIdOk;
  int escapeResult = eIdCancel;  // eIdFailed when Escape does nothing
  int safeAnswer = eIdCancel;
};

bool HasButton(const std::vector<SButton>& buttons, int id) {
  return std::any_of(buttons.begin(), buttons.end(), [id](const SButton& b) { return b.id == id; });
}

// The answer that changes nothing: Cancel, else No, else Abort, else OK.
int SafeAnswer(const std::vector<SButton>& buttons) {
  for (int id : {int(eIdCancel), int(eIdNo), int(eIdAbort), int(eIdOk)})
    if (HasButton(buttons, id)) return id;
  return buttons.empty() ? eIdCancel : buttons.front().id;
}

std::string ButtonText(const std::vector<SButton>& buttons, int id) {
  for (const SButton& button : buttons)
    if (button.id == id) return button.text.ToUtf8();
  return std::to_string(id);
}

// "Caption: warning: text" with Windows line ends made plain.
std::string MessageLines(const SQuestion& question) {
  CStr text = question.text;
  text.Replace(u"\r\n", u"\n");
  text.Replace(u"\r", u"\n");
  std::string out;
  if (!question.caption.IsEmpty()) out += question.caption.ToUtf8() + ": ";
  if (!question.icon.IsEmpty()) out += question.icon.LowerAscii().ToUtf8() + ": ";
  return out + text.ToUtf8() + "\n";
}

struct SHotkey {
  int id;
  char key;            // lower case
  std::string label;   // "[R]etry"
};

// Each button's key: the first letter or digit of its text that no earlier button took.
std::vector<SHotkey> Hotkeys(const std::vector<SButton>& buttons) {
  std::vector<SHotkey> keys;
  std::string taken;
  for (const SButton& button : buttons) {
    const std::string text = button.text.ToUtf8();
    size_t at = std::string::npos;
    for (size_t i = 0; i < text.size() && at == std::string::npos; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c < 0x80 && std::isalnum(c) && taken.find(static_cast<char>(std::tolower(c))) == std::string::npos) at = i;
    }
    if (at == std::string::npos) {
      char digit = '1';
      while (taken.find(digit) != std::string::npos) ++digit;
      keys.push_back({button.id, digit, "[" + std::string(1, digit) + "] " + text});
    } else {
      const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
      keys.push_back({button.id, key, text.substr(0, at) + "[" + text[at] + "]" + text.substr(at + 1)});
    }
    taken += keys.back().key;
  }
  return keys;
}

bool IsNotice(const std::vector<SButton>& buttons) {
  return std::all_of(buttons.begin(), buttons.end(),
                     [](const SButton& b) { return b.id == eIdOk || b.id == eIdHelp; });
}

int Ask(SConsoleState& state, const SQuestion& question) {
  CConsoleWindow* line = state.line;
  if (line) line->Suspend();
  const CTerminal& terminal = state.terminal;
  terminal.Write(MessageLines(question));

  int answer = question.safeAnswer;
  if (IsNotice(question.buttons)) {
    answer = eIdOk;
  } else if (!terminal.InputIsTerminal() || !terminal.OutputIsTerminal()) {
    std::string names;
    for (const SButton& button : question.buttons) names += (names.empty() ? "" : "/") + button.text.ToUtf8();
    terminal.Write((question.caption.IsEmpty() ? std::string() : question.caption.ToUtf8() + ": ") +
                   "answered " + ButtonText(question.buttons, answer) + " (" + names +
                   "; no terminal to ask)\n");
  } else {
    const std::vector<SHotkey> keys = Hotkeys(question.buttons);
    std::string prompt;
    for (const SHotkey& key : keys) prompt += key.label + "  ";
    prompt += "(Enter: " + ButtonText(question.buttons, question.defaultButton);
    if (question.escapeResult != eIdFailed) prompt += ", Esc: " + ButtonText(question.buttons, question.escapeResult);
    terminal.Write(prompt + ") ");
    for (;;) {
      const int key = terminal.ReadKey();
      if (key == CTerminal::kEnd) break;  // the safe answer
      if (key == '\r' || key == '\n') { answer = question.defaultButton; break; }
      if (key == CTerminal::kEscape) {
        if (question.escapeResult == eIdFailed) continue;
        answer = question.escapeResult;
        break;
      }
      const auto hit = std::find_if(keys.begin(), keys.end(), [key](const SHotkey& k) {
        return key < 0x80 && k.key == std::tolower(key);
      });
      if (hit != keys.end()) { answer = hit->id; break; }
    }
    terminal.Write(ButtonText(question.buttons, answer) + "\n");
  }
  if (line && state.line == line) line->Resume();
  return answer;
}

std::string FilterLine(const CStr& filter) {
  std::string line;
  for (const SFileFilter& entry : ParseFileFilter(filter))
    line += (line.empty() ? "" : ", ") + entry.description.ToUtf8();
  return line;
}

// A typed path made complete: relative to the initial folder, default extension added.
fs::path CompletePath(const std::string& typed, const SFileDialog& request) {
  fs::path path = fs::path(typed);
  if (path.is_relative() && !request.initialFolder.IsEmpty())
    path = fs::path(request.initialFolder.ToUtf8()) / path;
  std::string extension = request.defaultExtension.ToUtf8();
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  if (!path.has_extension() && !extension.empty()) path += "." + extension;
  return fs::absolute(path).lexically_normal();
}

// Why the path cannot be taken, or empty.
std::string Refusal(const fs::path& path, const SFileDialog& request) {
  std::error_code error;
  if ((request.flags & eOfnFileMustExist) && !fs::is_regular_file(path, error))
    return "File not found: " + path.string();
  const fs::path folder = path.parent_path();
  if ((request.flags & (eOfnPathMustExist | eOfnFileMustExist)) && !fs::is_directory(folder, error))
    return "Folder not found: " + folder.string();
  return std::string();
}

}  // namespace

CConsoleWindowing::CConsoleWindowing(int inputFd, int outputFd)
    : m_state(std::make_shared<SConsoleState>(SConsoleState{CTerminal(inputFd, outputFd)})) {}

CConsoleWindowing::~CConsoleWindowing() = default;

int CConsoleWindowing::DoMessageBox(const SMessageBox& box) {
  SQuestion question;
  question.caption = box.caption;
  question.text = box.text;
  question.icon = box.IconName();
  question.buttons = box.Buttons();
  question.defaultButton = box.DefaultButton();
  question.escapeResult = box.EscapeResult();
  question.safeAnswer = SafeAnswer(question.buttons);
  return Ask(*m_state, question);
}

int CConsoleWindowing::RunModal(const SDialogTemplate& dialog) {
  SQuestion question;
  question.caption = dialog.caption;
  question.text = dialog.LabelText();
  question.buttons = dialog.Buttons();
  question.defaultButton = dialog.DefaultButton();
  // A dialog's Escape and close box always issue Cancel.
  question.escapeResult = eIdCancel;
  question.safeAnswer = eIdCancel;
  if (question.buttons.empty() || IsNotice(question.buttons)) question.buttons.push_back({eIdCancel, u"Cancel"});
  return Ask(*m_state, question);
}

std::unique_ptr<IDialogWindow> CConsoleWindowing::CreateModeless(const SDialogTemplate& dialog) {
  if (!CConsoleWindow::CanShow(dialog)) return nullptr;
  return std::make_unique<CConsoleWindow>(m_state, dialog);
}

SSize CConsoleWindowing::GetScreenSize() const {
  // Windows are one line each, placed nowhere in particular; any width will do.
  return {m_state->terminal.Columns(), 1};
}

SFileDialogResult CConsoleWindowing::FileDialog(const SFileDialog& request) {
  const CTerminal& terminal = m_state->terminal;
  CConsoleWindow* line = m_state->line;
  if (line) line->Suspend();
  const std::string title = request.title.IsEmpty() ? std::string(request.open ? "Open" : "Save As")
                                                    : request.title.ToUtf8();
  SFileDialogResult result{eIdCancel, CStr(), 0};
  if (!terminal.InputIsTerminal() || !terminal.OutputIsTerminal()) {
    terminal.Write(GetApplicationTitle().ToUtf8() + ": " + title + ": cancelled (no terminal to ask)\n");
  } else {
    const std::string filters = FilterLine(request.filter);
    if (!filters.empty()) terminal.Write(title + " (" + filters + ")\n");
    const std::string initial = request.initialFile.ToUtf8();
    for (;;) {
      terminal.Write(title + (initial.empty() ? "" : " [" + initial + "]") + " (empty line or Ctrl-D cancels): ");
      std::optional<std::string> typed = terminal.ReadLine();
      if (!typed) { terminal.Write("\n"); break; }
      if (typed->empty()) {
        if (initial.empty()) break;
        typed = initial;
      }
      const fs::path path = CompletePath(*typed, request);
      const std::string refusal = Refusal(path, request);
      if (refusal.empty()) {
        result = {eIdOk, CStr::FromUtf8(path.string()), 0};
        break;
      }
      terminal.Write(refusal + "\n");
    }
  }
  if (line && m_state->line == line) line->Resume();
  return result;
}
