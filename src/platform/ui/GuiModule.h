#pragma once
#include <memory>

#include "folio/platform/ui/IWindowing.h"

// The desktop backend from folio_gui, loaded beside the shared library this code runs
// in; null when there is no display, no such library, or this code is linked into a
// program statically (the module would bring a second copy of the library's state).
std::shared_ptr<IWindowing> LoadGuiWindowing();

// Whether the environment names a display a toolkit can open.
bool HasDisplay();
