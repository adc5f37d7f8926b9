#pragma once
// The state one Word generator run shares between its phases, and the helpers.
#include <memory>

#include "folio/model/SReportConversionResult.h"
#include "folio/report/CTemplateModel.h"
#include "platform/word/om/WordObjectModel.h"
#include "report/ReportRun.h"
#include "report/WordAppend.h"

struct SWordRun {
  SReportRun& run;
  std::shared_ptr<IWordApplication> app;  // the shared application
  std::shared_ptr<IWordDocument> doc;     // the opened template copy
  long total = 0;                         // inline plus floating shapes, counted on opening
  long elementNumber = 0;
  long koriElementNumber = 0;  // placeholders evaluated in this run
  bool discard = false;        // the pass's section is not in the template
};

// Reads an inline shape's description into record (the extraction of placeholders).
SReportConversionResult ExtractPlaceholder(IWordInlineShape& shape, CKORIControlValue& record);
// Whether an extraction found the section tag: read cleanly and named by its field.
bool IsSectionTag(const SReportConversionResult& reading, CKORIControlValue& record, ESectionTag tag);
// Records the extraction outcome in the reporter's list when it is worth telling.
void RecordReading(SWordRun& word, const SReportConversionResult& reading);

// A value's text as Word is given it: characters that XML cannot hold (C0 controls
// other than tab and line breaks, U+FFFE, U+FFFF, unpaired surrogates) dropped and a
// Windows line end made one line break.
CStr WordText(const CStr& value);
// Puts the record's picture in place of shape, scaled as its options say, and deletes
// the picture file and the shape (phase "Inserting a picture").
void InsertPicture(SWordRun& word, IWordInlineShape& shape, bool mainText);

// Cuts the document down to the section of the run's pass (phase 6).
void CutSection(SWordRun& word);
// The walks over the main text's and the text boxes' inline shapes (phases 8 and 9).
void MainTextPass(SWordRun& word);
void TextBoxPass(SWordRun& word);
