#include "folio/ui/CFolioDlg.h"

#include <optional>

#include "folio/platform/host/CInstallSettings.h"
#include "folio/platform/ui/CSafeFileDialog.h"
#include "folio/report/CFolio.h"
#include "folio/ui/CKoriInifile.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/shell/Shell.h"

using namespace SystemUtils;

namespace {

// The radio buttons in group order: the option index is the position here.
constexpr int kOptionRadios[] = {CFolioDlg::IDC_OPTION_AUTO, CFolioDlg::IDC_OPTION_OVERWRITE,
                                 CFolioDlg::IDC_OPTION_UNCONFIRMED_OVERWRITE, CFolioDlg::IDC_OPTION_APPEND};

// Help context of the migration notice: its string id in the help file's range.
constexpr unsigned kMigrationHelpContext = eStrMigrationNoticeHelp + 0xFFFD0000u;
constexpr unsigned kMigrationNoticeStyle = eMbOk | eMbHelp | eMbIconWarning;

CStr AutoReportExtension(const CStr& templatePath) {
  const CStr extension = GetExtension(templatePath).LowerAscii();
  if (extension == u".htm" || extension == u".html") return u".htm";
  return extension == u".docx" ? CStr(u".docx") : CStr(u".doc");
}

}  // namespace

CFolioDlg::CFolioDlg(CWnd* parent, CFolio* reporter) : CDialog(Template(), nullptr), m_reporter(reporter) {
  // The window's parent is given when it is created, not here.
  (void)parent;
  const CKoriInifile settings;
  m_reporter->SetTemplate(settings.GetDefaultWordTemplate());
  m_reporter->SetReport(settings.GetDefaultWordReport());
  const CEnum& options = CFolio::GetReportOptionsEnum();
  m_reporter->SetReportOptions(static_cast<EReportOptions>(options.GetValue(settings.GetDefaultWordReportOptions())));
  m_templateText = m_reporter->GetTemplate();
  m_reportText = m_reporter->GetReport();
  m_optionIndex = m_reporter->GetReportOptions();
}

CFolioDlg::~CFolioDlg() = default;

SDialogTemplate CFolioDlg::Template() {
  SDialogTemplate dialog;
  dialog.resourceId = IDD;
  dialog.caption = u"Livesheeter";
  dialog.rect = {0, 0, 359, 98};
  using K = EControlKind;
  dialog.controls = {
      {K::eGroupBox, 14014, u"Report Creation Options", {2, 2, 354, 30}, false},
      {K::eRadio, IDC_OPTION_AUTO, u"Auto generated name", {9, 16, 81, 10}, false},
      {K::eRadio, IDC_OPTION_OVERWRITE, u"Overwrite (with confirmation)", {92, 16, 102, 10}, false},
      {K::eRadio, IDC_OPTION_UNCONFIRMED_OVERWRITE, u"Overwrite (without confirmation)", {195, 16, 113, 10}, false},
      {K::eRadio, IDC_OPTION_APPEND, u"Append", {310, 16, 40, 10}, false},
      {K::eLabel, 14016, u"Template:", {2, 41, 32, 8}, false},
      {K::eEdit, IDC_TEMPLATE, u"", {36, 39, 227, 12}, false},
      {K::eButton, IDC_BROWSE_TEMPLATE, u"...", {271, 38, 14, 14}, false},
      {K::eButton, IDC_TEMPLATE_OPEN, u"Open...", {306, 38, 50, 14}, false},
      {K::eLabel, 14013, u"Report:", {2, 63, 24, 8}, false},
      {K::eEdit, IDC_REPORT, u"", {36, 61, 227, 12}, false},
      {K::eButton, IDC_BROWSE_REPORT, u"...", {271, 60, 14, 14}, false},
      {K::eButton, IDC_REPORT_OPEN, u"Open...", {306, 60, 50, 14}, false},
      {K::eButton, IDC_CREATE_REPORT, u"Create Report", {177, 81, 50, 14}, false},
      {K::eButton, eIdOk, u"Close", {235, 81, 50, 14}, false},
      {K::eButton, IDC_HELP, u"Help", {306, 81, 50, 14}, false},
  };
  return dialog;
}

