#include "TemplateDialog.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "GuiText.h"

namespace {

// Buttons and radio buttons take a mnemonic, and so does a label that names the edit
// field after it; other labels are plain text.
bool TakesMnemonic(const std::vector<SDialogControl>& controls, size_t index) {
  const EControlKind kind = controls[index].kind;
  if (kind == EControlKind::eButton || kind == EControlKind::eRadio) return true;
  return kind == EControlKind::eLabel && index + 1 < controls.size() &&
         controls[index + 1].kind == EControlKind::eEdit;
}

char16_t FoldedLetter(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

wxWindow* CreateControl(CWxCommandDialog& dialog, const SDialogControl& control, int mnemonic, bool firstRadio) {
  const int id = control.id == 0 ? wxID_ANY : control.id;
  const wxString label = MnemonicLabel(control.text, mnemonic);
  switch (control.kind) {
    case EControlKind::eLabel:
      return new wxStaticText(&dialog, id, label, wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
    case EControlKind::eButton: {
      // Exact fit: the template, not the toolkit's minimum button width, sizes buttons.
      auto* button = new wxButton(&dialog, id, label, wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
      if (control.isDefault) button->SetDefault();
      return button;
    }
    case EControlKind::eEdit: {
      auto* edit = new wxTextCtrl(&dialog, id, ToWx(control.text));
      dialog.WatchEdit(edit);
      return edit;
    }
    case EControlKind::eRadio:
      return new wxRadioButton(&dialog, id, label, wxDefaultPosition, wxDefaultSize, firstRadio ? wxRB_GROUP : 0);
    case EControlKind::eGroupBox:
      return new wxStaticBox(&dialog, id, ToWx(control.text));
    case EControlKind::eProgress:
      return new wxGauge(&dialog, id, 100, wxDefaultPosition, wxDefaultSize, wxGA_HORIZONTAL | wxGA_SMOOTH);
  }
  return nullptr;
}

// The room a control needs to show itself whole; none for frames and bars.
wxSize NaturalSize(const SDialogControl& control, const wxWindow& window) {
  if (control.kind == EControlKind::eGroupBox || control.kind == EControlKind::eProgress) return {};
  return window.GetBestSize();
}

}  // namespace

SDialogUnits BuildTemplateControls(CWxCommandDialog& dialog, const SDialogTemplate& layout, STemplateTexts& texts) {
  std::vector<CStr> mnemonicTexts;
  for (size_t i = 0; i < layout.controls.size(); ++i)
    mnemonicTexts.push_back(TakesMnemonic(layout.controls, i) ? layout.controls[i].text : CStr());
  const std::vector<int> mnemonics = ChooseMnemonics(mnemonicTexts);

  std::vector<wxWindow*> windows;
  std::vector<SRect> rects;
  std::vector<wxSize> natural;
  bool radioGroupStarted = false;
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const SDialogControl& control = layout.controls[i];
    const bool firstRadio = control.kind == EControlKind::eRadio && !radioGroupStarted;
    radioGroupStarted = radioGroupStarted || control.kind == EControlKind::eRadio;
    wxWindow* window = CreateControl(dialog, control, mnemonics[i], firstRadio);
    if (mnemonics[i] >= 0) dialog.AddMnemonic(FoldedLetter(control.text[size_t(mnemonics[i])]), window);
    if (control.id != 0) {
      texts.texts[control.id] = control.text;
      texts.mnemonics[control.id] = mnemonics[i];
    }
    windows.push_back(window);
    rects.push_back(control.rect);
    natural.push_back(NaturalSize(control, *window));
  }

  const SDialogUnits units = FitDialogUnits(FontDialogUnits(dialog), rects, natural);
  for (size_t i = 0; i < windows.size(); ++i) windows[i]->SetSize(ToPixels(rects[i], units));
  dialog.SetClientSize(ToPixels({0, 0, layout.rect.width, layout.rect.height}, units).GetSize());
  dialog.SetDefaultCommand(layout.DefaultButton());
  dialog.SetEscapeCommand(eIdCancel);
  return units;
}

void SetControlText(CWxCommandDialog& dialog, const STemplateTexts& texts, int id, const CStr& text) {
  wxWindow* window = dialog.FindWindow(id);
  if (!window) return;
  if (auto* edit = dynamic_cast<wxTextCtrl*>(window)) {
    // Changing the text in code is no edit by the user.
    edit->ChangeValue(ToWx(text));
    return;
  }
  const auto original = texts.texts.find(id);
  const auto mnemonic = texts.mnemonics.find(id);
  const bool own = original != texts.texts.end() && original->second == text && mnemonic != texts.mnemonics.end();
  window->SetLabel(MnemonicLabel(text, own ? mnemonic->second : -1));
}
