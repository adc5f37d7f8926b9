#include "folio/platform/ui/CScriptedWindowing.h"

#include <algorithm>
#include <string>

#include "CControlWindow.h"

namespace {

using EKind = SShownItem::EKind;

bool HasButton(const std::vector<SButton>& buttons, int id) {
  return std::any_of(buttons.begin(), buttons.end(), [id](const SButton& b) { return b.id == id; });
}

std::string Describe(const SShownItem& item) {
  std::string text;
  switch (item.kind) {
    case EKind::eMessageBox: text = "message box"; break;
    case EKind::eDialog: text = "dialog " + std::to_string(item.resourceId); break;
    case EKind::eFileDialog: text = "file dialog"; break;
    default: text = "window event"; break;
  }
  text += " \"" + item.caption.ToUtf8() + "\": \"" + item.text.ToUtf8() + "\"";
  if (!item.buttons.empty()) {
    text += " with buttons";
    for (const SButton& button : item.buttons)
      text += " " + button.text.ToUtf8() + "(" + std::to_string(button.id) + ")";
  }
  return text;
}

class CScriptedWindow : public CControlWindow {
public:
  CScriptedWindow(std::shared_ptr<SScriptedWindowState> state,
                  std::shared_ptr<std::vector<SShownItem>> log)
      : CControlWindow(*state), m_state(std::move(state)), m_log(std::move(log)) {
    Record(EKind::eWindowCreated);
  }
  ~CScriptedWindow() override {
    m_state->handler = nullptr;
    m_state->destroyed = true;
    m_state->visible = false;
    Record(EKind::eWindowDestroyed);
  }

  void Show(bool visible) override {
    m_state->visible = visible;
    Record(visible ? EKind::eWindowShown : EKind::eWindowHidden);
  }
  bool IsVisible() const override { return m_state->visible; }
  void SetItemText(int id, const CStr& text) override {
    CControlWindow::SetItemText(id, text);
    SShownItem& item = Record(EKind::eItemText);
    item.itemId = id;
    item.text = text;
  }
  void SetProgressPos(int id, int position) override {
    CControlWindow::SetProgressPos(id, position);
    SShownItem& item = Record(EKind::eProgressPos);
    item.itemId = id;
    item.position = position;
  }
  void SetEventHandler(EventHandler handler) override { m_state->handler = std::move(handler); }
  void Invalidate() override {
    ++m_state->invalidations;
    Record(EKind::eWindowInvalidated);
  }

private:
  SShownItem& Record(EKind kind) {
    SShownItem item;
    item.kind = kind;
    item.resourceId = m_state->dialog.resourceId;
    item.caption = m_state->dialog.caption;
    m_log->push_back(std::move(item));
    return m_log->back();
  }

  std::shared_ptr<SScriptedWindowState> m_state;
  std::shared_ptr<std::vector<SShownItem>> m_log;
};

}  // namespace

CScriptedWindowing& CScriptedWindowing::Press(int id) {
  m_answers.push_back({SAnswer::EKind::ePress, id, CStr(), 0});
  return *this;
}

CScriptedWindowing& CScriptedWindowing::PressEscape() {
  m_answers.push_back({SAnswer::EKind::eEscape, 0, CStr(), 0});
  return *this;
}

CScriptedWindowing& CScriptedWindowing::PressClose() {
  m_answers.push_back({SAnswer::EKind::eClose, 0, CStr(), 0});
  return *this;
}

CScriptedWindowing& CScriptedWindowing::ChooseFile(const CStr& path) {
  m_answers.push_back({SAnswer::EKind::eFile, 0, path});
  return *this;
}

CScriptedWindowing& CScriptedWindowing::FailToShow(unsigned long errorCode) {
  m_answers.push_back({SAnswer::EKind::eFail, 0, CStr(), errorCode});
  return *this;
}

std::vector<CStr> CScriptedWindowing::MessageTexts() const {
  std::vector<CStr> texts;
  for (const SShownItem& item : *m_shown)
    if (item.kind == EKind::eMessageBox) texts.push_back(item.text);
  return texts;
}

int CScriptedWindowing::PressButton(const SShownItem& question, int id) {
  if (!HasButton(question.buttons, id))
    Unexpected(question, ("the script presses " + std::to_string(id) + ", which it does not have").c_str());
  return id;
}

void CScriptedWindowing::Unexpected(const SShownItem& question, const char* why) {
  throw EUnexpectedQuestion("unexpected " + Describe(question) + ": " + why);
}

