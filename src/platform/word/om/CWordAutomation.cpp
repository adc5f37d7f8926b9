#include "platform/word/om/CWordAutomation.h"

#include <mutex>

#include "folio/util/CDiagnostics.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordApplication.h"

namespace {

struct SState {
  bool comInitialized = false;
  bool wordRunning = false;
  std::shared_ptr<IWordApplication> application;
};

SState& State() {
  static SState state;
  return state;
}

void RegisterWord() {
  static std::once_flag once;
  std::call_once(once, [] { CWordApplication::Register(); });
}

}  // namespace

void CWordAutomation::InitializeCOM() {
  RegisterWord();
  if (State().comInitialized) return;
  if (SUCCEEDED(CoInitialize(nullptr))) State().comInitialized = true;
}

void CWordAutomation::UnInitializeCOM() {
  if (!State().comInitialized) return;
  CoUninitialize();
  State().comInitialized = false;
}

void CWordAutomation::ReInitializeCOM() {
  UnInitializeCOM();
  RegisterWord();
  if (SUCCEEDED(CoInitialize(nullptr))) State().comInitialized = true;
}

void CWordAutomation::CloseFolioHandles() {
  SState& state = State();
  if (state.wordRunning) {
    G_Diagnostics.WriteTrace(u"Closing Word\n", u"Folio", 3);
    if (state.application) state.application->Quit(CVariant::I2(0), CVariant::Missing(), CVariant::Missing());
    state.application.reset();
    state.wordRunning = false;
  }
  UnInitializeCOM();
}

bool CWordAutomation::IsCOMInitialized() { return State().comInitialized; }

bool CWordAutomation::IsWordRunning() { return State().wordRunning; }

std::shared_ptr<IWordApplication> CWordAutomation::SharedApplication() { return State().application; }

void CWordAutomation::SetSharedApplication(std::shared_ptr<IWordApplication> application) {
  State().application = std::move(application);
  State().wordRunning = State().application != nullptr;
}

HRESULT CWordAutomation::StartWordApplication(std::shared_ptr<IWordApplication>& target, const CStr& classText) {
  RegisterWord();
  CLSID clsid;
  HRESULT hr = classText.StartsWith(u"{") ? CLSIDFromString(classText, clsid) : CLSIDFromProgID(classText, clsid);
  target.reset();
  if (FAILED(hr)) return hr;
  std::shared_ptr<IDispatch> unknown;
  hr = CoCreateInstance(clsid, unknown);
  if (FAILED(hr)) return hr;
  hr = OleRun(unknown.get());
  if (FAILED(hr)) return hr;
  hr = unknown->QueryInterface(CWordApplication::ApplicationInterfaceId());
  if (FAILED(hr)) return hr;
  target = std::dynamic_pointer_cast<IWordApplication>(unknown);
  return target ? S_OK : E_NOINTERFACE;
}
