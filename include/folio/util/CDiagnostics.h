#pragma once
#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <set>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Trace output under named sources: each line is prefixed with the local date and time
// and the current indentation; text goes to the debugger output (standard error here)
// and to an optional trace file, or into a memory buffer while diverted.
// Not thread-safe: the library traces from the host's user-interface thread only.
class FOLIO_API CDiagnostics {
public:
  // Targets of WriteTrace and bits of its result.
  static constexpr int kDebugger = 1;
  static constexpr int kFile = 2;

  // Local broken-down time of "now".
  using TimeSource = std::function<std::tm()>;
  // Receives text meant for the debugger output.
  using DebuggerSink = std::function<void(const CStr&)>;

  // Nothing switched on, no trace file, no indentation; text at the start of a line.
  CDiagnostics();
  ~CDiagnostics();
  CDiagnostics(const CDiagnostics&) = delete;
  CDiagnostics& operator=(const CDiagnostics&) = delete;

  // Writes message for source to the targets; returns the targets written (0 when
  // the source is off, targets is 0, the message is empty, or output is diverted).
  int WriteTrace(const CStr& message, const CStr& source, int targets);
  // Records source as known; whether messages for it are written.
  bool IsSourceEnabled(const CStr& source);

  // Switches every source on or back to the named set.
  void EnableAllSources(bool all);
  // Adds source to, or removes it from, the switched-on set.
  void EnableSource(const CStr& source, bool on = true);
  // Empties the switched-on set and clears the switch-everything-on flag.
  void DisableAllSources();
  // Every source name ever asked for.
  const std::set<CStr>& GetKnownSources() const { return m_knownSources; }

  // Opens (appending) the trace file; false when it cannot be opened, which leaves it closed.
  bool OpenTraceFile(const CStr& path);
  void CloseTraceFile();
  bool IsTraceFileOpen() const;

  // The text written once per indentation level after the date and time.
  void SetIndentation(const CStr& text) { m_indentText = text; }
  void SetIndentLevel(std::size_t level) { m_indentLevel = level; }
  std::size_t GetIndentLevel() const { return m_indentLevel; }

  // While on, text is appended to the memory buffer instead of the targets.
  void DivertToMemory(bool on) { m_divertToMemory = on; }
  const CStr& GetMemoryBuffer() const { return m_buffer; }
  // The capacity reserved for the buffer so far.
  std::size_t GetMemoryReserve() const { return m_bufferReserve; }
  // Returns the buffer and empties it (the reserve is kept).
  CStr TakeMemoryBuffer();

  // Replaces the clock (tests pin the prefix); an empty function restores local time.
  void SetTimeSource(TimeSource source);
  // Replaces the debugger output; an empty function restores standard error.
  void SetDebuggerSink(DebuggerSink sink);

  // Applies FOLIO_TRACE (comma-separated source names, "*" for all) and
  // FOLIO_TRACE_FILE (trace file, appended to).
  void ConfigureFromEnvironment();

  // For the process-wide object only: configures itself from the environment on first use.
  struct SConfigureOnFirstUse {};
  explicit CDiagnostics(SConfigureOnFirstUse);

private:
  struct STraceFile;
  void EnsureConfigured();
  CStr LinePrefix() const;

  bool m_configurePending = false;
  bool m_allSources = false;
  std::set<CStr> m_enabledSources;
  std::set<CStr> m_knownSources;
  CStr m_lastSource;  // asked about last: the reader asks about one source per tag
  std::unique_ptr<STraceFile> m_file;
  CStr m_indentText;
  std::size_t m_indentLevel = 0;
  bool m_atLineStart = true;
  bool m_divertToMemory = false;
  CStr m_buffer;
  std::size_t m_bufferReserve = 0;
  TimeSource m_timeSource;
  DebuggerSink m_debuggerSink;
};

// The process-wide diagnostics object every subsystem traces through.
FOLIO_API extern CDiagnostics G_Diagnostics;
