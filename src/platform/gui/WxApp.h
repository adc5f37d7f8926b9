#pragma once

// Makes sure the toolkit is running: a host's own wxWidgets application is used as it
// is; otherwise one is started on the first call. False when no display can be opened.
bool EnsureWxApp();
