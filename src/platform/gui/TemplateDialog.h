#pragma once
#include <map>

#include "CWxCommandDialog.h"
#include "DialogLayout.h"
#include "folio/platform/ui/UiTypes.h"

// What a built dialog remembers of its template: the texts as given (without
// mnemonics) and each control's mnemonic, by control id.
struct STemplateTexts {
  std::map<int, CStr> texts;
  std::map<int, int> mnemonics;
};

// Creates the template's controls in dialog in the table's order, which is the tab
// order, placed in dialog units of the dialog's font, stretched where the toolkit's
// controls need more room; sets the client size and the default and escape commands.
// Returns the units used.
SDialogUnits BuildTemplateControls(CWxCommandDialog& dialog, const SDialogTemplate& layout, STemplateTexts& texts);

// Sets a control's text as a template text: the label keeps its mnemonic while the
// text is the template's own.
void SetControlText(CWxCommandDialog& dialog, const STemplateTexts& texts, int id, const CStr& text);
