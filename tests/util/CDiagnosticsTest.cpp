#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "folio/util/CDiagnostics.h"
#include "util/ScratchFolder.h"
#include "util/UtilTestSupport.h"

namespace {

// May3rd2011 in "%c" of the C locale.
const CStr kPrefix = u"Tue May  3 14:07:09 2011 ";

// A diagnostics object with the fixed clock whose debugger output is collected.
struct TraceFixture : ::testing::Test {
  CDiagnostics trace;
  CStr debugger;
  int debuggerCalls = 0;
  TraceFixture() {
    trace.SetTimeSource(May3rd2011);
    trace.SetDebuggerSink([this](const CStr& text) {
      debugger += text;
      ++debuggerCalls;
    });
    trace.EnableAllSources(true);
  }
};

using TracePrefix = TraceFixture;

TEST_F(TracePrefix, EveryLineOfAMessageStartsWithDateTimeAndIndentation) {
  trace.SetIndentation(u"..");
  trace.SetIndentLevel(2);
  EXPECT_EQ(trace.WriteTrace(u"A\nB\n", u"Folio", 3), CDiagnostics::kDebugger);
  const CStr line = kPrefix + u"....";
  EXPECT_EQ(debugger, line + u"A\n" + line + u"B\n");
  debugger = CStr();
  trace.SetIndentLevel(0);
  trace.WriteTrace(u"C\n", u"Folio", 3);
  EXPECT_EQ(debugger, kPrefix + u"C\n");
}

TEST_F(TracePrefix, MessageWithoutLineFeedContinuesOnTheSameLine) {
  trace.WriteTrace(u"Calculating ", u"Livesheeter", 3);
  trace.WriteTrace(u"value\n", u"Livesheeter", 3);
  trace.WriteTrace(u"x\ny", u"Livesheeter", 3);
  trace.WriteTrace(u"z\n", u"Livesheeter", 3);
  EXPECT_EQ(debugger, kPrefix + u"Calculating value\n" + kPrefix + u"x\n" + kPrefix + u"yz\n");
  // Only the final line feed is held back.
  debugger = CStr();
  trace.WriteTrace(u"\n\n", u"Folio", 3);
  EXPECT_EQ(debugger, kPrefix + u"\n" + kPrefix + u"\n");
}

TEST_F(TracePrefix, LocalClockIsUsedWithoutATimeSource) {
  trace.SetTimeSource(nullptr);
  trace.WriteTrace(u"x", u"Folio", 1);
  // "%c" in the C locale: "Www Mmm dd hh:mm:ss yyyy ".
  ASSERT_EQ(debugger.GetLength(), 26u);
  EXPECT_EQ(debugger[13], u':');
  EXPECT_EQ(debugger[24], u' ');
  EXPECT_EQ(debugger[25], u'x');
}

using TraceSources = TraceFixture;

TEST_F(TraceSources, OnlySwitchedOnSourcesAreWritten) {
  trace.EnableAllSources(false);
  EXPECT_FALSE(trace.IsSourceEnabled(u""));
  EXPECT_EQ(trace.WriteTrace(u"x\n", u"Folio", 3), 0);
  trace.EnableSource(u"Livesheeter");
  EXPECT_EQ(trace.WriteTrace(u"x\n", u"Folio", 3), 0);
  EXPECT_EQ(debuggerCalls, 0);
  EXPECT_EQ(trace.WriteTrace(u"y\n", u"Livesheeter", 3), CDiagnostics::kDebugger);
  EXPECT_EQ(debugger, kPrefix + u"y\n");
  // An unnamed source is written once any source is on.
  EXPECT_TRUE(trace.IsSourceEnabled(u""));
  trace.EnableSource(u"Livesheeter", false);
  EXPECT_FALSE(trace.IsSourceEnabled(u"Livesheeter"));
}

TEST_F(TraceSources, EverySourceAskedForIsRemembered) {
  trace.EnableAllSources(false);
  trace.WriteTrace(u"x", u"HTMLParsing", 3);
  trace.IsSourceEnabled(u"Folio");
  EXPECT_EQ(trace.GetKnownSources(), (std::set<CStr>{u"Folio", u"HTMLParsing"}));
}

TEST_F(TraceSources, EmptyMessageOrNoTargetsWritesNothing) {
  EXPECT_EQ(trace.WriteTrace(u"", u"Folio", 3), 0);
  EXPECT_EQ(trace.WriteTrace(u"x\n", u"Folio", 0), 0);
  EXPECT_EQ(debuggerCalls, 0);
  // The line state is untouched, so the next message still gets its prefix.
  trace.WriteTrace(u"y", u"Folio", 1);
  EXPECT_EQ(debugger, kPrefix + u"y");
}

using TraceTargets = TraceFixture;

TEST_F(TraceTargets, FileTargetNeedsAnOpenFileWhichIsAppendedTo) {
  EXPECT_EQ(trace.WriteTrace(u"a\n", u"Folio", CDiagnostics::kFile), 0);
  ScratchFolder folder;
  folder.Write("trace.log", "old\n");
  ASSERT_TRUE(trace.OpenTraceFile(folder / "trace.log"));
  EXPECT_EQ(trace.WriteTrace(u"\u00e9\n", u"Folio", 3), 3);
  EXPECT_EQ(trace.WriteTrace(u"b\n", u"Folio", CDiagnostics::kFile), CDiagnostics::kFile);
  // Written and flushed at once, as UTF-8.
  EXPECT_EQ(folder.Read("trace.log"), "old\n" + kPrefix.ToUtf8() + "\xC3\xA9\n" + kPrefix.ToUtf8() + "b\n");
  EXPECT_EQ(debugger, kPrefix + u"\u00e9\n");
  EXPECT_FALSE(trace.OpenTraceFile(folder / "missing/trace.log"));
  EXPECT_TRUE(trace.IsTraceFileOpen());
  trace.CloseTraceFile();
  EXPECT_EQ(trace.WriteTrace(u"c\n", u"Folio", 3), CDiagnostics::kDebugger);
}

TEST_F(TraceTargets, DefaultDebuggerOutputIsStandardError) {
  trace.SetDebuggerSink(nullptr);
  ::testing::internal::CaptureStderr();
  trace.WriteTrace(u"to stderr\n", u"Folio", 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), kPrefix.ToUtf8() + "to stderr\n");
}

