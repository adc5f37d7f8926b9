#pragma once
// Pieces of HTML report writing shared by the generator and the appenders.
#include <optional>

#include "folio/model/CKORIControlValue.h"
#include "folio/util/CStr.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/UnicodeText.h"

class IHTMLReaderEvents;

// Rewrites references to one companion folder ("name_files") into references to
// another, both as written and with spaces as "%20".
class CCompanionReferences {
public:
  CCompanionReferences(const CStr& fromFolder, const CStr& toFolder);
  // Every reference to the old folder in text, rewritten.
  CStr Rewrite(CStr text) const;
  // Whether Rewrite might change text (false: text can be written as it is).
  bool Changes(std::u16string_view text) const;

private:
  CStr m_find1, m_replace1, m_find2, m_replace2;
};

// Where the body of an HTML text starts and ends, as every writer of HTML reports
// decides it: just after the first opening body tag, and at the "<" of the last
// closing body tag that the reader finds as a tag (not in a comment or script).
struct SHtmlBody {
  std::uint32_t start = 0;
  std::optional<std::uint32_t> end;  // none without a closing body tag
  // Whether the reading reaches end whatever follows it, so that any text with the same
  // text before end has its body end there or in a reading of the rest alone.
  bool endStandsAlone = false;
};
// alongside, when given, hears every event of the same reading (a collector, say).
SHtmlBody FindHtmlBody(std::u16string_view text, IHTMLReaderEvents* alongside = nullptr);

// "<path without extension>_files".
CStr CompanionFolder(const CStr& htmlPath);

// The free "Image_NNN" names of one report folder during one pass: numbering starts at
// 0 and continues after names already there. What is known of a folder's names is kept
// from pass to pass while the folder is as the last pass left it, so that a report that
// grows by one picture a pass is neither listed nor probed from 0 again each time; the
// chosen name is still checked on the disk.
class CPictureNames {
public:
  explicit CPictureNames(CStr reportFolder) : m_folder(std::move(reportFolder)) {}
  const CStr& Folder() const { return m_folder; }
  // The full path of the next free name with extension; taken from then on.
  CStr Next(const CStr& extension);
  // Call after a picture was put into the folder under the name Next gave.
  void Added();

private:
  CStr m_folder;
  int m_counter = 0;
  bool m_checked = false;  // whether what is known of the folder was checked this pass
};

// Forgets what is known of report folders' names.
void ForgetPictureNames();

// Copies the record's picture into the report folder under the next free name and
// writes its img element, sized by the picture options.
void WritePicture(CKORIControlValue& value, CPictureNames& names, CBasic_OFStream& out);

// A placeholder size from the record, rounded to the nearest whole number.
long RoundToLong(double value);
