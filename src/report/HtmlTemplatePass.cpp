// One pass over a cached HTML template (preface, body or summary).
#include <filesystem>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/CDiagnostics.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "report/HtmlWriting.h"
#include "report/TemplateCache.h"
#include "report/UnicodeText.h"

using namespace SystemUtils;

namespace {

const char16_t kLivesheeter[] = u"Livesheeter";

void Trace(const CStr& text, const char16_t* source = kLivesheeter) {
  G_Diagnostics.WriteTrace(text, source, 3);
}

CStr Quoted(const char16_t* what, const CStr& text) { return CStr(what) + u"\"" + text + u"\"\n"; }

// Fills the report's companion folder from the template's; false when the copy failed
// and the user chose not to go on.
bool CopyCompanionFolder(const CStr& templatePath, const CStr& templateFolder, const CStr& reportFolder) {
  std::error_code ec;
  const auto folder = ToFsPath(reportFolder);
  if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec))
    std::filesystem::rename(folder, ToFsPath(MakeUniqueFileName(reportFolder, u".tmp")), ec);
  if (CopyFolderContents(templateFolder, reportFolder)) return true;
  const CStr question = CStr::DoStringFormat(LoadResourceString(eStrCannotCopyReferencedFiles), templatePath);
  return ShowMessageBox(question, eMbOkCancel) != eIdCancel;
}

// The existing report split at its last "</body>": the head is written now, the tail
// after the new section. False (after telling the user) when the report cannot serve.
bool StartAppending(const CStr& report, CBasic_OFStream& out, CStr& tail) {
  CStr text;
  bool hadMark = false;
  CStr error;
  size_t at = std::u16string::npos;
  if (!ReadReportText(report, text, &hadMark)) {
    error = CStr::DoStringFormat(LoadResourceString(eStrCannotOpenReport), report);
  } else if (!hadMark) {
    error = CStr::DoStringFormat(LoadResourceString(eStrReportNotUnicode), report);
  } else if ((at = text.Str().rfind(u"</body>")) == std::u16string::npos) {
    error = LoadResourceString(eStrBodyEndTagMissing);
  }
  if (!error.IsEmpty()) {
    ShowMessageBox(CStr::DoStringFormat(LoadResourceString(eStrCannotAppendToReport), report, error));
    return false;
  }
  out << text.View().substr(0, at);
  tail = text.Mid(at);
  return true;
}

int ProgressPercent(uint32_t index, uint32_t count) {
  return static_cast<int>(RoundToLong(index * 70.0 / count + 20.0));
}

}  // namespace

bool CFolio::ProcessHTMLTemplate(CStr const& output) {
  if (!HasSectionTag(m_processingType)) return true;
  const auto entry = TemplateCache().find(m_template);
  if (entry == TemplateCache().end()) return false;
  const CHTMLEventHandler& collector = *entry->second.collector;
  CStr text;
  if (!ReadReportText(entry->second.templateCopy, text)) return false;
  CBasic_OFStream out(output);

  const CStr templateFolder = CompanionFolder(m_template);
  const CStr reportFolder = CompanionFolder(m_report);
  if (PathExists(templateFolder) && !CopyCompanionFolder(m_template, templateFolder, reportFolder)) return false;
  const CCompanionReferences references(templateFolder, reportFolder);
  auto copyTemplateText = [&](uint32_t from, uint32_t to) {
    if (to > from) out << references.Rewrite(text.Mid(from, to - from)).View();
  };

  uint32_t position = static_cast<uint32_t>(m_bodyStartPosition);
  bool appending = false;
  CStr reportTail;
  if (m_reportOption == eAppend && PathExists(m_report) && GetFileSize(m_report) > 0) {
    if (!StartAppending(m_report, out, reportTail)) return false;
    if (m_processingType == eBody) m_nextElementIndex = m_firstBodyElementIndex;
    appending = true;
  }

  const uint32_t count = collector.GetKoriControlCount();
  if (m_nextElementIndex != 0) {
    if (m_nextElementIndex > 0 && static_cast<uint32_t>(m_nextElementIndex - 1) >= count) {
      // Nothing of the template is left for this pass; keep the report whole.
      if (appending) out << reportTail.View();
      return out.Close();
    }
    position = collector.GetObjectInfo(m_nextElementIndex - 1)->m_end;
    if (m_processingType == eBody) {
      m_bodyStartPosition = static_cast<int32_t>(position);
      m_nextElementIndex = m_firstBodyElementIndex;
    }
  }

  CPictureNames pictureNames(reportFolder);
  for (uint32_t i = static_cast<uint32_t>(std::max(m_nextElementIndex, 0)); i < count; ++i) {
    const CHTMLEventHandler::SObjectInfo* info = collector.GetObjectInfo(i);
    if (info->m_start < position) continue;  // inside an element already written
    ShowProgress(CStr::DoStringFormat(LoadResourceString(eStrProcessingElement), i),
                 ProgressPercent(i, count));
    copyTemplateText(position, info->m_start);
    position = info->m_end;

    collector.GetKoriControlValue(i, m_controlValue);
    ShowProgress(CStr::DoStringFormat(LoadResourceString(eStrProcessingKoriElement), i,
                                      m_controlValue.GetField()),
                 static_cast<int>((i * 70) / count + 20));
    Trace(u"Calculating value\n");
    (*m_getValueCallback)();
    Trace(u"Checking consistency of calculated value\n");
    m_controlValue.CheckConsistency();

    switch (m_controlValue.GetType()) {
      case CKORIControlValue::eText: {
        CStr value = m_controlValue.DisplayString();
        value.Replace(u"\n", u"<BR>\n");
        Trace(Quoted(u"Inserting text: ", value));
        out << value.View();
        break;
      }
      case CKORIControlValue::eInteger:
      case CKORIControlValue::eFloat:
      case CKORIControlValue::eChar: {
        const CStr value = m_controlValue.DisplayString();
        Trace(Quoted(u"Inserting value: ", value));
        out << value.View();
        break;
      }
      case CKORIControlValue::eMessage:
        Trace(Quoted(u"Inserting message: ", m_controlValue.GetMessage()), u"Folio");
        out << m_controlValue.GetMessage().View();
        break;
      case CKORIControlValue::ePicture:
        WritePicture(m_controlValue, pictureNames, out);
        break;
      case CKORIControlValue::ePrefaceEnd:
        out << u"</body>";
        m_firstBodyElementIndex = m_nextElementIndex + 1;
        if (!m_processWholeFileAtOnce) {
          ++m_nextElementIndex;
          return out.Close();
        }
        break;
      case CKORIControlValue::eSummaryBegin:
        out << u"</body>";
        if (!m_processWholeFileAtOnce) {
          ++m_nextElementIndex;
          return out.Close();
        }
        m_processingType = eSummary;
        break;
      default:
        break;
    }
    ++m_nextElementIndex;
  }

  const uint32_t bodyEnd = static_cast<uint32_t>(collector.GetBodyEnd());
  copyTemplateText(position, appending && bodyEnd >= position ? bodyEnd : text.GetLength());
  if (appending) out << reportTail.View();
  // A report that could not be written is a failed run: the user is not told
  // "done" while the old report stays as it was.
  return out.Close();
}
