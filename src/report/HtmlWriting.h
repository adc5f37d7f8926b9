#pragma once
// Pieces of HTML report writing shared by the generator and the appenders.
#include "folio/model/CKORIControlValue.h"
#include "folio/util/CStr.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/UnicodeText.h"

// Rewrites references to one companion folder ("name_files") into references to
// another, both as written and with spaces as "%20".
class CCompanionReferences {
public:
  CCompanionReferences(const CStr& fromFolder, const CStr& toFolder);
  // Every reference to the old folder in text, rewritten.
  CStr Rewrite(CStr text) const;

private:
  CStr m_find1, m_replace1, m_find2, m_replace2;
};

// "<path without extension>_files".
CStr CompanionFolder(const CStr& htmlPath);

// Copies the record's picture into the report folder under the next free
// "Image_NNN" name and writes its img element, sized by the picture options.
void WritePicture(CKORIControlValue& value, const CStr& reportFolder, int& counter,
                  CBasic_OFStream& out);

// A placeholder size from the record, rounded to the nearest whole number.
long RoundToLong(double value);
