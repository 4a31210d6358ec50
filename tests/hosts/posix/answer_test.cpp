#include "hosts/posix/answer.h"

#include <gtest/gtest.h>

namespace velkora {
namespace {

TEST(AnswerTest, JsonStringEscaping) {
  struct Case {
    std::string text;
    const char* json;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"010103", "\"010103\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"C:\\Tools\\server.exe", "\"C:\\\\Tools\\\\server.exe\""},
      {"1\r\n2\t3", "\"1\\r\\n2\\t3\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
      {"Größe € 😀", "\"Größe € 😀\""},
      // Not UTF-8: each stray byte becomes the Latin-1 character of its number.
      {"Gr\xf6\xdf"
       "e",
       "\"Gr\\u00f6\\u00dfe\""},
      {"\xc3", "\"\\u00c3\""},
      {"\xc0\xaf", "\"\\u00c0\\u00af\""},             // overlong
      {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},  // surrogate
      {"\xe2\x82", "\"\\u00e2\\u0082\""},             // cut short
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(AnswerTest, PlainAnswers) {
  const FormatSettings german = FormatSettings::German();
  struct Case {
    Variant value;
    const char* plain;
  };
  const Case cases[] = {
      {Variant::Text("010103"), "010103"}, {Variant(), ""},
      {Variant::Bool(true), "-1"},         {Variant::I4(-7), "-7"},
      {Variant::R8(0.5), "0,5"},           {Variant::Text("a\r\nb"), "a\\r\\nb"},
      {Variant::Null(), "<Null>"},
  };
  for (const Case& c : cases) {
    CallResult r;
    r.value = c.value;
    EXPECT_EQ(FormatAnswer(r, german, AnswerMode::kPlain), c.plain);
  }
}

TEST(AnswerTest, JsonValues) {
  const FormatSettings fs;
  CallResult r;
  r.value = Variant::Text("010103");
  EXPECT_EQ(FormatAnswer(r, fs, AnswerMode::kJson), R"({"value":"010103","type":"String","vt":8})");
  r.value = Variant();
  EXPECT_EQ(FormatAnswer(r, fs, AnswerMode::kJson), R"({"value":"","type":"Empty","vt":0})");
  r.value = Variant::Bool(false);
  EXPECT_EQ(FormatAnswer(r, fs, AnswerMode::kJson), R"({"value":"0","type":"Boolean","vt":11})");
  r.value = Variant::Null();
  EXPECT_EQ(FormatAnswer(r, fs, AnswerMode::kJson), R"({"value":null,"type":"Null","vt":1})");
}

TEST(AnswerTest, Errors) {
  CallResult r;
  r.error =
      AutomationError{"ScriptFunctions.App", "Ungültige Variant-Typumwandlung\r\nzweite Zeile",
                      static_cast<int32_t>(0x8000FFFFu)};
  const FormatSettings fs;
  EXPECT_EQ(FormatAnswer(r, fs, AnswerMode::kPlain),
            "Fehler 0x8000FFFF: Ungültige Variant-Typumwandlung\\r\\nzweite Zeile");
  EXPECT_EQ(
      FormatAnswer(r, fs, AnswerMode::kJson),
      R"({"error":{"source":"ScriptFunctions.App","description":"Ungültige Variant-Typumwandlung\r\nzweite Zeile","status":-2147418113,"status_hex":"0x8000FFFF"}})");

  CallLineError syntax{7, "expected ')'"};
  EXPECT_EQ(FormatSyntaxError(syntax, AnswerMode::kPlain),
            "Syntaxfehler in Spalte 7: expected ')'");
  EXPECT_EQ(FormatSyntaxError(syntax, AnswerMode::kJson),
            R"({"syntax_error":{"column":7,"message":"expected ')'"}})");
}

}  // namespace
}  // namespace velkora