using TraceMemory = TraceFixture;

TEST_F(TraceMemory, DivertedTextGoesToTheBufferOnly) {
  ScratchFolder folder;
  ASSERT_TRUE(trace.OpenTraceFile(folder / "trace.log"));
  trace.DivertToMemory(true);
  EXPECT_EQ(trace.WriteTrace(u"a\nb", u"Folio", 3), 0);
  EXPECT_EQ(trace.WriteTrace(u"c\n", u"Folio", 3), 0);
  EXPECT_EQ(trace.GetMemoryBuffer(), kPrefix + u"a\n" + kPrefix + u"bc\n");
  EXPECT_EQ(debuggerCalls, 0);
  EXPECT_EQ(folder.Read("trace.log"), "");
  trace.DivertToMemory(false);
  EXPECT_EQ(trace.WriteTrace(u"d\n", u"Folio", 3), 3);
  EXPECT_EQ(trace.TakeMemoryBuffer(), kPrefix + u"a\n" + kPrefix + u"bc\n");
  EXPECT_TRUE(trace.GetMemoryBuffer().IsEmpty());
}

TEST_F(TraceMemory, ReserveGrowsByTheTextAndAThousandWhenExceeded) {
  trace.DivertToMemory(true);
  const CStr::size_type line = kPrefix.GetLength() + 2;  // prefix, "x", line feed
  trace.WriteTrace(u"x\n", u"Folio", 3);
  EXPECT_EQ(trace.GetMemoryReserve(), line + 1000);
  for (int i = 0; i < 10; ++i) trace.WriteTrace(u"x\n", u"Folio", 3);
  EXPECT_EQ(trace.GetMemoryReserve(), line + 1000);
  EXPECT_GE(trace.GetMemoryBuffer().Str().capacity(), line + 1000);
  const CStr big(1200, u'y');
  trace.WriteTrace(big, u"Folio", 3);
  EXPECT_EQ(trace.GetMemoryReserve(), 11 * line + kPrefix.GetLength() + 1200 + 1000);
}

class TraceEnvironment : public ::testing::Test {
protected:
  void TearDown() override {
    unsetenv("FOLIO_TRACE");
    unsetenv("FOLIO_TRACE_FILE");
  }
};

TEST_F(TraceEnvironment, SourcesAndFileComeFromTheEnvironmentAndStarMeansAll) {
  ScratchFolder folder;
  setenv("FOLIO_TRACE", " Folio ,,HTMLParsing", 1);
  setenv("FOLIO_TRACE_FILE", (folder.Path() / "env.log").c_str(), 1);
  CDiagnostics trace;
  trace.ConfigureFromEnvironment();
  trace.SetTimeSource(May3rd2011);
  trace.SetDebuggerSink([](const CStr&) {});
  EXPECT_TRUE(trace.IsSourceEnabled(u"Folio"));
  EXPECT_TRUE(trace.IsSourceEnabled(u"HTMLParsing"));
  EXPECT_FALSE(trace.IsSourceEnabled(u"Livesheeter"));
  EXPECT_EQ(trace.WriteTrace(u"x\n", u"Folio", 3), 3);
  EXPECT_EQ(folder.Read("env.log"), kPrefix.ToUtf8() + "x\n");
  // "*" switches every source on.
  setenv("FOLIO_TRACE", "*", 1);
  unsetenv("FOLIO_TRACE_FILE");
  CDiagnostics star;
  star.ConfigureFromEnvironment();
  EXPECT_TRUE(star.IsSourceEnabled(u"Anything"));
  EXPECT_FALSE(star.IsTraceFileOpen());
}

TEST_F(TraceEnvironment, ProcessObjectReadsTheEnvironmentOnFirstUseNotBefore) {
  CDiagnostics trace{CDiagnostics::SConfigureOnFirstUse{}};
  setenv("FOLIO_TRACE", "Livesheeter", 1);
  EXPECT_TRUE(trace.IsSourceEnabled(u"Livesheeter"));
  unsetenv("FOLIO_TRACE");
  EXPECT_TRUE(trace.IsSourceEnabled(u"Livesheeter"));
  // A plain object ignores the environment.
  setenv("FOLIO_TRACE", "*", 1);
  CDiagnostics plain;
  EXPECT_FALSE(plain.IsSourceEnabled(u"Folio"));
}

}  // namespace
