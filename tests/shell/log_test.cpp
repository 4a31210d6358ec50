#include "shell/log.h"

#include <gtest/gtest.h>

#include <new>

#include <stdexcept>

#include "fakes/shell_fixture.h"
#include "shell/script_frame.h"

namespace velkora {
namespace {

using fakes::ShellFixture;

TEST(EscapeLineBreaks, EscapesCrThenLfAndNothingElse) {
  EXPECT_EQ(EscapeLineBreaks("a\r\nb"), "a{0d}{0a}b");
  EXPECT_EQ(EscapeLineBreaks("a\nb"), "a{0a}b");
  EXPECT_EQ(EscapeLineBreaks("{0d}\t\"x\""), "{0d}\t\"x\"");
  EXPECT_EQ(EscapeLineBreaks(""), "");
}

TEST(LogTimestamp, GermanFormatsAndTheMidnightRule) {
  const FormatSettings de = FormatSettings::German();
  const DateTime day = EncodeDate(2026, 12, 7);
  EXPECT_EQ(LogTimestamp(day + EncodeTime(9, 15, 2), de), "07.12.2026 09:15:02");
  EXPECT_EQ(LogTimestamp(day, de), "07.12.2026");
  EXPECT_EQ(LogTimestamp(day + EncodeTime(0, 0, 1), de), "07.12.2026 00:00:01");
}

TEST(WriteLog, OneCrLfLinePerCallAppendedSeparately) {
  ShellFixture f;
  WriteLog(f.shell, "erste\r\nZeile");
  WriteLog(f.shell, "zweite");
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30 erste{0d}{0a}Zeile\r\n07.12.2026 07:58:30 zweite\r\n");
  EXPECT_EQ(f.files.append_calls, 2);
}

TEST(WriteLog, NothingWhileLoggingIsOff) {
  ShellFixture f;
  f.shell.schreibe_log = false;
  WriteLog(f.shell, "x");
  EXPECT_EQ(f.files.append_calls, 0);
  EXPECT_FALSE(f.files.FileExists(f.shell.log_file));
}

TEST(WriteLog, FailuresAreSwallowed) {
  ShellFixture f;
  f.files.fail_appends = true;
  EXPECT_NO_THROW(WriteLog(f.shell, "verloren"));
  f.files.fail_appends = false;
  WriteLog(f.shell, "da");
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30 da\r\n");
}

TEST(ScriptFrame, CallAndResultLinesOfTheVersionExample) {
  ShellFixture f;
  f.clock.now = EncodeDate(2026, 12, 7) + EncodeTime(9, 15, 7);
  ScriptFrame frame(f.shell);
  frame.LogCall("VelkoraVersion()");
  EXPECT_EQ(frame.StatusLine(), "VelkoraVersion()");
  frame.LogResult(Quoted("010103"));
  EXPECT_EQ(frame.StatusLine(), "VelkoraVersion()-->\"010103\"");
  EXPECT_EQ(f.Log(),
            "07.12.2026 09:15:07 VelkoraVersion()\r\n"
            "07.12.2026 09:15:07  --> \"010103\"\r\n");
}

TEST(ScriptFrame, ResultsChainOnTheStatusLineAndLineBreaksAreEscaped) {
  ShellFixture f;
  ScriptFrame frame(f.shell);
  std::vector<std::string> seen;
  frame.OnStatusChanged([&](const std::string& s) { seen.push_back(s); });
  frame.LogCall("F(\"a\nb\")");
  frame.LogResult("eins\r\n");
  frame.LogResult("zwei");
  EXPECT_EQ(frame.StatusLine(), "F(\"a{0a}b\")-->eins{0d}{0a}-->zwei");
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_NE(f.Log().find(" --> eins{0d}{0a}\r\n"), std::string::npos);
}

TEST(ScriptFrame, StatusLineWithoutLogAndExceptionBoxAlways) {
  ShellFixture f;
  f.shell.schreibe_log = false;
  ScriptFrame frame(f.shell);
  frame.LogCall("ShowInfo()");
  frame.LogResult("\"x\"");
  EXPECT_EQ(frame.StatusLine(), "ShowInfo()-->\"x\"");
  frame.ReportException(std::runtime_error("kaputt"));
  EXPECT_FALSE(f.files.FileExists(f.shell.log_file));
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].text, "Exception: kaputt");
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora");
  EXPECT_EQ(f.boxes.shown[0].icon, BoxIcon::kError);
}

TEST(ScriptFrame, ExceptionLineWhenLogging) {
  ShellFixture f;
  ScriptFrame frame(f.shell);
  frame.ReportException("kaputt");
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30  Exception: kaputt\r\n");
}

TEST(ScriptFrame, ReportingAnErrorRaisesNothingWhenMemoryRunsOut) {
  ShellFixture f;
  ScriptFrame frame(f.shell);
  f.boxes.inside = [] { throw std::bad_alloc(); };
  EXPECT_NO_THROW(frame.ReportException("kaputt"));
  EXPECT_NO_THROW(ShowError(f.boxes, "kaputt"));
  EXPECT_EQ(f.Log(), "07.12.2026 07:58:30  Exception: kaputt\r\n") << "logged before the box";
}

TEST(CallText, QuotesArgumentsWithoutEscaping) {
  EXPECT_EQ(CallText("VelkoraVersion", {}), "VelkoraVersion()");
  EXPECT_EQ(CallText("WndGetList", {"^Edi", ";"}), "WndGetList(\"^Edi\",\";\")");
  EXPECT_EQ(CallText("F", {"a\"b", ""}), "F(\"a\"b\",\"\")");
}

}  // namespace
}  // namespace velkora
