#pragma once
#include "folio/util/Export.h"

// Called once by the host after loading the library: makes the library's dialogs
// available to the reporter. Loading the library does the same; calling again is
// harmless, and a dialog factory the host installed itself is kept.
extern "C" FOLIO_API void FolioDll_NewDynLinkLibrary();
