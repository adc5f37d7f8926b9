#pragma once
#include "folio/platform/ui/CWnd.h"
#include "folio/platform/ui/UiTypes.h"
#include "folio/util/Export.h"

// The framework's dialog: a template shown modally (DoModal) or as a modeless window
// (CreateModeless). Commands are routed to OnCommand, which by default sends OK to
// OnOK and Cancel (also Escape) to OnCancel; the close box goes to OnClose, which
// cancels. Ending a modeless dialog hides its window.
class FOLIO_API CDialog : public CWnd {
public:
  CDialog(SDialogTemplate dialog, CWnd* parent) : m_template(std::move(dialog)), m_parent(parent) {}

  // Runs the dialog on the current backend until a handler ends it; returns the
  // value given to EndDialog, or eIdFailed when the dialog cannot be shown.
  virtual int DoModal();
  // Creates the hidden modeless window; false when the backend cannot.
  bool CreateModeless(CWnd* parent);
  const SDialogTemplate& GetTemplate() const { return m_template; }
  CWnd* GetParent() const { return m_parent; }

protected:
  // Ends the modal run with result.
  void EndDialog(int result);
  // Routes a command; returns whether a handler took it.
  virtual bool OnCommand(int id);
  virtual void OnOK() { EndDialog(eIdOk); }
  virtual void OnCancel() { EndDialog(eIdCancel); }
  virtual void OnClose() { OnCancel(); }
  // An edit field of the modeless window was left after a change.
  virtual void OnEditCommitted(int id) { (void)id; }
  // Called once the modeless window exists.
  virtual bool OnInitDialog() { return true; }

private:
  void OnControlEvent(int id, EControlEvent event);

  SDialogTemplate m_template;
  CWnd* m_parent = nullptr;
  bool m_ended = false;
  bool m_modal = false;
  int m_result = eIdFailed;
};
