#include "hosts/posix/call_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/date_time.h"

namespace velkora {
namespace {

// A line that holds a call: neither a syntax error nor skipped.
bool IsCall(const CallLineResult& r) { return r && *r; }

ParsedCall MustParse(std::string_view line) {
  CallLineResult r = ParseCallLine(line);
  if (!r) {
    ADD_FAILURE() << line << ": column " << r.error().column << ": " << r.error().message;
    return ParsedCall();
  }
  EXPECT_TRUE(*r) << line;
  return *r ? std::move(**r) : ParsedCall();
}

TEST(CallLineTest, CallShapes) {
  struct Case {
    const char* line;
    const char* method;
    std::size_t args;
  };
  const Case cases[] = {
      {"VelkoraVersion", "VelkoraVersion", 0},
      {"VelkoraVersion()", "VelkoraVersion", 0},
      {"  velkoraversion ( )  ", "velkoraversion", 0},
      {"IniRead(\"a.ini\", \"S\", \"K\", 0)", "IniRead", 4},
      {"IniRead \"a.ini\", \"S\",\"K\" , 0", "IniRead", 4},
      {"Call WndGetList(\"*\", \";\")", "WndGetList", 2},
      {"CALL ShowInfo", "ShowInfo", 0},
      {"WndGetList(\"*'*\", \";\")  ' a trailing comment", "WndGetList", 2},
      {"ShowInfo ' comment", "ShowInfo", 0},
      {"\tGetPerfStats \"x\"\r", "GetPerfStats", 1},
  };
  for (const Case& c : cases) {
    ParsedCall call = MustParse(c.line);
    EXPECT_EQ(call.method, c.method) << c.line;
    EXPECT_EQ(call.args.size(), c.args) << c.line;
  }
}

TEST(CallLineTest, BlankAndCommentLinesAreSkipped) {
  for (const char* line : {"", "   ", "\t\r", "' VBScript comment", "  # shell comment", "'"}) {
    const CallLineResult r = ParseCallLine(line);
    EXPECT_TRUE(r && !*r) << '"' << line << '"';
  }
}

// Literals are typed the way a script engine types them.
TEST(CallLineTest, LiteralTypes) {
  struct Case {
    const char* literal;
    Variant expected;
  };
  const Case cases[] = {
      {"\"text\"", Variant::Text("text")},
      {"\"\"", Variant::Text("")},
      {"\"say \"\"hi\"\"\"", Variant::Text("say \"hi\"")},
      {"\"a, b) 'c\"", Variant::Text("a, b) 'c")},
      {"\"Größe €\"", Variant::Text("Größe €")},
      {"0", Variant::I2(0)},
      {"32767", Variant::I2(32767)},
      {"-32768", Variant::I2(-32768)},
      {"32768", Variant::I4(32768)},
      {"-32769", Variant::I4(-32769)},
      {"2147483647", Variant::I4(2147483647)},
      {"-2147483648", Variant::I4(-2147483647 - 1)},
      {"2147483648", Variant::R8(2147483648.0)},
      {"99999999999999999999", Variant::R8(1e20)},
      {"+7", Variant::I2(7)},
      {"0.5", Variant::R8(0.5)},
      {".25", Variant::R8(0.25)},
      {"-1.5", Variant::R8(-1.5)},
      {"1e2", Variant::R8(100.0)},
      {"5.6789E-12", Variant::R8(5.6789e-12)},
      {"3.", Variant::R8(3.0)},
      {"&h10", Variant::I2(16)},
      {"&h10&", Variant::I2(16)},
      {"&HffFF", Variant::I2(-1)},
      {"&hffFF&", Variant::I4(65535)},
      {"&h10000", Variant::I4(65536)},
      {"&h7FFFFFFF", Variant::I4(2147483647)},
      {"&hFFFFFFFF", Variant::I2(-1)},
      {"-&h10", Variant::I2(-16)},
      {"True", Variant::Bool(true)},
      {"fALSE", Variant::Bool(false)},
      {"Empty", Variant()},
      {"null", Variant::Null()},
      {"Nothing", Variant::Dispatch()},
      {"#2004-01-01#", Variant::Date(37987.0)},
      {"#2026-12-07 09:15:02#", Variant::Date(EncodeDate(2026, 12, 7) + EncodeTime(9, 15, 2))},
      {"#2026-12-07 9:15#", Variant::Date(EncodeDate(2026, 12, 7) + EncodeTime(9, 15, 0))},
      {"#1899-12-29 06:00:00#", Variant::Date(-1.25)},
      {"CInt(2.5)", Variant::I2(2)},
      {"cint(-3.5)", Variant::I2(-4)},
      {"CLng(7)", Variant::I4(7)},
      {"CByte(255)", Variant::Ui1(255)},
      {"CSng(654322.23456)", Variant::R4(654322.23456f)},
      {"CDbl(1)", Variant::R8(1.0)},
      {"CCur(1.25)", Variant::Currency(12500)},
      {"CLngLng(9007199254740993)", Variant::I8(9007199254740993)},
      {"clnglng(-9223372036854775808)", Variant::I8(INT64_MIN)},
      {"CDec(-1.50)", Variant::Dec(Decimal{2, true, 0, 150})},
      {"CDec(79228162514264337593543950335)",
       Variant::Dec(Decimal{0, false, 0xFFFFFFFF, UINT64_MAX})},
      {"CDec(0.0000000000000000000000000001)", Variant::Dec(Decimal{28, false, 0, 1})},
      {"Array()", Variant::Array(kVtVariant)},
      {"Array(1, \"x\", Array(2))", Variant::Array(kVtVariant)},
  };
  for (const Case& c : cases) {
    std::string line = std::string("F(") + c.literal + ")";
    ParsedCall call = MustParse(line);
    ASSERT_EQ(call.args.size(), 1u) << line;
    EXPECT_EQ(call.args[0].value, c.expected) << line;
    EXPECT_FALSE(call.args[0].name) << line;
  }
}

TEST(CallLineTest, ByRefPointsAtAValueTheCallOwns) {
  ParsedCall call = MustParse("F(ByRef(\"x\"), byref(ByRef(5)), ByRef(Array(1)), ByRef(Null))");
  ASSERT_EQ(call.args.size(), 4u);
  EXPECT_EQ(call.args[0].value.Type(), kVtByRef | kVtVariant);
  EXPECT_EQ(call.args[0].value.Deref(), Variant::Text("x"));
  EXPECT_EQ(call.args[1].value.Type(), 0x400C);
  EXPECT_EQ(call.args[1].value.Deref(), Variant::I2(5));
  EXPECT_EQ(call.args[2].value.Deref().Type(), kVtArray | kVtVariant);
  EXPECT_EQ(call.args[3].value.Deref(), Variant::Null());

  // The targets move with the call.
  ParsedCall moved = std::move(call);
  EXPECT_EQ(moved.args[0].value.Deref(), Variant::Text("x"));
}

// The parser recurses once per level; a line from outside must not be able
// to exhaust the stack (300,000 levels crashed the host).
TEST(CallLineTest, NestingIsBoundedWithASyntaxError) {
  auto nested = [](const std::string& word, int depth) {
    std::string line = "F(";
    for (int i = 0; i < depth; ++i) line += word + "(";
    line += "1";
    line.append(static_cast<std::size_t>(depth), ')');
    return line + ")";
  };
  EXPECT_TRUE(IsCall(ParseCallLine(nested("ByRef", 64))));
  EXPECT_TRUE(IsCall(ParseCallLine(nested("Array", 64))));
  for (const std::string word : {"ByRef", "Array", "byref"}) {
    for (int depth : {65, 300000}) {
      CallLineResult r = ParseCallLine(nested(word, depth));
      ASSERT_FALSE(r) << word << " " << depth;
      EXPECT_EQ(r.error().column, 3u + 64u * 6u) << "where the 65th level begins";
      EXPECT_NE(r.error().message.find("nested deeper than 64"), std::string::npos)
          << r.error().message;
    }
  }
  // Levels count along one path, not across siblings.
  std::string wide = "F(";
  for (int i = 0; i < 200; ++i) wide += (i ? ", " : "") + std::string("ByRef(Array(1, 2))");
  EXPECT_TRUE(IsCall(ParseCallLine(wide + ")")));
}

TEST(CallLineTest, NamedArguments) {
  ParsedCall call =
      MustParse("IniRead(\"a.ini\", Eintrag:=\"K\", sektion := \"S\", Wert:=ByRef(0))");
  ASSERT_EQ(call.args.size(), 4u);
  EXPECT_FALSE(call.args[0].name);
  EXPECT_EQ(call.args[1].name, "Eintrag");
  EXPECT_EQ(call.args[1].value, Variant::Text("K"));
  EXPECT_EQ(call.args[2].name, "sektion");
  EXPECT_EQ(call.args[3].name, "Wert");
  EXPECT_EQ(call.args[3].value.Deref(), Variant::I2(0));
}

TEST(CallLineTest, MalformedLinesNameTheColumn) {
  struct Case {
    const char* line;
    std::size_t column;
    const char* message;  // a part of the message
  };
  const Case cases[] = {
      {"(1)", 1, "method name"},
      {"1Foo", 1, "method name"},
      {"VelkoraVersion(", 16, "expected an argument"},
      {"VelkoraVersion(1", 17, "expected ',' or ')'"},
      {"F(1,,2)", 5, "expected an argument"},
      {"F(1,)", 5, "expected an argument"},
      {"F 1,", 5, "expected an argument"},
      {"F(\"abc", 3, "unterminated string"},
      {"F(x)", 3, "unknown word 'x'"},
      {"F(1) 2", 6, "unexpected text"},
      {"F.G(1)", 2, "unexpected character"},
      {"F(12abc)", 5, "malformed number"},
      {"F(1.2.3)", 6, "malformed number"},
      {"F(-)", 3, "expected a number"},
      {"F(1e)", 5, "exponent"},
      {"F(1e999)", 3, "out of range"},
      {"F(&h)", 5, "hexadecimal digits"},
      {"F(&o17)", 4, "expected 'h'"},
      {"F(&h123456789)", 3, "longer than 8"},
      {"F(#2026-02-30#)", 3, "no such date"},
      {"F(#26-02-01#)", 4, "four-digit year"},
      {"F(#2026-01-01 24:00#)", 15, "no such time"},
      {"F(#2026-01-01)", 14, "expected '#'"},
      {"F(a:=1, 2)", 9, "positional argument"},
      {"F(CByte(256))", 9, "out of range for CByte"},
      {"F(CInt(\"1\"))", 8, "expected a number"},
      {"F(ByRef 1)", 9, "expected '('"},
      {"F(CLngLng(9223372036854775808))", 11, "out of range for CLngLng"},
      {"F(CLngLng(1.5))", 12, "malformed number"},
      {"F(CDec(79228162514264337593543950336))", 8, "out of range for CDec"},
      {"F(CDec(0.00000000000000000000000000001))", 8, "28 decimal places"},
      {"F(CDec(1e3))", 9, "malformed number"},
      {"F(\"ä\", x)", 8, "unknown word 'x'"},
  };
  for (const Case& c : cases) {
    CallLineResult r = ParseCallLine(c.line);
    ASSERT_FALSE(r) << c.line;
    EXPECT_EQ(r.error().column, c.column) << c.line << ": " << r.error().message;
    EXPECT_NE(r.error().message.find(c.message), std::string::npos)
        << c.line << ": " << r.error().message;
  }
}

}  // namespace
}  // namespace velkora
