#pragma once
#include <functional>

#include "folio/platform/ui/CWnd.h"
#include "folio/util/CString.h"
#include "folio/util/Export.h"

// A dialog's edit field whose text is checked when the user leaves it. The check may
// change the text; the field then shows the changed text.
class FOLIO_API CStringEdit {
public:
  // Gets the text by reference; returns whether it is accepted.
  using ValidationCallback = std::function<bool(CString&)>;

  // Binds the field to control id of dialog.
  void SubclassDlgItem(int id, CWnd* dialog);
  void SetValidationCallback(ValidationCallback callback) { m_validate = std::move(callback); }
  int GetDlgCtrlID() const { return m_id; }

  CStr GetWindowText() const;
  void SetWindowText(const CStr& text);
  void SetReadOnly(bool readOnly);

  // Runs the check over the field's text and shows what it leaves; false when it
  // refused the text. A field without a check accepts everything.
  bool Validate();

private:
  int m_id = 0;
  CWnd* m_dialog = nullptr;
  ValidationCallback m_validate;
};
