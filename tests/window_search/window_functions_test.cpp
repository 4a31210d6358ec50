#include "window_search/window_functions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/error.h"
#include "fakes/fake_window_list.h"
#include "fakes/shell_fixture.h"

namespace velkora {
namespace {

using fakes::FakeWindowList;
using fakes::ShellFixture;

class WindowFunctions : public ::testing::Test {
 protected:
  // The log's entries without their timestamps.
  std::vector<std::string> LogEntries() {
    std::vector<std::string> entries;
    std::istringstream lines(f.Log());
    const std::string stamp = "07.12.2026 07:58:30 ";
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      EXPECT_EQ(line.rfind(stamp, 0), 0u) << line;
      entries.push_back(line.substr(stamp.size()));
    }
    return entries;
  }
  using Entries = std::vector<std::string>;

  std::string Close(const std::string& muster, const std::string& trenner,
                    const std::string& alle) {
    return WndClose(frame, windows, perlre, formats, muster, trenner, alle);
  }

  ShellFixture f;
  ScriptFrame frame{f.shell};
  FakeWindowList windows;
  TPerlre perlre{true, kPerlreCaseless};
  FormatSettings formats = FormatSettings::German();
};

TEST_F(WindowFunctions, PrefixSearchTakesTheFirstWindowInZOrder) {
  windows.Add("Editor");
  windows.Add("editor 2");
  EXPECT_TRUE(WindowExists(frame, windows, "EDI"));
  EXPECT_EQ(frame.StatusLine(), "WindowExists(\"EDI\")-->True");
  CloseWindow(frame, windows, "EDI");
  EXPECT_EQ(windows.ClosedTitles(), (std::vector<std::string>{"Editor"}));
  EXPECT_EQ(frame.StatusLine(), "CloseWindow(\"EDI\")");
  EXPECT_EQ(LogEntries(), (Entries{"WindowExists(\"EDI\")", " Fenster gefunden", " --> True",
                                   "CloseWindow(\"EDI\")", " Fenster gefunden"}));
}

TEST_F(WindowFunctions, PrefixSearchFoldsOnlyAsciiLetters) {
  windows.Add("Notepad - x.txt");
  windows.Add("über");  // UTF-8, as on POSIX
  windows.Add(
      "\xFC"
      "ber");  // code page 1252, as on Windows
  EXPECT_TRUE(WindowExists(frame, windows, "note"));
  EXPECT_FALSE(WindowExists(frame, windows, "x.txt"));
  EXPECT_FALSE(WindowExists(frame, windows, "Über"));
  EXPECT_FALSE(WindowExists(frame, windows,
                            "\xDC"
                            "ber"));
  EXPECT_TRUE(WindowExists(frame, windows,
                           "\xFC"
                           "BER"));
  EXPECT_FALSE(WindowExists(frame, windows, "Notepad - x.txt and more"));
  EXPECT_EQ(LogEntries()[4], " Fenster existiert nicht");
  CloseWindow(frame, windows, "x.txt");
  EXPECT_TRUE(windows.close_requests.empty());
}

TEST_F(WindowFunctions, EmptyNameIsNeverSearchedFor) {
  windows.Add("Foo");
  EXPECT_FALSE(WindowExists(frame, windows, ""));
  CloseWindow(frame, windows, "");
  EXPECT_EQ(windows.snapshots, 0);
  EXPECT_TRUE(windows.close_requests.empty());
  EXPECT_EQ(LogEntries(), (Entries{"WindowExists(\"\")", " --> False", "CloseWindow(\"\")"}));
}

TEST_F(WindowFunctions, CallTextGoesToTheStatusLineUnescapedAndToTheLogEscaped) {
  windows.Add("Foo");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "a\r\nb", "\"\n"), "");
  EXPECT_EQ(frame.StatusLine(), "WndGetList(\"a\r\nb\",\"\"\n\")-->\"\"");
  EXPECT_FALSE(WindowExists(frame, windows, "say \"hi\"\n"));
  EXPECT_EQ(frame.StatusLine(), "WindowExists(\"say \"hi\"\n\")-->False");
  EXPECT_EQ(LogEntries(), (Entries{"WndGetList(\"a{0d}{0a}b\",\"\"{0a}\")", " --> \"\"",
                                   "WindowExists(\"say \"hi\"{0a}\")", " Fenster existiert nicht",
                                   " --> False"}));
}

TEST_F(WindowFunctions, ListMatchesCaselessAnywhereInTheTitleInZOrder) {
  windows.Add("Foo");
  windows.Add("");
  windows.Add("Bar");
  windows.Add("Boo");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "o", ","), "Foo,Boo");
  EXPECT_EQ(LogEntries().back(), " --> \"Foo,Boo\"");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "^bar$", ";"), "Bar");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "x", ";"), "");
  EXPECT_EQ(LogEntries().back(), " --> \"\"");
  // Untitled windows never take part, and an empty separator joins tightly.
  EXPECT_EQ(WndGetList(frame, windows, perlre, ".*", ""), "FooBarBoo");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "^$", ","), "");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "^$|oo", ","), "Foo,Boo");
  EXPECT_TRUE(windows.close_requests.empty());
}

