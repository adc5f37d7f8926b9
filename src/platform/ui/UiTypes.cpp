#include "folio/platform/ui/UiTypes.h"

#include <algorithm>

namespace {

std::vector<SButton> ButtonSet(unsigned style) {
  switch (style & eMbButtonMask) {
    case eMbOkCancel: return {{eIdOk, u"OK"}, {eIdCancel, u"Cancel"}};
    case eMbAbortRetryIgnore: return {{eIdAbort, u"Abort"}, {eIdRetry, u"Retry"}, {eIdIgnore, u"Ignore"}};
    case eMbYesNoCancel: return {{eIdYes, u"Yes"}, {eIdNo, u"No"}, {eIdCancel, u"Cancel"}};
    case eMbYesNo: return {{eIdYes, u"Yes"}, {eIdNo, u"No"}};
    case eMbRetryCancel: return {{eIdRetry, u"Retry"}, {eIdCancel, u"Cancel"}};
    case eMbCancelTryContinue:
      return {{eIdCancel, u"Cancel"}, {eIdTryAgain, u"Try Again"}, {eIdContinue, u"Continue"}};
    default: return {{eIdOk, u"OK"}};  // unknown sets fall back to OK, as Windows does
  }
}

bool HasButton(const std::vector<SButton>& buttons, int id) {
  return std::any_of(buttons.begin(), buttons.end(), [id](const SButton& b) { return b.id == id; });
}

}  // namespace

std::vector<SButton> SMessageBox::Buttons() const {
  std::vector<SButton> buttons = ButtonSet(style);
  if (style & eMbHelp) buttons.push_back({eIdHelp, u"Help"});
  return buttons;
}

int SMessageBox::DefaultButton() const {
  const std::vector<SButton> buttons = Buttons();
  const size_t index = (style & eMbDefButtonMask) >> 8;
  return index < buttons.size() ? buttons[index].id : buttons.front().id;
}

int SMessageBox::EscapeResult() const {
  const std::vector<SButton> buttons = ButtonSet(style);
  if (HasButton(buttons, eIdCancel)) return eIdCancel;
  if (buttons.size() == 1 && buttons.front().id == eIdOk) return eIdOk;
  return eIdFailed;
}

CStr SMessageBox::IconName() const {
  switch (style & eMbIconMask) {
    case eMbIconError: return u"Error";
    case eMbIconQuestion: return u"Question";
    case eMbIconWarning: return u"Warning";
    case eMbIconInformation: return u"Information";
    default: return CStr();
  }
}

std::vector<SButton> SDialogTemplate::Buttons() const {
  std::vector<SButton> buttons;
  for (const SDialogControl& control : controls)
    if (control.kind == EControlKind::eButton) buttons.push_back({control.id, control.text});
  return buttons;
}

int SDialogTemplate::DefaultButton() const {
  for (const SDialogControl& control : controls)
    if (control.kind == EControlKind::eButton && control.isDefault) return control.id;
  return eIdOk;
}

CStr SDialogTemplate::LabelText() const {
  CStr text;
  for (const SDialogControl& control : controls) {
    if (control.kind != EControlKind::eLabel) continue;
    if (!text.IsEmpty()) text += u'\n';
    text += control.text;
  }
  return text;
}

const SDialogControl* SDialogTemplate::Find(int id) const {
  for (const SDialogControl& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

std::vector<SFileFilter> ParseFileFilter(const CStr& filter) {
  std::vector<CStr> parts;
  CStr::size_type start = 0;
  for (;;) {
    const CStr::size_type bar = filter.Find(u"|", start);
    if (bar == CStr::npos) {
      parts.push_back(filter.Mid(start));
      break;
    }
    parts.push_back(filter.Mid(start, bar - start));
    start = bar + 1;
  }
  std::vector<SFileFilter> filters;
  // An empty description ends the list ("||").
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].IsEmpty(); i += 2)
    filters.push_back({parts[i], parts[i + 1]});
  return filters;
}

SSize DialogUnitsToPixels(const SRect& rect) {
  return {(rect.width * 6 + 2) / 4, (rect.height * 13 + 4) / 8};
}

SControlStates::SControlStates(const SDialogTemplate& dialog) : clientSize(DialogUnitsToPixels(dialog.rect)) {
  for (const SDialogControl& control : dialog.controls) {
    if (control.kind == EControlKind::eProgress) positions[control.id] = 0;
    else if (control.id != 0) texts[control.id] = control.text;
  }
}

CStr SControlStates::Text(int id) const {
  const auto found = texts.find(id);
  return found == texts.end() ? CStr() : found->second;
}

int SControlStates::Position(int id) const {
  const auto found = positions.find(id);
  return found == positions.end() ? 0 : found->second;
}
