#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"
#include "platform/com/CComError.h"
#include "platform/word/document/CWordFiles.h"
#include "WordAppend.h"

bool CFolio::ConvertWordDocument(CStr const& from, CStr const& to, CStr& error) {
  try {
    const auto document = CWordFiles::Load(SystemUtils::ToFsPath(from));
    CWordFiles::Save(*document, SystemUtils::ToFsPath(to), -1);
    return true;
  } catch (const CComError& e) {
    error = WordAppend::ComErrorText(e);
  } catch (const std::exception& e) {
    error = CStr::FromUtf8(e.what());
  }
  return false;
}
