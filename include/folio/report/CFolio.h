#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"
#include "folio/report/IReportUi.h"
#include "folio/util/CEnum.h"
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Format of a template or report.
enum ELivesheetFormat : std::int32_t { eWord = 0, eHTML = 1, eInvalid = 2 };

// How Activate creates the report.
enum EReportOptions : std::int32_t {
  eAuto = 0,                   // a new report; an existing one is appended to
  eOverwrite = 1,              // overwrite after asking the user
  eUnconfirmedOverwrite = 2,   // overwrite without asking
  eAppend = 3,                 // append to an existing report
};

// Which section of a sectioned template one Activate produces.
enum ELivesheetProcessingType : std::int32_t { ePreface = 0, eBody = 1, eSummary = 2 };

// Where the passes of a sectioned HTML template stand between Activate calls: the next
// placeholder to process, the text position where the body starts and the first
// placeholder after the preface.
struct SSectionCursor {
  std::int32_t nextElementIndex = 0;
  std::int32_t bodyStartPosition = 0;
  std::int32_t firstBodyElementIndex = 0;
};

struct SReportRun;

// The ELivesheetFormat table ("Word", "HTML", "Invalid"); default eInvalid.
FOLIO_API const CEnum& GetLivesheetFormatEnum();

// The reporter a host drives: set template, report, option and pass, install the
// GetValue callback, then Activate.
class FOLIO_API CFolio {
public:
  using GetValueCallback = std::function<void()>;

  CFolio();
  // Copies every field; the GetValue callback moves to the copy. Copy only while
  // neither dialog exists.
  CFolio(CFolio& other);
  CFolio& operator=(CFolio& other);
  virtual ~CFolio();

  // Installs a callback that calls function (and keeps the pointer beside it).
  void InitializeGetValueCallback(void (*function)());
  // Installs any callable as the GetValue callback; an empty one uninstalls it.
  void SetGetValueCallback(GetValueCallback callback);

  void SetTemplate(CStr const& path) { m_template = path; }
  CStr GetTemplate() { return m_template; }
  void SetReport(CStr const& path) { m_report = path; }
  CStr GetReport() const { return m_report; }
  void SetReportOptions(EReportOptions option) { m_reportOption = option; }
  EReportOptions GetReportOptions() const { return m_reportOption; }
  // The last error text an operation stored.
  CStr& GetError() { return m_error; }
  // The record the generators fill and the GetValue callback completes.
  CKORIControlValue& GetKORIControlValue() { return m_controlValue; }
  // True: section tags are ignored and the whole template is produced in one pass.
  void SetProcessWholeFileAtOnce(bool whole) { m_processWholeFileAtOnce = whole; }
  // Sets the pass; ePreface also rewinds the section cursor.
  void SetLivesheeterProcessingType(ELivesheetProcessingType type);
  ELivesheetProcessingType GetLivesheeterProcessingType() const { return m_processingType; }
  // Results the generators recorded; never cleared by the library.
  std::vector<SReportConversionResult>& GetReportConversionResult() { return m_conversionResults; }
  void SetReportConversionResult(SReportConversionResult& result) { m_conversionResults.push_back(result); }

  // eHTML for ".htm" and ".html" in any letter case, eWord for everything else.
  static ELivesheetFormat GetTemplateFormat(CStr const& path);
  ELivesheetFormat GetTemplateFormat() { return GetTemplateFormat(m_template); }
  // The table of report options ("Auto", "Overwrite", ...); default eAuto.
  static const CEnum& GetReportOptionsEnum();

  // Asks the desktop to edit the template or open the report.
  void OpenTemplate();
  void OpenReport();

  // Creates, places and shows the report dialog; false when its window cannot be made.
  bool CreateFolioDialog();
  bool DestroyFolioDialog();
  bool FolioDialogExists() { return m_reportDialog != nullptr; }

  bool CreateProgressDialog();
  bool DestroyProgressDialog();
  bool ProgressDialogExists() { return m_progressDialog != nullptr; }
  // False without a progress dialog; otherwise shows text and percent (clamped by the dialog).
  bool ShowProgress(CStr const& text, int percent);

  // Produces the report. ok (set true by the caller) becomes false when the user cancels
  // or the generator fails; showProgress creates the progress dialog first.
  bool Activate(bool& ok, bool showProgress);
  // Writes a PDF of the report beside it (same name, ".pdf"; HTML through Chromium, Word
  // through LibreOffice); false, after telling the user, when it cannot.
  bool ExportPdf(int timeoutSeconds = 60);
  // Saves the Word document from as to, in the format to's extension names (.docx, .docm,
  // .doc, .rtf; binary formats through LibreOffice); false with error's text when it cannot.
  static bool ConvertWordDocument(CStr const& from, CStr const& to, CStr& error);
  // Whether path holds a picture a report can show (PNG, JPEG, GIF, BMP or TIFF).
  static bool IsPicture(CStr const& path);

  // Appends one finished HTML report to another (copies it when the target is missing).
  bool AppendToHtmlReport(CStr source, CStr target);
  // Appends the Word document source to the end of target (made when missing), in a Word
  // of its own; target is replaced in one step, so a failure leaves it as it was.
  bool AppendToWordReport(CStr source, CStr target);
  // Appends one placeholder, described by value, to the end of a report.
  bool AppendKoriControl(CStr report, CKORIControlValue const& value);

  // Process-wide COM and Word state shared by all reporters.
  static void InitializeCOM();
  static void UnInitializeCOM();
  void ReInitializeCOM();
  static void CloseFolioHandles();
  // Forgets every parsed HTML template; the next report reads its template again.
  static void ClearTemplateCache();

protected:
  bool ActivateHTML(CStr const& output);
  bool ActivateWord(CStr const& output);
  bool AppendKoriControlToWord(CStr const& report, CKORIControlValue const& value);
  bool ProcessHTMLTemplate(CStr const& output);
  bool HasSectionTag(ELivesheetProcessingType type);

private:
  void CopyFrom(CFolio& other);
  bool CopyOutputOverReport(const CStr& output);
  // The arguments of one generator run over this reporter's settings and state.
  SReportRun MakeRun(const CStr& output);

  bool m_continue = true;
  std::unique_ptr<GetValueCallback> m_getValueCallback;
  std::vector<SReportConversionResult> m_conversionResults;
  ELivesheetProcessingType m_processingType = ePreface;
  std::unique_ptr<IReportDialog> m_reportDialog;
  std::unique_ptr<IProgressView> m_progressDialog;
  void (*m_getValueFunction)() = nullptr;
  CStr m_template;
  CStr m_report;
  EReportOptions m_reportOption = eAuto;
  CStr m_error;
  CKORIControlValue m_controlValue;
  bool m_processWholeFileAtOnce = false;
  SSectionCursor m_cursor;
};