void CFolioDlg::DoDataExchange(bool toControls) {
  if (toControls) {
    m_templateEdit.SetWindowText(m_templateText);
    m_reportEdit.SetWindowText(m_reportText);
    for (int index = 0; index < 4; ++index) CheckDlgButton(kOptionRadios[index], index == m_optionIndex);
    return;
  }
  m_templateText = m_templateEdit.GetWindowText();
  m_reportText = m_reportEdit.GetWindowText();
  for (int index = 0; index < 4; ++index)
    if (IsDlgButtonChecked(kOptionRadios[index])) m_optionIndex = index;
}

bool CFolioDlg::OnInitDialog() {
  m_reportEdit.SubclassDlgItem(IDC_REPORT, this);
  m_templateEdit.SubclassDlgItem(IDC_TEMPLATE, this);
  m_reportEdit.SetValidationCallback([this](CString& text) { return OnValidateReport(text); });
  m_templateEdit.SetValidationCallback([this](CString& text) { return OnValidateTemplate(text); });
  UpdateControls();
  return true;
}

bool CFolioDlg::OnValidateReport(CString& text) {
  return ValidatePath(text, m_reporter->GetReport(), [this](const CStr& path) { m_reporter->SetReport(path); },
                      m_reportText);
}

bool CFolioDlg::OnValidateTemplate(CString& text) {
  return ValidatePath(text, m_reporter->GetTemplate(), [this](const CStr& path) { m_reporter->SetTemplate(path); },
                      m_templateText);
}

bool CFolioDlg::ValidatePath(CString& text, const CStr& current, const std::function<void(const CStr&)>& store,
                             const CStr& shown) {
  const CStr typed = text.ToCStr();
  if (typed != current) {
    store(typed);
    UpdateControls();
    // The update may have changed the report's extension; the field shows the result.
    text = CString(shown);
  }
  return true;
}

void CFolioDlg::UpdateControls() {
  CStr report = m_reporter->GetReport();
  const CStr templatePath = m_reporter->GetTemplate();
  const EReportOptions option = m_reporter->GetReportOptions();

  // A report named by the user takes the template's format, seen in its extension. An
  // empty report stays empty: a bare extension would look like a name and enable Create.
  if (option != eAuto && !report.IsEmpty()) {
    const CStr reportExtension = GetExtension(report);
    const CStr templateExtension = GetExtension(templatePath);
    if (reportExtension.IsEmpty()) report += templateExtension;
    else if (reportExtension.LowerAscii() != templateExtension.LowerAscii() && !templateExtension.IsEmpty())
      report = RemoveExtension(report) + templateExtension;
    m_reporter->SetReport(report);
  }

  EnableDlgItem(IDC_TEMPLATE_OPEN, !templatePath.IsEmpty());
  EnableDlgItem(IDC_REPORT_OPEN, !report.IsEmpty());
  EnableDlgItem(IDC_BROWSE_REPORT, option != eAuto);
  EnableDlgItem(IDC_CREATE_REPORT, !templatePath.IsEmpty() && (!report.IsEmpty() || option == eAuto));

  m_templateText = templatePath;
  m_reportText = report;
  m_reportEdit.SetReadOnly(option == eAuto);
  m_optionIndex = option;
  DoDataExchange(true);
}

