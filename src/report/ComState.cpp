// COM state shared by every reporter of the process.
#include "folio/report/CFolio.h"
#include "platform/com/ComRuntime.h"

namespace {
bool s_comInitialized = false;
}

void CFolio::InitializeCOM() {
  if (s_comInitialized) return;
  if (CoInitialize(nullptr) >= 0) s_comInitialized = true;
}

void CFolio::UnInitializeCOM() {
  if (!s_comInitialized) return;
  CoUninitialize();
  s_comInitialized = false;
}

void CFolio::ReInitializeCOM() {
  if (s_comInitialized) {
    CoUninitialize();
    s_comInitialized = false;
  }
  if (CoInitialize(nullptr) >= 0) s_comInitialized = true;
}

// The shared Word application arrives with the Word report generator; until then
// there is never one to quit.
void CFolio::CloseFolioHandles() { UnInitializeCOM(); }
