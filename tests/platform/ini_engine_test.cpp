#include "platform/portable/ini_engine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velkora {
namespace {

using namespace std::string_literals;
using portable::ini_engine::GetString;
using portable::ini_engine::WriteString;
using OptText = std::optional<std::string>;

const std::string kF1 =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

struct ReadCase {
  const char* what;
  std::string file;
  OptText section;
  OptText key;
  std::string default_text;
  std::size_t size;
  std::string expected;
};

std::optional<std::string_view> View(const OptText& text) {
  return text ? std::optional<std::string_view>(*text) : std::nullopt;
}

class ReadTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTable, GivesThePlatformResult) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(GetString(c.file, View(c.section), View(c.key), c.default_text, c.size), c.expected)
      << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    ReferenceFile, ReadTable,
    testing::Values(
        ReadCase{"value", kF1, "section1", "name1", "def", 260, "val1"},
        ReadCase{"key case ignored", kF1, "section1", "NaMe1", "def", 260, "val1"},
        ReadCase{"section case ignored", kF1, "SECTION1", "name1", "def", 260, "val1"},
        ReadCase{"quotes removed", kF1, "section1", "name2", "def", 260, "val2"},
        ReadCase{"value cut", kF1, "section1", "name1", "def", 4, "val"},
        ReadCase{"value just fits", kF1, "section1", "name1", "def", 5, "val1"},
        ReadCase{"buffer of one", kF1, "section1", "name4", "def", 1, ""},
        ReadCase{"line without = is no key", kF1, "section1", "name3", "def", 260, "def"},
        ReadCase{"section names", kF1, std::nullopt, "name1", "def", 260, "section1\0section2\0"s},
        ReadCase{"key names", kF1, "section1", std::nullopt, "def", 260, "name1\0name2\0name4\0"s},
        ReadCase{"section names cut", kF1, std::nullopt, std::nullopt, "", 16, "section1\0secti"s},
        ReadCase{"key names cut", kF1, "section1", std::nullopt, "", 16, "name1\0name2\0na"s},
        ReadCase{"key names that fit", kF1, "section1", std::nullopt, "", 20,
                 "name1\0name2\0name4\0"s},
        ReadCase{"key names exactly the needed size are too long", kF1, "section1", std::nullopt,
                 "", 19, "name1\0name2\0name4"s},
        ReadCase{"empty section argument", kF1, "", "name1", "default", 260, "default"},
        ReadCase{"empty key argument", kF1, "section1", "", "default  ", 260, "default"},
        ReadCase{"missing key", kF1, "section1", "nokey", "one two  ", 260, "one two"},
        ReadCase{"no default", kF1, "section1", "nokey", "", 260, ""},
        ReadCase{"default cut too", kF1, "nosection", "k", "default", 4, "def"},
        ReadCase{"keys of a missing section", kF1, "nosection", std::nullopt, "def", 260, ""},
        ReadCase{"keys of an empty section", kF1, "section2", std::nullopt, "def", 260, ""},
        ReadCase{"missing file", "", "section1", "name1", "def", 260, "def"},
        ReadCase{"missing file lists nothing", "", std::nullopt, std::nullopt, "def", 260, ""}));

