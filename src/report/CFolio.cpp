#include "folio/report/CFolio.h"

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/picture/CPictureInfo.h"
#include "platform/shell/Shell.h"

const CEnum& GetLivesheetFormatEnum() {
  static const CEnum table = [] {
    CEnum t(eInvalid);
    t.Add(eWord, u"Word", LoadResourceString(eStrFormatWord));
    t.Add(eHTML, u"HTML", LoadResourceString(eStrFormatHtml));
    t.Add(eInvalid, u"Invalid", LoadResourceString(eStrFormatInvalid));
    return t;
  }();
  return table;
}

const CEnum& CFolio::GetReportOptionsEnum() {
  static const CEnum table = [] {
    CEnum t(eAuto);
    t.Add(eAuto, u"Auto");
    t.Add(eOverwrite, u"Overwrite");
    t.Add(eUnconfirmedOverwrite, u"UnconfirmedOverwrite");
    t.Add(eAppend, u"Append");
    return t;
  }();
  return table;
}

CFolio::CFolio() { InitializeCOM(); }

CFolio::CFolio(CFolio& other) { CopyFrom(other); }

CFolio& CFolio::operator=(CFolio& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

// Dialogs are not carried over: a reporter is copied only while it has none.
void CFolio::CopyFrom(CFolio& other) {
  m_continue = other.m_continue;
  m_getValueCallback = std::move(other.m_getValueCallback);
  m_conversionResults = other.m_conversionResults;
  m_processingType = other.m_processingType;
  m_getValueFunction = other.m_getValueFunction;
  m_template = other.m_template;
  m_report = other.m_report;
  m_reportOption = other.m_reportOption;
  m_error = other.m_error;
  m_controlValue = other.m_controlValue;
  m_processWholeFileAtOnce = other.m_processWholeFileAtOnce;
  m_cursor = other.m_cursor;
}

CFolio::~CFolio() {
  DestroyProgressDialog();
  DestroyFolioDialog();
}

void CFolio::InitializeGetValueCallback(void (*function)()) {
  m_getValueFunction = function;
  if (function) m_getValueCallback = std::make_unique<GetValueCallback>(function);
  else m_getValueCallback.reset();
}

void CFolio::SetGetValueCallback(GetValueCallback callback) {
  if (callback) m_getValueCallback = std::make_unique<GetValueCallback>(std::move(callback));
  else m_getValueCallback.reset();
}

void CFolio::SetLivesheeterProcessingType(ELivesheetProcessingType type) {
  m_processingType = type;
  if (type == ePreface) {
    m_cursor.nextElementIndex = 0;
    m_cursor.bodyStartPosition = 0;
  }
}

ELivesheetFormat CFolio::GetTemplateFormat(CStr const& path) {
  const CStr extension = SystemUtils::GetExtension(path).LowerAscii();
  return extension == u".html" || extension == u".htm" ? eHTML : eWord;
}

void CFolio::OpenTemplate() { ShellExecute(u"edit", m_template); }

void CFolio::OpenReport() { ShellExecute(u"open", m_report); }

namespace {

// Both windows sit near the top-right corner of the screen, 10 pixels from its edge.
void PlaceTopRight(IReportWindow& window, int top) {
  const int screenWidth = GetWindowing().GetScreenSize().width;
  window.MoveTo({screenWidth - window.GetClientSize().width - 10, top});
}

// Destroys the window, if any, then the object; false when there was none.
template <typename Window>
bool DestroyOwned(std::unique_ptr<Window>& window) {
  if (!window) return false;
  if (window->HasWindow()) window->DestroyWindow();
  window.reset();
  return true;
}

}  // namespace

bool CFolio::CreateFolioDialog() {
  if (!m_reportDialog) {
    const std::shared_ptr<IReportUiFactory> factory = GetReportUiFactory();
    if (!factory) return false;
    m_reportDialog = factory->MakeReportDialog(*this);
    if (!m_reportDialog) return false;
  }
  if (!m_reportDialog->HasWindow() && !m_reportDialog->Create()) return false;
  PlaceTopRight(*m_reportDialog, 30);
  m_reportDialog->Show();
  return true;
}

bool CFolio::DestroyFolioDialog() { return DestroyOwned(m_reportDialog); }

bool CFolio::CreateProgressDialog() {
  if (!m_progressDialog) {
    const std::shared_ptr<IReportUiFactory> factory = GetReportUiFactory();
    if (!factory) return false;
    std::unique_ptr<IProgressView> dialog = factory->MakeProgressView();
    if (!dialog || !dialog->Create()) return false;
    PlaceTopRight(*dialog, 10);
    m_progressDialog = std::move(dialog);
  }
  m_progressDialog->Show();
  return true;
}

bool CFolio::DestroyProgressDialog() { return DestroyOwned(m_progressDialog); }

bool CFolio::ShowProgress(CStr const& text, int percent) {
  if (!m_progressDialog) return false;
  m_progressDialog->SetProgress(text, percent);
  return true;
}

bool CFolio::IsPicture(CStr const& path) { return CPictureInfo::ReadFile(path).has_value(); }
