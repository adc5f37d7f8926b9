#include "folio/util/CDiagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "folio/util/SystemUtils.h"

struct CDiagnostics::STraceFile {
  std::ofstream stream;
};

CDiagnostics G_Diagnostics{CDiagnostics::SConfigureOnFirstUse{}};

namespace {

void WriteToStandardError(const CStr& text) {
  const std::string utf8 = text.ToUtf8();
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

CDiagnostics::CDiagnostics() = default;

CDiagnostics::CDiagnostics(SConfigureOnFirstUse) : m_configurePending(true) {}

CDiagnostics::~CDiagnostics() = default;

void CDiagnostics::EnsureConfigured() {
  if (!m_configurePending) return;
  m_configurePending = false;
  ConfigureFromEnvironment();
}

bool CDiagnostics::IsSourceEnabled(const CStr& source) {
  EnsureConfigured();
  if (source != m_lastSource) {
    m_knownSources.insert(source);
    m_lastSource = source;
  }
  if (m_allSources) return true;
  if (m_enabledSources.empty()) return false;
  if (source.IsEmpty()) return true;
  return m_enabledSources.contains(source);
}

CStr CDiagnostics::LinePrefix() const {
  const std::tm now = m_timeSource ? m_timeSource() : SystemUtils::LocalTimeNow();
  char stamp[128];
  const size_t length = std::strftime(stamp, sizeof stamp, "%c", &now);
  CStr prefix = CStr::FromUtf8(std::string_view(stamp, length));
  prefix += u' ';
  for (std::size_t i = 0; i < m_indentLevel; ++i) prefix += m_indentText;
  return prefix;
}

int CDiagnostics::WriteTrace(const CStr& message, const CStr& source, int targets) {
  if (!IsSourceEnabled(source) || targets == 0 || message.IsEmpty()) return 0;

  const CStr prefix = LinePrefix();
  std::u16string text = message.Str();
  const bool endsLine = text.back() == u'\n';
  if (endsLine) text.pop_back();

  std::u16string out;
  out.reserve(text.size() + prefix.GetLength() * 2);
  if (m_atLineStart) out += prefix.Str();
  for (char16_t c : text) {
    out += c;
    if (c == u'\n') out += prefix.Str();
  }
  if (endsLine) out += u'\n';
  m_atLineStart = endsLine;

  if (m_divertToMemory) {
    const std::size_t needed = m_buffer.GetLength() + out.size();
    if (needed > m_bufferReserve) {
      m_bufferReserve = needed + 1000;
      m_buffer.Str().reserve(m_bufferReserve);
    }
    m_buffer += CStr(std::move(out));
    return 0;
  }

  int written = 0;
  const CStr line(std::move(out));
  if (targets & kDebugger) {
    if (m_debuggerSink) m_debuggerSink(line);
    else WriteToStandardError(line);
    written |= kDebugger;
  }
  if ((targets & kFile) && IsTraceFileOpen()) {
    const std::string utf8 = line.ToUtf8();
    m_file->stream.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    m_file->stream.flush();
    written |= kFile;
  }
  return written;
}

void CDiagnostics::EnableAllSources(bool all) {
  EnsureConfigured();
  m_allSources = all;
}

void CDiagnostics::EnableSource(const CStr& source, bool on) {
  EnsureConfigured();
  if (on) m_enabledSources.insert(source);
  else m_enabledSources.erase(source);
}

void CDiagnostics::DisableAllSources() {
  EnsureConfigured();
  m_allSources = false;
  m_enabledSources.clear();
}

bool CDiagnostics::OpenTraceFile(const CStr& path) {
  EnsureConfigured();
  auto file = std::make_unique<STraceFile>();
  file->stream.open(SystemUtils::ToFsPath(path), std::ios::binary | std::ios::app);
  if (!file->stream.is_open()) return false;
  m_file = std::move(file);
  return true;
}

void CDiagnostics::CloseTraceFile() {
  EnsureConfigured();
  m_file.reset();
}

bool CDiagnostics::IsTraceFileOpen() const { return m_file && m_file->stream.is_open(); }

CStr CDiagnostics::TakeMemoryBuffer() {
  CStr taken = std::move(m_buffer);
  m_buffer = CStr();
  m_buffer.Str().reserve(m_bufferReserve);
  return taken;
}

void CDiagnostics::SetTimeSource(TimeSource source) { m_timeSource = std::move(source); }

void CDiagnostics::SetDebuggerSink(DebuggerSink sink) { m_debuggerSink = std::move(sink); }

void CDiagnostics::ConfigureFromEnvironment() {
  m_configurePending = false;
  if (const char* sources = std::getenv("FOLIO_TRACE")) {
    const CStr list = CStr::FromUtf8(sources);
    CStr::size_type start = 0;
    while (start <= list.GetLength()) {
      CStr::size_type comma = list.Find(u",", start);
      if (comma == CStr::npos) comma = list.GetLength();
      const CStr name = list.Mid(start, comma - start).Trimmed();
      if (name == u"*") m_allSources = true;
      else if (!name.IsEmpty()) m_enabledSources.insert(name);
      start = comma + 1;
    }
  }
  if (const char* file = std::getenv("FOLIO_TRACE_FILE"); file && *file)
    OpenTraceFile(CStr::FromUtf8(file));
}
