#pragma once
#include <map>

#include <boost/shared_ptr.hpp>

#include "folio/html/CHTMLEventHandler.h"
#include "folio/util/CStr.h"

// What the HTML generator learned from one template: its placeholders and the
// temporary UTF-16 copy that every pass reads again.
struct STemplateCacheEntry {
  boost::shared_ptr<CHTMLEventHandler> collector;
  CStr templateCopy;
};

// Process-wide, keyed by the template path exactly as the host set it.
std::map<CStr, STemplateCacheEntry>& TemplateCache();
