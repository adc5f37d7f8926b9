// COM and Word state shared by every reporter of the process; the Word automation
// layer keeps it, the reporter offers it to hosts.
#include "folio/report/CFolio.h"
#include "platform/word/om/CWordAutomation.h"

void CFolio::InitializeCOM() { CWordAutomation::InitializeCOM(); }

void CFolio::UnInitializeCOM() { CWordAutomation::UnInitializeCOM(); }

void CFolio::ReInitializeCOM() { CWordAutomation::ReInitializeCOM(); }

void CFolio::CloseFolioHandles() { CWordAutomation::CloseFolioHandles(); }
