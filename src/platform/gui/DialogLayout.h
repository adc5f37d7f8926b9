#pragma once
#include <vector>

#include <wx/gdicmn.h>
#include <wx/string.h>

#include "folio/platform/ui/UiTypes.h"

class wxWindow;

// Pixels per dialog unit, across and down.
struct SDialogUnits {
  double x = 1.5;
  double y = 1.625;
};

// The dialog units of window's font, measured the way the templates were designed:
// a quarter of the average width of the Latin letters and an eighth of the line height.
SDialogUnits FontDialogUnits(const wxWindow& window);

// Units stretched, evenly across the dialog, until each control's natural size (the
// toolkit's padding and indicators included) fits the rectangle its table gives it.
// natural[i] belongs to rects[i]; empty sizes ask for nothing.
SDialogUnits FitDialogUnits(SDialogUnits font, const std::vector<SRect>& rects, const std::vector<wxSize>& natural);

wxRect ToPixels(const SRect& rect, SDialogUnits units);

// Each text's mnemonic: the index of its letter, or -1. A free first letter of a word
// is preferred, then any free letter or digit; earlier texts choose first.
std::vector<int> ChooseMnemonics(const std::vector<CStr>& texts);

// The toolkit's label for text: '&' doubled, and '&' before the mnemonic letter.
wxString MnemonicLabel(const CStr& text, int mnemonic);