bool CFolioDlg::OnCommand(int id) {
  switch (id) {
    case IDC_CREATE_REPORT: OnButtonCreateReport(); return true;
    case IDC_BROWSE_REPORT: OnButtonBrowsereport(); return true;
    case IDC_BROWSE_TEMPLATE: OnButtonBrowsetemplate(); return true;
    case IDC_HELP: OnBnClickedWrButtonHelp(); return true;
    case IDC_REPORT_OPEN: OnButtonReportOpen(); return true;
    case IDC_TEMPLATE_OPEN: OnButtonTemplateOpen(); return true;
    case IDC_OPTION_AUTO: OnBnClickedRadioReportoptionsAuto(); return true;
    case IDC_OPTION_OVERWRITE: OnBnClickedRadioReportoptionsConfirmedOverwrite(); return true;
    case IDC_OPTION_UNCONFIRMED_OVERWRITE: OnBnClickedRadioReportoptionsUnconfirmedOverwrite(); return true;
    case IDC_OPTION_APPEND: OnBnClickedRadioReportoptionsAppend(); return true;
    default: return CDialog::OnCommand(id);
  }
}

void CFolioDlg::OnEditCommitted(int id) {
  if (id == IDC_REPORT) m_reportEdit.Validate();
  else if (id == IDC_TEMPLATE) m_templateEdit.Validate();
}

void CFolioDlg::SetOption(int option) {
  m_reporter->SetReportOptions(static_cast<EReportOptions>(option));
  UpdateControls();
}

void CFolioDlg::OnBnClickedRadioReportoptionsAuto() { SetOption(eAuto); }
void CFolioDlg::OnBnClickedRadioReportoptionsConfirmedOverwrite() { SetOption(eOverwrite); }
void CFolioDlg::OnBnClickedRadioReportoptionsUnconfirmedOverwrite() { SetOption(eUnconfirmedOverwrite); }
void CFolioDlg::OnBnClickedRadioReportoptionsAppend() { SetOption(eAppend); }

void CFolioDlg::OnButtonTemplateOpen() { m_reporter->OpenTemplate(); }
void CFolioDlg::OnButtonReportOpen() { m_reporter->OpenReport(); }

void CFolioDlg::OnBnClickedWrButtonHelp() { GetHelp(IDD); }
bool CFolioDlg::OnHelpInfo(SHelpInfo* request) { return HandleHelpInfo(request, IDD); }

void CFolioDlg::OnBnClickedOk() {
  WriteSettingsToIniFile();
  CDialog::OnOK();
}

void CFolioDlg::OnClose() {
  WriteSettingsToIniFile();
  CDialog::OnClose();
}

void CFolioDlg::DestroyWindow() {
  if (HasWindow()) WriteSettingsToIniFile();
  CDialog::DestroyWindow();
}

void CFolioDlg::WriteSettingsToIniFile() {
  const CKoriInifile settings;
  settings.SetDefaultWordTemplate(m_reporter->GetTemplate());
  settings.SetDefaultWordReport(m_reporter->GetReport());
  settings.SetDefaultWordReportOptions(CFolio::GetReportOptionsEnum().GetName(m_reporter->GetReportOptions()));
}

CStr CFolioDlg::DecideReportPath() {
  const CStr outputFolder = AddTrailingSeparator(GetInstallSettings().GetLivesheetOutputPath());
  if (IsDlgButtonChecked(IDC_OPTION_AUTO))
    return MakeUniqueFileName(outputFolder + u"Report ", AutoReportExtension(m_reporter->GetTemplate()));
  const CStr typed = m_reportEdit.GetWindowText();
  return PathIsRelative(typed) ? outputFolder + typed : typed;
}

bool CFolioDlg::EnsureOutputFolder() {
  const CStr folder = GetFolder(m_reporter->GetReport(), true);
  if (PathIsDirectory(folder)) return true;
  if (ShowStringMessage(eStrOutputFolderMissing, eMbYesNo | eMbIconQuestion, folder) != eIdYes) return false;
  if (CreateFolder(folder)) return true;
  ShowStringMessage(eStrCannotCreateFolder, eMbOk | eMbIconError, folder, 0);
  return false;
}

