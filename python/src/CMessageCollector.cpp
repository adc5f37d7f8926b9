#include "CMessageCollector.h"

namespace FolioPython {

int CMessageCollector::DoMessageBox(const SMessageBox& box) {
  m_messages.push_back(box.text.ToUtf8());
  const std::vector<SButton> buttons = box.Buttons();
  for (int id : {int(eIdCancel), int(eIdNo), int(eIdAbort), int(eIdOk)})
    for (const SButton& button : buttons)
      if (button.id == id) return id;
  return buttons.empty() ? eIdCancel : buttons.front().id;
}

int CMessageCollector::RunModal(const SDialogTemplate& dialog) {
  m_messages.push_back(dialog.LabelText().ToUtf8());
  return eIdCancel;
}

std::string CMessageCollector::Messages() const {
  std::string text;
  for (const std::string& message : m_messages) {
    if (message.empty()) continue;
    if (!text.empty()) text += "\n";
    text += message;
  }
  // Windows line ends in the string table read as plain ones in Python.
  for (std::size_t at; (at = text.find('\r')) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace FolioPython
