#include "report/HtmlSectionAppend.h"

#include <bit>
#include <map>
#include <memory>
#include <optional>

#include "folio/util/StringTable.h"
#include "platform/fs/CGrowingFile.h"
#include "report/HtmlWriting.h"
#include "report/UnicodeText.h"

namespace {

// A report as this process left it: its stamp on disk, its body end and the text from
// there on. The growing file is made when a second pass comes, so that a report
// appended to once costs no twin.
struct SKnownReport {
  SFileStamp stamp;
  std::unique_ptr<CGrowingFile> growing;
  std::uint64_t bodyEnd = 0;  // in UTF-16 units after the mark
  CStr tail;
};

std::map<CStr, SKnownReport>& KnownReports() {
  static std::map<CStr, SKnownReport> reports;
  return reports;
}

std::uint64_t ByteOffset(std::uint64_t units) { return 2 + 2 * units; }

// As the report holds it: UTF-16LE.
std::string_view Bytes(const CStr& text) {
  static_assert(std::endian::native == std::endian::little, "text is written as it lies in memory");
  return {reinterpret_cast<const char*>(text.View().data()), text.View().size() * 2};
}

// The stamp, and the tail itself, which is short.
bool OnDiskAsLeft(const SKnownReport& known, const CStr& report) {
  const bool stamped = known.growing ? known.growing->Unchanged() : SFileStamp::Of(report) == known.stamp;
  return stamped && FileEndsWith(report, ByteOffset(known.bodyEnd), Bytes(known.tail));
}

// Where the body of the report now ends, when a reading of rest alone can tell: rest
// starts where the last body end stood, which the reading of everything before reached
// afresh. A zero character ends the text that the next pass would read, so a rest with
// one is never taken as known.
std::optional<std::uint32_t> EndInRest(std::u16string_view rest) {
  if (rest.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  const SHtmlBody body = FindHtmlBody(rest);
  if (!body.end || !body.endStandsAlone) return std::nullopt;
  return body.end;
}

// Remembers the report after a pass put rest at bodyEnd; forgets it when the next pass
// could not find its body end from what is known.
void Remember(const CStr& report, std::uint64_t bodyEnd, std::u16string_view rest,
              std::unique_ptr<CGrowingFile> growing) {
  const std::optional<std::uint32_t> end = EndInRest(rest);
  const std::optional<SFileStamp> stamp = SFileStamp::Of(report);
  if (!end || !stamp || (growing && !growing->Unchanged())) {
    KnownReports().erase(report);
    return;
  }
  SKnownReport& known = KnownReports()[report];
  known.stamp = *stamp;
  known.growing = std::move(growing);
  known.bodyEnd = bodyEnd + *end;
  known.tail = CStr(rest.substr(*end));
}

// The report as a whole text, split at its body end; a failure says why it cannot serve.
ReportOutcome ReadTarget(const CStr& report, SAppendTarget& target) {
  CStr text;
  bool hadMark = false;
  CStr error;
  SHtmlBody body;
  if (!ReadReportText(report, text, &hadMark)) {
    error = CStr::DoStringFormat(LoadResourceString(eStrCannotOpenReport), report);
  } else if (!hadMark) {
    error = CStr::DoStringFormat(LoadResourceString(eStrReportNotUnicode), report);
  } else if (!(body = FindHtmlBody(text.View())).end) {
    error = LoadResourceString(eStrBodyEndTagMissing);
  }
  if (!error.IsEmpty()) return Failed(CStr::DoStringFormat(LoadResourceString(eStrCannotAppendToReport), report, error));
  target.known = false;
  target.tail = text.Mid(*body.end);
  text.Str().resize(*body.end);
  target.head = std::move(text);
  target.endStandsAlone = body.endStandsAlone;
  return Succeeded();
}

// Rewrites the report's end through its growing file; false when the report is as it
// was and must be written whole instead.
bool Splice(const CStr& report, SKnownReport& known, std::u16string_view rest, std::string_view restBytes) {
  std::unique_ptr<CGrowingFile> growing = std::move(known.growing);
  if (!growing) growing = CGrowingFile::Start(report, known.stamp);
  if (!growing || !growing->Splice(ByteOffset(known.bodyEnd), restBytes)) return false;
  Remember(report, known.bodyEnd, rest, std::move(growing));
  return true;
}

}  // namespace

ReportOutcome OpenAppendTarget(const CStr& report, SAppendTarget& target) {
  auto& reports = KnownReports();
  const auto known = reports.find(report);
  if (known != reports.end()) {
    if (OnDiskAsLeft(known->second, report)) {
      target.known = true;
      target.tail = known->second.tail;
      return Succeeded();
    }
    reports.erase(known);
  }
  return ReadTarget(report, target);
}

ReportOutcome FinishAppend(const CStr& report, SAppendTarget& target, CBasic_OFStream& section, bool keepTail) {
  auto& reports = KnownReports();
  if (target.known) {
    const auto known = reports.find(report);
    if (known != reports.end() && OnDiskAsLeft(known->second, report)) {
      const std::size_t sectionBytes = section.KeptBytes().size();
      if (keepTail) section << target.tail.View();
      if (Splice(report, known->second, section.Kept(), section.KeptBytes())) return Succeeded();
      section.Truncate(sectionBytes);
    }
    // Not as known after all: the report is read and written whole.
    reports.erase(report);
    if (ReportOutcome failure = ReadTarget(report, target)) return failure;
  }
  CBasic_OFStream out(report);
  out << target.head.View() << section.Kept();
  if (keepTail) out << target.tail.View();
  if (!out.Close()) return Failed();
  if (!target.endStandsAlone) {
    reports.erase(report);
    return Succeeded();
  }
  if (keepTail) section << target.tail.View();
  Remember(report, target.head.GetLength(), section.Kept(), nullptr);
  return Succeeded();
}

void ForgetAppendedReport(const CStr& report) { KnownReports().erase(report); }

void ForgetAppendedReports() { KnownReports().clear(); }
