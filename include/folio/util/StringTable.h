#pragma once
#include <functional>
#include <optional>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Numbers of the library's own texts.
enum EStringId : unsigned {
  eStrMissingBitmapFileName = 49001,
  eStrCallbackNotInitialized = 49002,
  eStrEnterTemplateName = 49003,
  eStrTemplateDoesNotExist = 49004,
  eStrOutputFileInaccessible = 49006,
  eStrInitializing = 49008,
  eStrErrorAccessingTemplate = 49009,
  eStrErrorAccessingWord = 49010,
  eStrOpeningTemplate = 49011,
  eStrProcessingElement = 49012,
  eStrProcessingKoriElement = 49013,
  eStrSavingReport = 49016,
  eStrCleaningUp = 49017,
  eStrTemplateFilter = 49018,
  eStrTemplateDialogTitle = 49019,
  eStrCannotShowOpenDialog = 49020,
  eStrWordReportFilter = 49021,
  eStrReportDialogTitle = 49022,
  eStrCannotShowSaveDialog = 49023,
  eStrHtmlReportFilter = 49024,
  eStrErrorOpeningTemporaryTemplate = 49025,
  eStrReportNotUnicode = 49026,
  eStrBodyEndTagMissing = 49027,
  eStrCannotAppendToReport = 49028,
  eStrFormatWord = 49029,
  eStrFormatHtml = 49030,
  eStrFormatInvalid = 49031,
  eStrCannotCopyReferencedFiles = 49032,
  eStrCannotOpenReport = 49033,
  eStrOutputFolderMissing = 49036,
  eStrCannotCreateFolder = 49037,
  eStrProcessingHeader = 49038,
  eStrGroupNotSupported = 49039,
  eStrFieldNotSupported = 49040,
  eStrElementDefinitionError = 49041,
  eStrMigrationNoticeHelp = 49042,
  eStrMigrationNotice = 49043,
  eStrReportFileInaccessible = 49044,
};

// A host's own string resources, asked before the library's table.
using StringLoader = std::function<std::optional<CStr>(unsigned id)>;

// Text number id: from the host's loader when it has one, else from the library's own
// table; a missing number gives the empty text.
FOLIO_API CStr LoadResourceString(unsigned id);
// Installs (or, with an empty function, removes) the host's string resources.
FOLIO_API void SetHostStringLoader(StringLoader loader);
