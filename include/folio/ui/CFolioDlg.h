#pragma once
#include <functional>

#include "folio/platform/ui/CDialog.h"
#include "folio/platform/ui/CStringEdit.h"
#include "folio/report/IReportUi.h"
#include "folio/util/CString.h"
#include "folio/util/Export.h"

class CFolio;

// The report dialog: the user picks a template and a report, chooses how the report
// file is made and presses Create Report. It edits its reporter's template, report and
// option directly, and keeps the last choices in the host's settings file.
class FOLIO_API CFolioDlg : public CDialog, public IReportDialog {
public:
  enum {
    IDD = 14101,
    IDC_CREATE_REPORT = 14000,
    IDC_BROWSE_REPORT = 14001,
    IDC_BROWSE_TEMPLATE = 14002,
    IDC_HELP = 14003,
    IDC_REPORT_OPEN = 14004,
    IDC_TEMPLATE_OPEN = 14005,
    IDC_REPORT = 14006,
    IDC_TEMPLATE = 14007,
    IDC_OPTION_APPEND = 14009,
    IDC_OPTION_AUTO = 14010,
    IDC_OPTION_OVERWRITE = 14011,
    IDC_OPTION_UNCONFIRMED_OVERWRITE = 14012,
  };

  // Reads the last choices into reporter, which must outlive the dialog. The window
  // is made later, by Create.
  CFolioDlg(CWnd* parent, CFolio* reporter);
  ~CFolioDlg() override;

  // Dialog 14101 as the windowing layer shows it.
  static SDialogTemplate Template();

  void WriteSettingsToIniFile();
  // Writes the settings, then destroys the window.
  void DestroyWindow() override;
  void OnBnClickedOk();
  void OnBnClickedWrButtonHelp();
  bool OnHelpInfo(SHelpInfo* request);

  bool Create() override { return CreateModeless(GetParent()); }
  bool HasWindow() const override { return CDialog::HasWindow(); }
  void Show() override { ShowWindow(true); }
  SSize GetClientSize() const override { return CDialog::GetClientSize(); }
  void MoveTo(SPoint topLeft) override { MoveWindow(topLeft); }

protected:
  // Moves the members into the controls (toControls) or the controls into the members.
  void DoDataExchange(bool toControls);
  bool OnInitDialog() override;
  void UpdateControls();
  bool OnValidateReport(CString& text);
  bool OnValidateTemplate(CString& text);
  void OnButtonCreateReport();
  void OnButtonBrowsetemplate();
  void OnButtonBrowsereport();
  void OnButtonTemplateOpen();
  void OnButtonReportOpen();
  void OnBnClickedRadioReportoptionsAuto();
  void OnBnClickedRadioReportoptionsConfirmedOverwrite();
  void OnBnClickedRadioReportoptionsUnconfirmedOverwrite();
  void OnBnClickedRadioReportoptionsAppend();
  void OnClose() override;

  bool OnCommand(int id) override;
  void OnOK() override { OnBnClickedOk(); }
  void OnEditCommitted(int id) override;

private:
  // Stores a typed path that differs from current and answers with what the field shows
  // after the update (shown refers to the member the update fills).
  bool ValidatePath(CString& text, const CStr& current, const std::function<void(const CStr&)>& store,
                    const CStr& shown);
  void SetOption(int option);
  // The report path Create Report writes to; empty when the user gave up.
  CStr DecideReportPath();
  bool EnsureOutputFolder();
  // The three passes; false when one failed.
  bool RunPasses();
  void ShowMigrationNotice();

  CStringEdit m_reportEdit;
  CStringEdit m_templateEdit;
  CStr m_templateText;
  CStr m_reportText;
  int m_optionIndex = 0;
  CFolio* m_reporter = nullptr;
};
