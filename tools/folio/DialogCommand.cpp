#include "DialogCommand.h"

#include <memory>

#include "CValueAnswerer.h"
#include "CWorkFolder.h"
#include "ExitCodes.h"
#include "ValuesFile.h"
#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/ui/CFolioDlg.h"
#include "folio/util/SystemUtils.h"

namespace FolioCli {
namespace {

// Answers the dialog's runs. Each Create Report starts with a preface pass; the run's
// facts (report name, date) are taken afresh there.
class CDialogAnswers {
public:
  CDialogAnswers(const SValuesFile& values, CFolio& folio) : m_values(values), m_folio(folio) {}

  void Answer() {
    const ELivesheetProcessingType pass = m_folio.GetLivesheeterProcessingType();
    if (!m_answerer || (pass == ePreface && m_lastPass != ePreface)) {
      m_answerer.reset();
      m_pictures = std::make_unique<CPictureCopies>();
      m_answerer.emplace(m_values, SRunFacts::ForReport(m_folio.GetReport(), 1), *m_pictures);
    }
    if (pass != m_lastPass) m_answerer->BeginPass(pass, 0);
    m_lastPass = pass;
    m_answerer->Answer(m_folio.GetKORIControlValue());
  }

private:
  const SValuesFile& m_values;
  CFolio& m_folio;
  std::unique_ptr<CPictureCopies> m_pictures;
  std::optional<CValueAnswerer> m_answerer;
  std::optional<ELivesheetProcessingType> m_lastPass;
};

}  // namespace

int RunDialog(const SDialogRequest& request, std::ostream& out, std::ostream& err) {
  (void)out;
  SValuesFile values;
  if (!request.valuesPath.empty()) {
    try {
      values = LoadValuesFile(request.valuesPath);
    } catch (const EValuesFile& e) {
      err << "folio: " << e.what() << "\n";
      return eExitUsage;
    }
  }
  const CWorkFolder work;
  CFolio folio;
  CDialogAnswers answers(values, folio);
  folio.SetGetValueCallback([&answers] { answers.Answer(); });

  CFolioDlg dialog(nullptr, &folio);
  if (!request.templatePath.empty()) {
    std::error_code ec;
    folio.SetTemplate(SystemUtils::FromFsPath(std::filesystem::absolute(request.templatePath, ec)));
  }
  if (!dialog.Create()) {
    err << "folio: the report dialog needs a desktop (no display, or Folio was built without its dialogs)\n";
    return eExitUsage;
  }
  // The dialog is this program's only window: it goes in the middle of the screen.
  IWindowing& windowing = GetWindowing();
  const SSize screen = windowing.GetScreenSize();
  const SSize size = dialog.GetClientSize();
  dialog.MoveTo({(screen.width - size.width) / 2, (screen.height - size.height) / 3});
  dialog.Show();
  // Create Report hides the dialog only while it runs, inside the click; the user
  // closes it with Close, Escape or the close box.
  windowing.ProcessEventsUntil([&dialog] { return !dialog.IsWindowVisible(); });
  dialog.DestroyWindow();
  return eExitOk;
}

}  // namespace FolioCli
