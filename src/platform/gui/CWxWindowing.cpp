#include "CWxWindowing.h"

#include <filesystem>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>

#include "CWxDialogWindow.h"
#include "GuiText.h"
#include "MessageBoxDialog.h"
#include "TemplateDialog.h"
#include "WxApp.h"
#include "folio/platform/ui/GuiWindowing.h"

namespace {

wxString Wildcard(const CStr& filter) {
  wxString wildcard;
  for (const SFileFilter& entry : ParseFileFilter(filter)) {
    if (!wildcard.empty()) wildcard += "|";
    wildcard += ToWx(entry.description) + "|" + ToWx(entry.patterns);
  }
  return wildcard;
}

long FileDialogStyle(const SFileDialog& request) {
  if (!request.open) return wxFD_SAVE;
  return wxFD_OPEN | ((request.flags & eOfnFileMustExist) ? wxFD_FILE_MUST_EXIST : 0);
}

// A name typed without an extension in a Save dialog gets the default one.
CStr WithDefaultExtension(const CStr& path, const SFileDialog& request) {
  if (request.open || request.defaultExtension.IsEmpty()) return path;
  if (std::filesystem::path(path.ToUtf8()).has_extension()) return path;
  return request.defaultExtension[0] == u'.' ? path + request.defaultExtension
                                             : path + u"." + request.defaultExtension;
}

}  // namespace

int CWxWindowing::DoMessageBox(const SMessageBox& box) {
  CWxCommandDialog dialog(nullptr, ToWx(box.caption), MessageBoxStyle(box));
  BuildMessageBox(dialog, box);
  dialog.SetCommandHandler([&dialog](int id) { dialog.EndModal(id); });
  dialog.SetCloseHandler([&dialog, escape = box.EscapeResult()] {
    if (escape != eIdFailed) dialog.EndModal(escape);
  });
  dialog.CentreOnParent();
  return dialog.ShowModal();
}

int CWxWindowing::RunModal(const SDialogTemplate& layout) {
  CWxCommandDialog dialog(nullptr, ToWx(layout.caption));
  STemplateTexts texts;
  BuildTemplateControls(dialog, layout, texts);
  dialog.SetCommandHandler([&dialog](int id) { dialog.EndModal(id); });
  dialog.SetCloseHandler([&dialog] { dialog.EndModal(eIdCancel); });
  // Edits of a modal dialog have no one to tell; the command reads them.
  dialog.CentreOnParent();
  return dialog.ShowModal();
}

std::unique_ptr<IDialogWindow> CWxWindowing::CreateModeless(const SDialogTemplate& dialog) {
  return std::make_unique<CWxDialogWindow>(dialog);
}

SFileDialogResult CWxWindowing::FileDialog(const SFileDialog& request) {
  const CStr title = !request.title.IsEmpty() ? request.title : CStr(request.open ? u"Open" : u"Save As");
  wxFileDialog dialog(nullptr, ToWx(title), ToWx(request.initialFolder), ToWx(request.initialFile),
                      Wildcard(request.filter), FileDialogStyle(request));
  if (dialog.ShowModal() != wxID_OK) return {eIdCancel, CStr(), 0};
  return {eIdOk, WithDefaultExtension(FromWx(dialog.GetPath()), request), 0};
}

SSize CWxWindowing::GetScreenSize() const {
  const wxRect screen = wxDisplay(0u).GetGeometry();
  return {screen.width, screen.height};
}

void CWxWindowing::ProcessEventsUntil(const std::function<bool()>& done) {
  if (done()) return;
  wxGUIEventLoop loop;
  // Only this loop ends here: a modal dialog's own loop inside it runs on.
  auto check = [&](wxIdleEvent& event) {
    event.Skip();
    if (wxEventLoopBase::GetActive() == &loop && done()) loop.Exit();
  };
  wxTheApp->Bind(wxEVT_IDLE, check);
  loop.Run();
  wxTheApp->Unbind(wxEVT_IDLE, check);
}

std::shared_ptr<IWindowing> CreateGuiWindowing() {
  if (!EnsureWxApp()) return nullptr;
  return std::make_shared<CWxWindowing>();
}

IWindowing* FolioGui_CreateWindowing() {
  if (!EnsureWxApp()) return nullptr;
  return new CWxWindowing;
}
