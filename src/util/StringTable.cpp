#include "folio/util/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct SString {
  unsigned id;
  const char16_t* text;
};

// Sorted by id.
constexpr SString kStrings[] = {
    {eStrMissingBitmapFileName, u"ERROR: Missing bitmap file name."},
    {eStrCallbackNotInitialized, u"GetValue callback function not initialized"},
    {eStrEnterTemplateName, u"Please enter a template file name."},
    {eStrTemplateDoesNotExist, u"The specified template does not exist"},
    {eStrOutputFileInaccessible,
     u"The report can not be saved because the output file \"%s\" is inaccessible.\r\n\r\n"
     u"Error message: \"%s\""},
    {eStrInitializing, u"Initializing..."},
    {eStrErrorAccessingTemplate, u"Error while accessing template \"%s\""},
    {eStrErrorAccessingWord, u"Error when accessing Microsoft Word (Error code: 0x%X)"},
    {eStrOpeningTemplate, u"Opening template..."},
    {eStrProcessingElement, u"Processing Element %li"},
    {eStrProcessingKoriElement, u"Processing KORI Element %li  (%s)"},
    {eStrSavingReport, u"Saving report..."},
    {eStrCleaningUp, u"Cleaning up..."},
    {eStrTemplateFilter,
     u"HTML Template Files (*.htm;*.html)|*.htm;*.html|Word Template Files "
     u"(*.doc;*.docx;*.docm)|*.doc;*.docx;*.docm|All Files (*.*)|*.*||"},
    {eStrTemplateDialogTitle, u"Template file name"},
    {eStrCannotShowOpenDialog, u"Unable to display \"Open File\" dialog\n\nError description:\n"},
    {eStrWordReportFilter, u"Word Report Files (*.doc;*.docx)|*.doc;*.docx|All Files (*.*)|*.*||"},
    {eStrReportDialogTitle, u"Report file name"},
    {eStrCannotShowSaveDialog, u"Unable to display \"Save File\" dialog\n\nError description:\n"},
    {eStrHtmlReportFilter, u"HTML Report Files (*.htm;*.html)|*.htm;*.html|All Files (*.*)|*.*||"},
    {eStrErrorOpeningTemporaryTemplate, u"Error opening temporary template file \"%s\""},
    {eStrReportNotUnicode, u"The Report file \"%s\" is not in unicode text format"},
    {eStrBodyEndTagMissing, u"Could not find HTML body end tag (\"</body>\")"},
    {eStrCannotAppendToReport, u"Cannot append to report file \"%s\": %s"},
    {eStrFormatWord, u"Word"},
    {eStrFormatHtml, u"HTML"},
    {eStrFormatInvalid, u"Invalid"},
    {eStrCannotCopyReferencedFiles,
     u"Unable to copy files referenced by template \"%s\".\n\nContinue processing?"},
    {eStrCannotOpenReport, u"Unable to open Report file \"%s\""},
    {eStrOutputFolderMissing, u"The output folder \"%s\" does not exist.\n\nDo you wish to create it?"},
    {eStrCannotCreateFolder, u"Unable to create folder \"%s\" (error code: %d)"},
    {eStrProcessingHeader, u"Processing header..."},
    {eStrGroupNotSupported, u"Group is no longer supported"},
    {eStrFieldNotSupported, u"Field is no longer supported"},
    {eStrElementDefinitionError, u"Error in element definition"},
    {eStrMigrationNotice,
     u"Some of the \"Grainwise\" items in the the Livesheet template(s) are no longer supported "
     u"directly. Some fields are no longer available, some have been renamed, and some have been "
     u"reimplemented.\r\n\r\nIt is recommended to update the template(s), for example by using "
     u"the \"Livesheet Template Conversion Utility\" located in the KORI installation "
     u"folder.\r\n\r\nTo learn more about the changes and improvements, see the \"Migrating to "
     u"KORI 5.0 Grainwise\" section in the Help file."},
    {eStrReportFileInaccessible,
     u"The report file \"%s\" is inaccessible, please close when opened in other application."},
};

StringLoader& HostLoader() {
  static StringLoader loader;
  return loader;
}

}  // namespace

CStr LoadResourceString(unsigned id) {
  if (const StringLoader& host = HostLoader()) {
    if (std::optional<CStr> text = host(id)) return *text;
  }
  const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                   [](const SString& s, unsigned key) { return s.id < key; });
  if (it != std::end(kStrings) && it->id == id) return CStr(it->text);
  return CStr();
}

void SetHostStringLoader(StringLoader loader) { HostLoader() = std::move(loader); }
