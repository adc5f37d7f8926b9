#pragma once
#include <memory>

#include "folio/util/CStr.h"
#include "platform/com/HResult.h"
#include "platform/word/om/WordObjectModel.h"

// The process-wide COM and Word state the reporter keeps between report runs: whether
// COM is initialised on the calling thread, and the one shared Word application.
// Not locked: every call comes from the thread that initialised COM.
class CWordAutomation {
public:
  // CoInitialize once while the flag is clear; the flag is set when it succeeds.
  static void InitializeCOM();
  // CoUninitialize and clear the flag, when it is set.
  static void UnInitializeCOM();
  // UnInitializeCOM's steps, then CoInitialize again.
  static void ReInitializeCOM();
  // Quits the shared application when it runs ("Closing Word" trace, SaveChanges 0),
  // forgets it, then UnInitializeCOM. A failing Quit raises CComError and changes nothing.
  static void CloseFolioHandles();

  static bool IsCOMInitialized();
  static bool IsWordRunning();
  static std::shared_ptr<IWordApplication> SharedApplication();
  // Records the application the Word generator started as the shared one.
  static void SetSharedApplication(std::shared_ptr<IWordApplication> application);

  // Starts an application of class classText (a program id, or a class id in braces):
  // look up the class, release target, create the object, run it and ask it for Word's
  // _Application interface. Returns the HRESULT; on failure target stays empty.
  static HRESULT StartWordApplication(std::shared_ptr<IWordApplication>& target,
                                      const CStr& classText = u"Word.Application");
};