bool CFolioDlg::RunPasses() {
  bool ok = true;
  m_reporter->SetLivesheeterProcessingType(ePreface);
  m_reporter->SetProcessWholeFileAtOnce(false);
  if (!m_reporter->Activate(ok, true) || !ok) return false;
  // The body and the summary go after the preface, whatever the user chose.
  m_reporter->SetReportOptions(eAppend);
  m_reporter->SetLivesheeterProcessingType(eBody);
  if (!m_reporter->Activate(ok, true) || !ok) return false;
  m_reporter->SetLivesheeterProcessingType(eSummary);
  return m_reporter->Activate(ok, true) && ok;
}

void CFolioDlg::OnButtonCreateReport() {
  ShowWindow(false);
  m_reporter->SetTemplate(m_templateEdit.GetWindowText());
  m_reporter->SetReport(DecideReportPath());
  UpdateControls();
  if (!EnsureOutputFolder()) {
    ShowWindow(true);
    return;
  }

  const EReportOptions chosen = m_reporter->GetReportOptions();
  RunPasses();
  // Whatever happened, the dialog comes back as the user left it, and nothing is held.
  CFolio::ClearTemplateCache();
  m_reporter->SetReportOptions(chosen);
  m_reportEdit.SetWindowText(m_reporter->GetReport());
  UpdateControls();
  ShowWindow(true);
  CFolio::CloseFolioHandles();
  ShowMigrationNotice();
}

void CFolioDlg::ShowMigrationNotice() {
  if (m_reporter->GetReportConversionResult().empty()) return;
  ShowMessageBox(LoadResourceString(eStrMigrationNotice), kMigrationNoticeStyle, kMigrationHelpContext, u"KORI");
}

namespace {

// What differs between the template and the report file dialogs.
struct SPathDialog {
  bool open;
  unsigned flags;
  unsigned filter;
  const char16_t* settingsName;
  CStr initialFolder;
  unsigned title;
  unsigned cannotShow;
};

// Runs the dialog from the field's text; the chosen path, or nothing when the user
// cancelled or the dialog could not be shown (the user is told why).
std::optional<CStr> AskForPath(const SPathDialog& request, const CStr& fieldText) {
  CSafeFileDialog dialog(request.open, CStr(), CStr(), request.flags, LoadResourceString(request.filter));
  dialog.SetStoreSettings(GetInstallSettings().GetIniFilePath(), request.settingsName);
  dialog.SetFileAndDir(fieldText, request.initialFolder, CStr());
  dialog.SetTitle(LoadResourceString(request.title));
  if (!dialog.SafeDoModal()) {
    ShowMessageBox(LoadResourceString(request.cannotShow) + GetCommonDialogErrorText(dialog.GetErrorCode()),
                   eMbOk | eMbIconWarning);
    return std::nullopt;
  }
  if (dialog.GetReturnCode() != eIdOk) return std::nullopt;
  return dialog.GetPathName();
}

}  // namespace

void CFolioDlg::OnButtonBrowsetemplate() {
  const SPathDialog request{true, eOfnFileMustExist | eOfnHideReadOnly, eStrTemplateFilter,
                            u"Folio_OpenTemplateDialog", GetInstallSettings().GetLivesheetTemplatesPath(),
                            eStrTemplateDialogTitle, eStrCannotShowOpenDialog};
  if (const std::optional<CStr> path = AskForPath(request, m_templateEdit.GetWindowText())) {
    m_reporter->SetTemplate(*path);
    UpdateControls();
  }
}

void CFolioDlg::OnButtonBrowsereport() {
  const unsigned filter = m_reporter->GetTemplateFormat() == eHTML ? eStrHtmlReportFilter : eStrWordReportFilter;
  const SPathDialog request{false, eOfnPathMustExist | eOfnHideReadOnly, filter, u"Folio_SaveReportDialog",
                            GetInstallSettings().GetLivesheetOutputPath(), eStrReportDialogTitle,
                            eStrCannotShowSaveDialog};
  if (const std::optional<CStr> path = AskForPath(request, m_reportEdit.GetWindowText())) {
    m_reporter->SetReport(*path);
    UpdateControls();
  }
}