int CScriptedWindowing::DoMessageBox(const SMessageBox& box) {
  SShownItem item;
  item.kind = EKind::eMessageBox;
  item.caption = box.caption;
  item.text = box.text;
  item.buttons = box.Buttons();
  item.style = box.style;
  item.helpContext = box.helpContext;
  m_shown->push_back(item);
  int& answer = m_shown->back().answer;

  if (m_answers.empty()) {
    if (!m_noticesNeedAnswers && item.buttons == std::vector<SButton>{{eIdOk, u"OK"}})
      return answer = eIdOk;
    Unexpected(item, "no scripted answer left");
  }
  const SAnswer next = m_answers.front();
  m_answers.pop_front();
  switch (next.kind) {
    case SAnswer::EKind::ePress:
      return answer = PressButton(item, next.id);
    case SAnswer::EKind::eEscape:
    case SAnswer::EKind::eClose:
      if (box.EscapeResult() == eIdFailed)
        Unexpected(item, "the script presses Escape or closes it, which it does not allow");
      return answer = box.EscapeResult();
    default:
      Unexpected(item, "the script's next answer is for a file dialog");
  }
}

int CScriptedWindowing::RunModal(const SDialogTemplate& dialog) {
  SShownItem item;
  item.kind = EKind::eDialog;
  item.resourceId = dialog.resourceId;
  item.caption = dialog.caption;
  item.text = dialog.LabelText();
  item.buttons = dialog.Buttons();
  m_shown->push_back(item);
  int& answer = m_shown->back().answer;

  if (m_answers.empty()) Unexpected(item, "no scripted answer left");
  const SAnswer next = m_answers.front();
  m_answers.pop_front();
  switch (next.kind) {
    case SAnswer::EKind::ePress:
      return answer = PressButton(item, next.id);
    case SAnswer::EKind::eEscape:
    case SAnswer::EKind::eClose: return answer = eIdCancel;
    case SAnswer::EKind::eFail: return answer = eIdFailed;
    default: Unexpected(item, "the script's next answer is a file");
  }
}

std::unique_ptr<IDialogWindow> CScriptedWindowing::CreateModeless(const SDialogTemplate& dialog) {
  if (!m_canCreateWindows) return nullptr;
  auto state = std::make_shared<SScriptedWindowState>();
  static_cast<SControlStates&>(*state) = SControlStates(dialog);
  state->dialog = dialog;
  m_windows.push_back(state);
  return std::make_unique<CScriptedWindow>(state, m_shown);
}

SFileDialogResult CScriptedWindowing::FileDialog(const SFileDialog& request) {
  SShownItem item;
  item.kind = EKind::eFileDialog;
  item.caption = request.title;
  item.text = request.initialFile;
  item.style = request.flags;
  m_shown->push_back(item);
  SShownItem& shown = m_shown->back();

  if (m_answers.empty()) Unexpected(item, "no scripted answer left");
  const SAnswer next = m_answers.front();
  m_answers.pop_front();
  switch (next.kind) {
    case SAnswer::EKind::eFile:
      shown.answer = eIdOk;
      shown.path = next.path;
      return {eIdOk, next.path, 0};
    case SAnswer::EKind::eEscape:
    case SAnswer::EKind::eClose:
      shown.answer = eIdCancel;
      return {eIdCancel, CStr(), 0};
    case SAnswer::EKind::ePress:
      if (next.id != eIdCancel) Unexpected(item, "the script presses a button other than Cancel");
      shown.answer = eIdCancel;
      return {eIdCancel, CStr(), 0};
    case SAnswer::EKind::eFail:
      shown.answer = eIdFailed;
      return {eIdFailed, CStr(), next.errorCode};
  }
  Unexpected(item, "no fitting answer");
}

void SScriptedWindowState::Require(int id, bool editable) const {
  const SDialogControl* control = dialog.Find(id);
  std::string why;
  if (destroyed || !visible) why = "the window is not shown";
  else if (!control) why = "the window has no such control";
  else if (disabled.contains(id)) why = "the control is disabled";
  else if (editable && (control->kind != EControlKind::eEdit || readOnly.contains(id)))
    why = "the control takes no typing";
  else if (!handler) why = "nothing listens to the window";
  if (!why.empty())
    throw EUnexpectedQuestion("window " + std::to_string(dialog.resourceId) + ", control " +
                              std::to_string(id) + ": " + why);
}

void SScriptedWindowState::Click(int id) {
  Require(id, false);
  const SDialogControl* control = dialog.Find(id);
  if (control->kind == EControlKind::eRadio) {
    // Radio buttons of a dialog form one group here: ours have one group each.
    for (const SDialogControl& other : dialog.controls)
      if (other.kind == EControlKind::eRadio) checked.erase(other.id);
    checked.insert(id);
  }
  // A copy: the handler may destroy the window, and with it the stored handler.
  const IDialogWindow::EventHandler call = handler;
  call(id, EControlEvent::eClicked);
}

void SScriptedWindowState::Type(int id, const CStr& text) {
  Require(id, true);
  texts[id] = text;
  const IDialogWindow::EventHandler call = handler;
  call(id, EControlEvent::eEditCommitted);
}

void SScriptedWindowState::RequestClose() {
  if (destroyed || !visible || !handler)
    throw EUnexpectedQuestion("window " + std::to_string(dialog.resourceId) + " cannot be closed: it is not shown");
  const IDialogWindow::EventHandler call = handler;
  call(0, EControlEvent::eCloseRequested);
}
