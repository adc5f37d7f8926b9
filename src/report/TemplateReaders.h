#pragma once
// The format-specific readers behind CTemplateModel.
#include "folio/html/CHTMLEventHandler.h"
#include "folio/report/CTemplateModel.h"

// The model of the placeholders a collector found.
CTemplateModel HtmlTemplateModel(CHTMLEventHandler& collector);
// Reads an HTML template file; throws EBase when it cannot be read.
CTemplateModel ReadHtmlTemplateModel(const CStr& path);
// Opens a Word template read-only and reads its placeholders; throws EBase when it
// cannot be opened.
CTemplateModel ReadWordTemplateModel(const CStr& path);