TEST_F(WindowFunctions, CloseSkipsUntitledWindows) {
  windows.Add("");
  const uintptr_t foo = windows.Add("Foo");
  windows.Add("");
  windows.Add("Bar");
  EXPECT_EQ(Close(".*", ",", "False"), "Foo");
  EXPECT_EQ(windows.close_requests, (std::vector<uintptr_t>{foo}));
  windows.close_requests.clear();
  EXPECT_EQ(Close("^$|a", ",", "True"), "Bar");
  EXPECT_EQ(windows.ClosedTitles(), (std::vector<std::string>{"Bar"}));
}

TEST_F(WindowFunctions, TitlesAreCutTo255Characters) {
  const std::string long_title = std::string(250, 'x') + "abcdefghij";
  windows.Add(long_title);
  EXPECT_EQ(WndGetList(frame, windows, perlre, "e$", ","), long_title.substr(0, 255));
  EXPECT_EQ(WndGetList(frame, windows, perlre, "j", ","), "");
  EXPECT_TRUE(WindowExists(frame, windows, long_title.substr(0, 255)));
  EXPECT_FALSE(WindowExists(frame, windows, long_title.substr(0, 256)));
}

TEST_F(WindowFunctions, PatternThatDoesNotCompileIsReportedAndTouchesNothing) {
  windows.Add("Foo");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "(", ","), "");
  EXPECT_EQ(Close("(", ",", "True"), "");
  EXPECT_TRUE(windows.close_requests.empty());
  EXPECT_EQ(windows.snapshots, 0);

  ASSERT_EQ(f.boxes.shown.size(), 2u);
  const std::string& box = f.boxes.shown[0].text;
  EXPECT_EQ(box.rfind("Exception: Perlre: ", 0), 0u) << box;
  EXPECT_GT(box.size(), std::string("Exception: Perlre: ").size());
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora");
  const Entries log = LogEntries();
  EXPECT_EQ(log, (Entries{"WndGetList(\"(\",\",\")", " " + box, "WndClose(\"(\",\",\",True)",
                          " " + box}));
  EXPECT_EQ(frame.StatusLine(), "WndClose(\"(\",\",\",True)");
}

TEST_F(WindowFunctions, CloseFirstOrEveryMatch) {
  windows.Add("Foo");
  windows.Add("Bar");
  windows.Add("Boo");
  EXPECT_EQ(Close("oo", "|", "False"), "Foo");
  EXPECT_EQ(windows.ClosedTitles(), (std::vector<std::string>{"Foo"}));
  EXPECT_EQ(frame.StatusLine(), "WndClose(\"oo\",\"|\",False)-->\"Foo\"");

  windows.close_requests.clear();
  windows.snapshots = 0;
  EXPECT_EQ(Close("oo", "|", "True"), "Foo|Boo");
  EXPECT_EQ(windows.ClosedTitles(), (std::vector<std::string>{"Foo", "Boo"}));
  EXPECT_EQ(windows.snapshots, 1);
  EXPECT_EQ(LogEntries(), (Entries{"WndClose(\"oo\",\"|\",False)", " --> \"Foo\"",
                                   "WndClose(\"oo\",\"|\",True)", " --> \"Foo|Boo\""}));

  // Alle with the platform's rules: words in any case, numbers; empty is False.
  const struct {
    const char* alle;
    const char* result;
  } cases[] = {{"1", "Foo|Boo"}, {"tRUE", "Foo|Boo"}, {"-1", "Foo|Boo"}, {"#TRUE#", "Foo|Boo"},
               {"", "Foo"},      {"0", "Foo"},        {"false", "Foo"},  {"0,0", "Foo"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Close("oo", "|", c.alle), c.result) << "Alle = " << c.alle;
  }
  // Windows that refuse the request, or ignore it, are still named.
  windows.refuse_close = true;
  EXPECT_EQ(Close("b", "", "1"), "BarBoo");
}

TEST_F(WindowFunctions, AlleThatIsNoBooleanFailsBeforeAnythingHappens) {
  windows.Add("Foo");
  frame.SetStatusLine("vorher");
  for (const char* alle : {"vielleicht", "Wahr", "yes", " ", "1x"}) {
    EXPECT_THROW(Close("oo", "|", alle), VariantTypeError) << alle;
  }
  EXPECT_EQ(frame.StatusLine(), "vorher");
  EXPECT_EQ(f.files.append_calls, 0);
  EXPECT_EQ(windows.snapshots, 0);
  EXPECT_TRUE(windows.close_requests.empty());
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(WindowFunctions, RunawayPatternOverManyTitlesEndsAsNoMatch) {
  for (int i = 0; i < 20; ++i) windows.Add(std::string(254, 'a') + "!");
  windows.Add("Editor");
  EXPECT_EQ(WndGetList(frame, windows, perlre, "(a+)+$|^edi", ";"), "Editor");
  EXPECT_EQ(Close("(a|aa)+$", ";", "True"), "");
  EXPECT_TRUE(windows.close_requests.empty());
}

}  // namespace
}  // namespace velkora