INSTANTIATE_TEST_SUITE_P(
    LineRules, ReadTable,
    testing::Values(
        ReadCase{"value blanks trimmed", "[s]\r\nk=\t v \t\r\n", "s", "k", "d", 260, "v"},
        ReadCase{"header blanks trimmed", "[ \tx\t ]\r\nk=v\r\n", "x", "k", "d", 260, "v"},
        ReadCase{"argument spaces trimmed", "[s]\r\nk=v\r\n", " s ", " k ", "d", 260, "v"},
        ReadCase{"argument tab kept", "[s]\r\nk=v\r\n", "\ts", "k", "d", 260, "d"},
        ReadCase{"comment not readable as ;k", "[s]\r\n;k=v\r\n", "s", ";k", "d", 260, "d"},
        ReadCase{"comment not readable as k", "[s]\r\n;k=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"indented comment", "[s]\r\n  ;k=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"# is no comment", "[s]\r\n#k=v\r\n", "s", "#k", "d", 260, "v"},
        ReadCase{"value may start with ;", "[s]\r\nk=;x\r\n", "s", "k", "d", 260, ";x"},
        ReadCase{"no inline comment", "[s]\r\nk=v ;x\r\n", "s", "k", "d", 260, "v ;x"},
        ReadCase{"text after ] ignored", "[s]k=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"missing ]", "[s   \r\nk=v\r\n", "s", "k", "d", 260, "v"},
        ReadCase{"no [", "s]\r\nk=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"name ends at first ]", "[a]b]\r\nk=v\r\n", "a", "k", "d", 260, "v"},
        ReadCase{"[ inside a name", "[a[b]\r\nk=v\r\n", "a[b", "k", "d", 260, "v"},
        ReadCase{"empty section name", "[]\r\nk=v\r\n", "", "k", "d", 260, "v"},
        ReadCase{"before first section", "k=v\r\n[s]\r\n", "", "k", "d", 260, "d"},
        ReadCase{"only first duplicate section", "[s]\r\n[s]\r\nk=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"first duplicate key", "[s]\r\nk=v1\r\nk=v2\r\n", "s", "k", "d", 260, "v1"},
        ReadCase{"key blanks trimmed", "[s]\r\n \tk \t= v\r\n", "s", "k", "d", 260, "v"},
        ReadCase{"value keeps later =", "[s]\r\nk=a=b\r\n", "s", "k", "d", 260, "a=b"},
        ReadCase{"value case kept", "[s]\r\nk=VaLuE\r\n", "s", "K", "d", 260, "VaLuE"},
        ReadCase{"single quotes", "[s]\r\nk='a b'\r\n", "s", "k", "d", 260, "a b"},
        ReadCase{"inner blanks of quotes", "[s]\r\nk=\" a \"\r\n", "s", "k", "d", 260, " a "},
        ReadCase{"mismatched quotes", "[s]\r\nk=\"a'\r\n", "s", "k", "d", 260, "\"a'"},
        ReadCase{"lone quote", "[s]\r\nk=\"\r\n", "s", "k", "d", 260, "\""},
        ReadCase{"empty quotes", "[s]\r\nk=\"\"\r\n", "s", "k", "d", 260, ""},
        ReadCase{"one pair only", "[s]\r\nk=\"\"x\"\"\r\n", "s", "k", "d", 260, "\"x\""},
        ReadCase{"LF endings", "[s]\nk=v\nj=w\n", "s", "j", "d", 260, "w"},
        ReadCase{"lone CR endings", "[s]\rk=v\rj=w\r", "s", "j", "d", 260, "w"},
        ReadCase{"mixed endings", "[a]\r\nx=1\n[s]\rk=v", "s", "k", "d", 260, "v"},
        ReadCase{"UTF-8 mark is part of the first line", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k",
                 "d", 260, "d"},
        ReadCase{"UTF-16LE file", "\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\xE4\0\r\0\n\0"s, "s", "k",
                 "d", 260, "v\xC3\xA4"},
        ReadCase{"UTF-16LE pair and lone surrogate",
                 "\xFF\xFE[\0s\0]\0\n\0k\0=\0\x3D\xD8\x00\xDE\x00\xD8"s, "s", "k", "d", 260,
                 "\xF0\x9F\x98\x80?"},
        ReadCase{"comments and no-= lines not listed", "[s]\r\n;c=1\r\nplain\r\nk=v\r\n", "s",
                 std::nullopt, "", 260, "k\0"s},
        ReadCase{"duplicates listed", "[a]\r\nk=1\r\nk=2\r\n[A]\r\n", std::nullopt, std::nullopt,
                 "", 260, "a\0A\0"s},
        ReadCase{"duplicate keys listed as written", "[a]\r\nK=1\r\nk=2\r\n", "a", std::nullopt, "",
                 260, "K\0k\0"s},
        ReadCase{"argument ends at NUL", "[s]\r\nk=v\r\n", "s\0x"s, "k", "d", 260, "v"}));

// The reader jumps from one '[' to the next and compares names in place;
// these are the places where that could part from the line rules.
INSTANTIATE_TEST_SUITE_P(
    SectionSearch, ReadTable,
    testing::Values(
        ReadCase{"[ inside a value is no header", "[a]\r\nx=[s]\r\n[s]\r\nk=v\r\n", "s", "k", "d",
                 260, "v"},
        ReadCase{"[ after text on its line is no header", "[a]\r\nx [s]\r\nk=v\r\n", "s", "k", "d",
                 260, "d"},
        ReadCase{"header right after a line ending in [", "[a]\rx=[\r[s]\rk=v", "s", "k", "d", 260,
                 "v"},
        ReadCase{"header after a long line of brackets",
                 "[a]\nx=" + std::string(300, '[') + "[s]\n[s]\nk=v", "s", "k", "d", 260, "v"},
        ReadCase{"indented header after a lone CR", "[a]\rx=1\r \t\v[s]\rk=v", "s", "k", "d", 260,
                 "v"},
        ReadCase{"header after blank lines", "[a]\n\n  \n\t[s]\nk=v\n", "s", "k", "d", 260, "v"},
        ReadCase{"argument longer than the name", "[s]\r\nk=v\r\n", "s2", "k", "d", 260, "d"},
        ReadCase{"name longer than the argument", "[s2]\r\nk=v\r\n", "s", "k", "d", 260, "d"},
        ReadCase{"inner blanks must match", "[a  b]\r\nk=v\r\n", "a b", "k", "d", 260, "d"},
        ReadCase{"argument with ] names no section", "[a]b]\r\nk=v\r\n", "a]b", "k", "d", 260, "d"},
        ReadCase{"argument ending in a tab", "[s\t]\r\nk=v\r\n", "s\t", "k", "d", 260, "d"},
        ReadCase{"8-bit letters compare exactly", "[\xC4]\r\nk=v\r\n", "\xE4", "k", "d", 260, "d"},
        ReadCase{"header name at the very end", "[a]\r\nk=1\r\n[ b", std::nullopt, std::nullopt, "",
                 260, "a\0b\0"s},
        ReadCase{"lone [ at the end is the empty section", "[a]\r\n[", std::nullopt, std::nullopt,
                 "", 260, "a\0\0"s},
        ReadCase{"key names stop at the next header", "[s]\r\na=1\r\n [t]\r\nb=2\r\n", "s",
                 std::nullopt, "", 260, "a\0"s},
        ReadCase{"key found past comments and plain lines", "[s]\r\n;k=x\r\nk\r\n\r\n k = v \r\n",
                 "s", "K", "d", 260, "v"}));

// Names "ab" and "cd" need 7 characters: "ab\0cd\0" plus the closing NUL.
INSTANTIATE_TEST_SUITE_P(
    ListBoundaries, ReadTable,
    testing::Values(
        ReadCase{"room to spare", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 8, "ab\0cd\0"s},
        ReadCase{"exact size is too small", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 7,
                 "ab\0cd"s},
        ReadCase{"one less", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 6, "ab\0c"s},
        ReadCase{"cut at a separator", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 5, "ab\0"s},
        ReadCase{"first name cut", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 3, "a"},
        ReadCase{"two", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 2, ""},
        ReadCase{"one", "[ab]\n[cd]\n", std::nullopt, std::nullopt, "", 1, ""},
        ReadCase{"empty list, one", "", std::nullopt, std::nullopt, "", 1, ""},
        ReadCase{"empty section name listed", "[]\n[x]\n", std::nullopt, std::nullopt, "", 260,
                 "\0x\0"s}));

struct WriteCase {
  const char* what;
  std::string before;
  std::string section;
  OptText key;
  OptText value;
  OptText after;  // nullopt: the write is refused
};

class WriteTable : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteTable, ProducesExactBytes) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(WriteString(c.before, c.section, View(c.key), View(c.value)), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, WriteTable,
    testing::Values(
        WriteCase{"new file", "", "App", "key", "", "[App]\r\nkey=\r\n"},
        WriteCase{"value verbatim", "", "s", "k", "  \"v\" ;x ", "[s]\r\nk=  \"v\" ;x \r\n"},
        WriteCase{"arguments trimmed of spaces", "", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"existing key keeps place and spelling", "[s]\r\n  KeY = old ;c\r\nz=1\r\n", "s",
                  "key", "new", "[s]\r\nKeY=new\r\nz=1\r\n"},
        WriteCase{"replaced line keeps its ending", "[s]\nk=1\n;c\n", "s", "k", "2",
                  "[s]\nk=2\n;c\n"},
        WriteCase{"replaced last line without ending", "[s]\r\nk=1", "s", "k", "2", "[s]\r\nk=2"},
        WriteCase{"new key after last key line", "[s]\r\na=1\r\n\r\n;comment\r\n[t]\r\n", "s", "b",
                  "2", "[s]\r\na=1\r\nb=2\r\n\r\n;comment\r\n[t]\r\n"},
        WriteCase{"new key skips comments and plain lines", "[s]\r\na=1\r\n;c=3\r\nplain\r\n", "s",
                  "b", "2", "[s]\r\na=1\r\nb=2\r\n;c=3\r\nplain\r\n"},
        WriteCase{"new key right after header", "[s]\r\n;c\r\n[t]", "s", "b", "2",
                  "[s]\r\nb=2\r\n;c\r\n[t]"},
        WriteCase{"header is last line without ending", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"last key line without ending", "[s]\r\na=1", "s", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n"},
        WriteCase{"new section after unterminated line", "[a]\r\nx=1", "b", "k", "v",
                  "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        WriteCase{"new section after LF file", "[a]\n", "b", "k", "v", "[a]\n[b]\r\nk=v\r\n"},
        WriteCase{"no blank line before new section", "[a]\r\nx=1\r\n", "b", "k", "v",
                  "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        WriteCase{"first of duplicate sections", "[s]\r\n[s]\r\nk=1\r\n", "s", "k", "2",
                  "[s]\r\nk=2\r\n[s]\r\nk=1\r\n"},
        WriteCase{"text before first section kept", "k=0\r\n", "s", "k", "1",
                  "k=0\r\n[s]\r\nk=1\r\n"},
        WriteCase{"section name with ]", "", "a]b", "k", "v", "[a]b]\r\nk=v\r\n"},
        WriteCase{"delete key", "[s]\r\na=1\r\nk=v\r\n;c\r\n", "s", "K", std::nullopt,
                  "[s]\r\na=1\r\n;c\r\n"},
        WriteCase{"delete last key keeps section", "[s]\r\nk=v\r\n", "s", "k", std::nullopt,
                  "[s]\r\n"},
        WriteCase{"delete missing key changes nothing", "[s]\r\nk=v", "s", "x", std::nullopt,
                  "[s]\r\nk=v"},
        WriteCase{"delete key of missing section", "[s]\r\nk=v", "t", "k", std::nullopt,
                  "[s]\r\nk=v"},
        WriteCase{"delete on empty file", "", "s", "k", std::nullopt, ""},
        WriteCase{"delete section keeps comments and other lines",
                  "[a]\r\nx=1\r\n[s]\r\n;keep\r\nk=v\r\n\r\nother\r\n[b]\r\ny=2\r\n", "S",
                  std::nullopt, std::nullopt, "[a]\r\nx=1\r\n;keep\r\n\r\nother\r\n[b]\r\ny=2\r\n"},
        WriteCase{"delete last section", "[a]\r\nx=1\r\n[s]\r\nk=v", "s", std::nullopt,
                  std::nullopt, "[a]\r\nx=1\r\n"},
        WriteCase{"delete missing section", "[a]\r\n", "s", std::nullopt, std::nullopt, "[a]\r\n"},
        WriteCase{"delete indented section after a lone CR", "[a]\rx=[s]\r  [s]\rk=v\r;c\r[b]", "s",
                  std::nullopt, std::nullopt, "[a]\rx=[s]\r;c\r[b]"},
        WriteCase{"new key in the section, not at a [ inside a value",
                  "[a]\r\nx=[s]\r\n[s]\r\ny=1\r\n", "s", "k", "v",
                  "[a]\r\nx=[s]\r\n[s]\r\ny=1\r\nk=v\r\n"},
        WriteCase{"value with CR LF refused", "[s]\r\n", "s", "k", "a\r\n[x]", std::nullopt},
        WriteCase{"key with LF refused", "[s]\r\n", "s", "k\nj", "v", std::nullopt},
        WriteCase{"section with CR refused", "", "s\rt", "k", "v", std::nullopt},
        WriteCase{"value ends at NUL", "", "s", "k", "a\0b"s, "[s]\r\nk=a\r\n"}));

TEST(IniEngineWrite, BuildsAFileFromNothing) {
  std::string file;
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } writes[] = {{"App1", "key1", "string1"},
                {"App1", "key2", "string2"},
                {"App1", "key3", "string3"},
                {"App2", "key4", "string4"},
                {"App3", "key5", "string5"}};
  for (const auto& w : writes) file = WriteString(file, w.section, w.key, w.value).value();
  EXPECT_EQ(file,
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
            "[App3]\r\nkey5=string5\r\n");
  file = WriteString(file, "App3", "key5", std::nullopt).value();
  EXPECT_EQ(file,
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n["
            "App3]\r\n");
}

TEST(IniEngineWrite, RoundTripsValuesAndKeepsEveryOtherByte) {
  const std::string before =
      "; head comment\n\n[a]\r\nx = 1 \r\n  ;indented\r\n#hash=2\rplain line\n[b]\n\ty=\"q\"\n"
      "[a]\r\nx=dup\r\n\xEF\xBB\xBF odd=bytes\xFF\r\n";
  struct {
    const char* section;
    const char* key;
    const char* value;
  } const cases[] = {
      {"a", "x", "replaced"}, {"b", "y", " padded "}, {"b", "new", "n"}, {"c", "k", "'q'"}};
  for (const auto& c : cases) {
    const std::string after = WriteString(before, c.section, c.key, c.value).value();
    std::string expected = c.value;
    if (expected.size() > 1 && expected.front() == '\'')
      expected = expected.substr(1, expected.size() - 2);
    while (!expected.empty() && expected.front() == ' ') expected.erase(expected.begin());
    while (!expected.empty() && expected.back() == ' ') expected.pop_back();
    EXPECT_EQ(GetString(after, c.section, c.key, "?", 2048), expected) << c.key;
    // The edit is one contiguous change: everything before and after it is
    // the original's bytes.
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
      ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
      ++suffix;
    }
    const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
    EXPECT_EQ(removed.find('\n', removed.find('\n') + 1), std::string::npos)
        << "more than one line changed for " << c.key << ": " << removed;
    // Other values are unaffected.
    EXPECT_EQ(GetString(after, "a", "#hash", "?", 2048), "2");  // # starts no comment
    if (std::string_view(c.key) != "y") {
      EXPECT_EQ(GetString(after, "b", "y", "?", 2048), "q");
    }
  }
}

std::string Utf16(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (const char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

TEST(IniEngineUtf16, WriteKeepsTheEncodingAndUntouchedUnits) {
  // A lone surrogate in a comment and an odd trailing byte are not text we
  // can represent, but a write must bring them back unchanged.
  const std::u16string body = u"[s]\r\n;\xD800 lone\r\nk=1\r\n";
  const std::string before = Utf16(body) + "\x41";
  EXPECT_EQ(WriteString(before, "s", "missing", std::nullopt), before);

  const std::string after = WriteString(before, "s", "k", "\xC3\xA4").value();
  EXPECT_EQ(after, Utf16(u"[s]\r\n;\xD800 lone\r\nk=\u00E4\r\n") + "\x41");
  EXPECT_EQ(GetString(after, "s", "k", "", 260), "\xC3\xA4");

  const std::string added = WriteString(Utf16(u"[s]\r\n"), "t", "k",
                                        "a\xFF"
                                        "b")
                                .value();
  EXPECT_EQ(added, Utf16(u"[s]\r\n[t]\r\nk=a\uFFFDb\r\n"));
}

// The one-pass listing must answer exactly what a listing followed by one
// lookup per name answers, in the cases where a lookup could find another
// line than the listed one.
TEST(IniEngineSectionValues, AgreesWithOneLookupPerName) {
  const std::string sections[] = {
      kF1,
      // Duplicates in other letter case, quotes, empty and blank values,
      // comment and key-less lines, a key before the first section, a second
      // section of the same name, a line "=v" without a name.
      "k=0\r\n[S]\r\nA=1\r\na=2\r\n;B=3\r\nB\r\nC=\"q\"\r\nD=  "
      "\r\n=v\r\nE='x\"\r\n[s]\r\nA=9\r\nF=8\r\n",
      // Names with inner blanks, and a name whose cut form is a later key.
      "[S]\r\nlong name=1\r\nlong = 2\r\nlo=3\r\n",
      // UTF-16LE with its mark.
      "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s,
  };
  for (const std::string& file : sections) {
    for (const std::size_t list_size : {1u, 2u, 5u, 7u, 12u, 16384u}) {
      for (const std::size_t value_size : {1u, 2u, 2048u}) {
        for (const char* section : {"S", " s ", "section1", "missing"}) {
          std::vector<Profile::NamedValue> expected;
          for (std::string& name :
               SplitProfileList(GetString(file, section, std::nullopt, "", list_size))) {
            std::string value = GetString(file, section, name, "", value_size);
            expected.push_back({std::move(name), std::move(value)});
          }
          EXPECT_EQ(portable::ini_engine::GetSectionValues(file, section, list_size, value_size),
                    expected)
              << "section " << section << ", list " << list_size << ", value " << value_size
              << ", file " << file;
        }
      }
    }
  }
}

}  // namespace
}  // namespace velkora
