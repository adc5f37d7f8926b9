#pragma once
#include "CWxCommandDialog.h"
#include "folio/platform/ui/UiTypes.h"

// Builds the message box into dialog: its icon, text and the style's buttons in their
// order, the default button focused; Escape and the close box give the box's escape
// result, and do nothing where the box has none.
void BuildMessageBox(CWxCommandDialog& dialog, const SMessageBox& box);

// Dialog style for a box: without a close box when it cannot be dismissed.
long MessageBoxStyle(const SMessageBox& box);
