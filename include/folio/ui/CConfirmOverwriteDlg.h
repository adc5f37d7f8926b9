#pragma once
#include "folio/platform/ui/CDialog.h"
#include "folio/report/IReportUi.h"
#include "folio/util/Export.h"

// The question asked before an existing report is overwritten: Overwrite, Append or
// Cancel. Every button ends the dialog with the OK result; the caller reads the choice.
class FOLIO_API CConfirmOverwriteDlg : public CDialog, public IConfirmOverwrite {
public:
  enum { IDD = 14302, IDC_OVERWRITE = 14106, IDC_APPEND = 3 };

  explicit CConfirmOverwriteDlg(CWnd* parent = nullptr);
  ~CConfirmOverwriteDlg() override;

  // Dialog 14302 as the windowing layer shows it.
  static SDialogTemplate Template();

  int DoModal() override { return CDialog::DoModal(); }
  // 14106 Overwrite, 3 Append, 2 Cancel; -1 until a button closes the dialog.
  int GetChoice() const override { return m_choice; }

protected:
  bool OnCommand(int id) override;
  // Escape and the close box arrive here too, as the Cancel command.
  void OnCancel() override { OnBnClickedCancel(); }
  void OnBnClickedOverwrite();
  void OnBnClickedAppend();
  void OnBnClickedCancel();

private:
  int m_choice = -1;
};
