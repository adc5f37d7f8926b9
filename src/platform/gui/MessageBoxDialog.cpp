#include "MessageBoxDialog.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "DialogLayout.h"
#include "GuiText.h"

namespace {

wxArtID IconArt(unsigned style) {
  switch (style & eMbIconMask) {
    case eMbIconError: return wxART_ERROR;
    case eMbIconQuestion: return wxART_QUESTION;
    case eMbIconWarning: return wxART_WARNING;
    case eMbIconInformation: return wxART_INFORMATION;
    default: return wxArtID();
  }
}

// Lines wrap at about sixty average characters, as message boxes on the templates'
// own system do on a screen of their time.
constexpr int kWrapCharacters = 60;

}  // namespace

long MessageBoxStyle(const SMessageBox& box) {
  return box.EscapeResult() == eIdFailed ? wxCAPTION | wxSYSTEM_MENU : wxDEFAULT_DIALOG_STYLE;
}

void BuildMessageBox(CWxCommandDialog& dialog, const SMessageBox& box) {
  const int gap = dialog.FromDIP(12);
  auto* column = new wxBoxSizer(wxVERTICAL);
  auto* message = new wxBoxSizer(wxHORIZONTAL);
  if (const wxArtID art = IconArt(box.style); !art.empty())
    message->Add(new wxStaticBitmap(&dialog, wxID_ANY, wxArtProvider::GetBitmap(art, wxART_MESSAGE_BOX)), 0,
                 wxRIGHT | wxALIGN_TOP, gap);
  auto* text = new wxStaticText(&dialog, wxID_ANY, wxString());
  // The text is shown as it is: an '&' in a path is no mnemonic.
  text->SetLabelText(ToWx(box.text));
  text->Wrap(dialog.GetCharWidth() * kWrapCharacters);
  message->Add(text, 1, wxALIGN_CENTER_VERTICAL);
  column->Add(message, 1, wxALL | wxEXPAND, gap);

  const std::vector<SButton> buttons = box.Buttons();
  std::vector<CStr> labels;
  for (const SButton& button : buttons) labels.push_back(button.text);
  const std::vector<int> mnemonics = ChooseMnemonics(labels);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->AddStretchSpacer();
  wxButton* defaultButton = nullptr;
  for (size_t i = 0; i < buttons.size(); ++i) {
    auto* button = new wxButton(&dialog, buttons[i].id, MnemonicLabel(buttons[i].text, mnemonics[i]));
    if (mnemonics[i] >= 0) {
      char16_t letter = buttons[i].text[size_t(mnemonics[i])];
      if (letter >= u'A' && letter <= u'Z') letter = char16_t(letter - u'A' + u'a');
      dialog.AddMnemonic(letter, button);
    }
    if (buttons[i].id == box.DefaultButton()) defaultButton = button;
    row->Add(button, 0, wxLEFT, gap / 2);
  }
  column->Add(row, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, gap);
  dialog.SetSizerAndFit(column);

  dialog.SetDefaultCommand(box.DefaultButton());
  dialog.SetEscapeCommand(box.EscapeResult());
  if (defaultButton) {
    defaultButton->SetDefault();
    defaultButton->SetFocus();
  }
}
