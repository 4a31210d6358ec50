#include <gtest/gtest.h>

#include "ini/ini_functions.h"
#include "ini_test_fixture.h"
#include "shell/join_list.h"

namespace velkora {
namespace {

using testing_support::IniTest;
using testing_support::Lines;

using IniSections = IniTest;

TEST(JoinList, SeparatorsOnlyBetweenNeighbours) {
  EXPECT_EQ(JoinList({}, ","), "");
  EXPECT_EQ(JoinList({"A"}, ","), "A");
  EXPECT_EQ(JoinList({"A", "B", "C"}, ", "), "A, B, C");
  EXPECT_EQ(JoinList({"A", "B"}, ""), "AB");
  EXPECT_EQ(JoinList({"", ""}, ";"), ";");
}

TEST_F(IniSections, ListsInFileOrderWithAnySeparator) {
  Put("a.ini", "[A]\r\nx=1\r\ny=\r\nz=3\r\n; Kommentar\r\nkein Schluessel\r\n[B]\r\n");
  const std::string f1 = File("a.ini");
  EXPECT_EQ(ini.IniReadSections(f1, ","), "A,B");
  EXPECT_EQ(ini.IniReadSections(f1, ""), "AB");
  EXPECT_EQ(ini.IniReadSection(f1, "a", ";"), "x;y;z") << "keys with empty values are listed";
  EXPECT_EQ(ini.IniReadSectionValues(f1, "A", ";"), "x=1;z=3")
      << "entries with empty values are not";
  EXPECT_EQ(ini.IniReadSection(f1, "B", ";"), "");
  EXPECT_EQ(LogLines(),
            (Lines{"IniReadSections(\"" + f1 + "\",\",\")", " --> \"A,B\"",
                   "IniReadSections(\"" + f1 + "\",\"\")", " --> \"AB\"",
                   "IniReadSection(\"" + f1 + "\",\"a\",\";\")", " --> \"x;y;z\"",
                   "IniReadSectionValues(\"" + f1 + "\",\"A\",\";\")", " --> \"x=1;z=3\"",
                   "IniReadSection(\"" + f1 + "\",\"B\",\";\")", " --> \"\""}));
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniSections, MissingFileOrSectionGivesTheEmptyText) {
  const std::string missing = File("fehlt.ini");
  EXPECT_EQ(ini.IniReadSections(missing, ","), "");
  EXPECT_EQ(LogLines().back(), " --> \"\"");
  Put("a.ini", "[A]\r\nx=1\r\n");
  EXPECT_EQ(ini.IniReadSection(File("a.ini"), "Fehlt", ","), "");
  EXPECT_EQ(ini.IniReadSectionValues(File("a.ini"), "Fehlt", ","), "");
  EXPECT_EQ(ini.IniReadSectionValues(missing, "A", ","), "");
  EXPECT_EQ(frame.StatusLine(), "IniReadSectionValues(\"" + missing + "\",\"A\",\",\")-->\"\"");
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniSections, LineBreakSeparatorIsRealInTheResultAndEscapedInTheLog) {
  Put("a.ini", "[A]\r\n[B]\r\n");
  const std::string f1 = File("a.ini");
  EXPECT_EQ(ini.IniReadSections(f1, "\r\n"), "A\r\nB");
  EXPECT_EQ(LogLines(),
            (Lines{"IniReadSections(\"" + f1 + "\",\"{0d}{0a}\")", " --> \"A{0d}{0a}B\""}));
  EXPECT_EQ(frame.StatusLine(), "IniReadSections(\"" + f1 + "\",\"{0d}{0a}\")-->\"A{0d}{0a}B\"");
}

TEST_F(IniSections, DuplicateKeysGiveOneEntryWithTheLaterSpelling) {
  // The profile functions read the first of a key's lines, whatever
  // spelling asks; the list keeps the place of the name's first entry.
  Put("a.ini", "[S]\r\nk=1\r\nother=x\r\nK=2\r\ngone=\r\nGone=9\r\nlate=7\r\n\"q\"='v w'\r\n");
  EXPECT_EQ(ini.IniReadSection(File("a.ini"), "S", ","), "k,other,K,gone,Gone,late,\"q\"");
  EXPECT_EQ(ini.IniReadSectionValues(File("a.ini"), "S", ","), "K=1,other=x,late=7,\"q\"=v w");

  // An entry whose name comes back empty later is removed, and a later
  // non-empty one is appended at the end.
  Put("b.ini", "[S]\r\na=1\r\nb=2\r\nc=3\r\n");
  EXPECT_EQ(ini.IniReadSectionValues(File("b.ini"), "S", ";"), "a=1;b=2;c=3");
}

TEST_F(IniSections, DuplicateSectionsAreListedAndTheFirstIsRead) {
  Put("a.ini", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2\r\n");
  EXPECT_EQ(ini.IniReadSections(File("a.ini"), ","), "S,T,s");
  EXPECT_EQ(ini.IniReadSection(File("a.ini"), "S", ","), "a");
  EXPECT_EQ(ini.IniReadSectionValues(File("a.ini"), "s", ","), "a=1");
}

TEST_F(IniSections, AnEmptySectionNameDoesNotEndTheList) {
  Put("a.ini", "[A]\r\n[]\r\nk=v\r\n[B]\r\n");
  EXPECT_EQ(ini.IniReadSections(File("a.ini"), ","), "A,,B");
  EXPECT_EQ(ini.IniReadSectionValues(File("a.ini"), "", ","), "k=v");
}

TEST_F(IniSections, LongListsArriveCutWithoutError) {
  // 2000 keys of eight characters need 18001 bytes with their NULs; the
  // 16384-byte buffer brings 16382 characters: 1820 whole names and two
  // characters of the next.
  std::string file = "[S]\r\n";
  for (int i = 0; i < 2000; ++i)
    file += "key" + std::to_string(10000 + i) + "=" + std::to_string(i) + "\r\n";
  Put("a.ini", file);
  const std::string keys = ini.IniReadSection(File("a.ini"), "S", ",");
  EXPECT_EQ(keys.size(), 16382u) << "every NUL became a comma";
  EXPECT_EQ(keys.substr(0, 18), "key10000,key10001,");
  EXPECT_EQ(keys.substr(keys.size() - 11), "key11819,ke") << "the last name cut";
  const std::string values = ini.IniReadSectionValues(File("a.ini"), "S", ",");
  EXPECT_EQ(values.substr(values.size() - 19), "=1818,key11819=1819")
      << "a cut name finds no value";
  EXPECT_TRUE(f.boxes.shown.empty());
}

}  // namespace
}  // namespace velkora
