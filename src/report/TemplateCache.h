#pragma once
#include <map>
#include <memory>

#include "folio/report/CTemplateModel.h"
#include "folio/util/CStr.h"

// What the HTML generator learned from one template: its placeholders (the model, read
// once; the collector's tag copies are not kept beside it), the temporary UTF-16 copy
// and its text, decoded once for every pass.
struct STemplateCacheEntry {
  std::shared_ptr<const CTemplateModel> model;
  CStr templateCopy;
  std::shared_ptr<const CStr> text;
  std::uint32_t bodyEnd = 0;  // where an appended section's template text ends
};

// Process-wide, keyed by the template path exactly as the host set it.
std::map<CStr, STemplateCacheEntry>& TemplateCache();
