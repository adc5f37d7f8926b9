#pragma once
#include <memory>

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/Export.h"

// The desktop backend: real dialogs on wxWidgets. It lives in its own library,
// folio_gui, so that the core library never loads a toolkit. Folio loads folio_gui by
// itself when a display is available and no backend was set; a host that links
// folio_gui can make the backend itself and hand it to SetWindowing.
//
// A host that runs its own wxWidgets application keeps it: the backend uses the
// running application and its event loop. Otherwise the backend starts the toolkit on
// first use. Null when no display can be opened.
FOLIO_API std::shared_ptr<IWindowing> CreateGuiWindowing();

// The same for a library loaded at run time: a new backend the caller owns, or null.
extern "C" FOLIO_API IWindowing* FolioGui_CreateWindowing();
