#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "base/date_time.h"
#include "ini/ini_file.h"
#include "ini/ini_functions.h"
#include "ini_test_fixture.h"

namespace velkora {
namespace {

using testing_support::IniTest;
using testing_support::Lines;

using IniValues = IniTest;

TEST_F(IniValues, IntegerRoundTripWithItsLines) {
  const std::string f1 = File("a.ini");
  ini.IniWrite(f1, "S", "K", Variant::I2(5));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=5\r\n");
  EXPECT_EQ(frame.StatusLine(), "IniWrite(\"" + f1 + "\",\"S\",\"K\",[5])");
  const Variant read = ini.IniRead(f1, "S", "K", Variant::I2(0));
  EXPECT_EQ(read, Variant::I4(5)) << "an integer comes back as a 32-bit integer";
  EXPECT_EQ(frame.StatusLine(), "IniRead(\"" + f1 + "\",\"S\",\"K\",[0])-->[5]");
  ini.IniWrite(f1, "S", "K", Variant::I4(-2147483647 - 1));
  EXPECT_EQ(ini.IniRead(f1, "S", "K", Variant::I4(0)), Variant::I4(-2147483647 - 1));
  EXPECT_EQ(LogLines(),
            (Lines{"IniWrite(\"" + f1 + "\",\"S\",\"K\",[5])", " Integer",
                   "IniRead(\"" + f1 + "\",\"S\",\"K\",[0])", " Integer", " --> [5]",
                   "IniWrite(\"" + f1 + "\",\"S\",\"K\",[-2147483648])", " Integer",
                   "IniRead(\"" + f1 + "\",\"S\",\"K\",[0])", " Integer", " --> [-2147483648]"}));
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniValues, IntegerReadingRules) {
  Put("a.ini",
      "[S]\r\nhex=0x1F\r\nHEX=0X10\r\nshort=0x\r\ndollar=$ff\r\nword=abc\r\nempty=\r\n"
      "big=2147483648\r\nblank= 12 \r\nquoted=\"7\"\r\n");
  const std::string f1 = File("a.ini");
  auto read = [&](const char* key, int32_t def) {
    return ini.IniRead(f1, "S", key, Variant::I4(def));
  };
  EXPECT_EQ(read("hex", 0), Variant::I4(31));
  EXPECT_EQ(read("dollar", 0), Variant::I4(255));
  EXPECT_EQ(read("short", 9), Variant::I4(9)) << "\"0x\" alone is no number";
  EXPECT_EQ(read("word", 9), Variant::I4(9));
  EXPECT_EQ(read("empty", 9), Variant::I4(9));
  EXPECT_EQ(read("big", 9), Variant::I4(9)) << "beyond 32 bits";
  EXPECT_EQ(read("blank", 9), Variant::I4(12)) << "the profile functions trim the value";
  EXPECT_EQ(read("quoted", 9), Variant::I4(7)) << "and drop its quotes";
  EXPECT_EQ(read("Fehlt", 7), Variant::I4(7));
  EXPECT_EQ(ini.IniRead(File("missing.ini"), "S", "K", Variant::I2(-3)), Variant::I4(-3));
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniValues, BooleanAsOneAndZero) {
  const std::string f1 = File("a.ini");
  ini.IniWrite(f1, "S", "Wahr", Variant::Bool(true));
  ini.IniWrite(f1, "S", "Falsch", Variant::Bool(false));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nWahr=1\r\nFalsch=0\r\n");
  EXPECT_EQ(ini.IniRead(f1, "S", "Wahr", Variant::Bool(false)), Variant::Bool(true));
  EXPECT_EQ(frame.StatusLine(), "IniRead(\"" + f1 + "\",\"S\",\"Wahr\",[0])-->[-1]");
  EXPECT_EQ(ini.IniRead(f1, "S", "Falsch", Variant::Bool(true)), Variant::Bool(false));
  Put("b.ini", "[S]\r\ntwo=2\r\nword=True\r\nhex=0x0\r\nminus=-1\r\nlow=-2147483648\r\n");
  const std::string f2 = File("b.ini");
  EXPECT_EQ(ini.IniRead(f2, "S", "two", Variant::Bool(false)), Variant::Bool(true));
  // -1 is what a script's Boolean variable stores (it arrives by reference
  // and takes the text path); every value but 0 is True.
  EXPECT_EQ(ini.IniRead(f2, "S", "minus", Variant::Bool(false)), Variant::Bool(true));
  EXPECT_EQ(ini.IniRead(f2, "S", "low", Variant::Bool(false)), Variant::Bool(true));
  EXPECT_EQ(ini.IniRead(f2, "S", "word", Variant::Bool(false)), Variant::Bool(false))
      << "a word is no number";
  EXPECT_EQ(ini.IniRead(f2, "S", "word", Variant::Bool(true)), Variant::Bool(true));
  EXPECT_EQ(ini.IniRead(f2, "S", "hex", Variant::Bool(true)), Variant::Bool(false));
  EXPECT_EQ(ini.IniRead(f2, "S", "none", Variant::Bool(true)), Variant::Bool(true));
  EXPECT_EQ(LogLines()[1], " Boolean");
}

TEST_F(IniValues, RealsUseTheLocalesDecimalComma) {
  const std::string f1 = File("a.ini");
  ini.IniWrite(f1, "S", "K", Variant::R8(1.5));
  ini.IniWrite(f1, "S", "Gross", Variant::R8(1e20));
  ini.IniWrite(f1, "S", "Klein", Variant::R8(-0.00001));
  ini.IniWrite(f1, "S", "Single", Variant::R4(0.5f));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=1,5\r\nGross=1E20\r\nKlein=-1E-5\r\nSingle=0,5\r\n");
  EXPECT_EQ(LogLines()[0], "IniWrite(\"" + f1 + "\",\"S\",\"K\",[1,5])");
  EXPECT_EQ(LogLines()[1], " Real");
  EXPECT_EQ(ini.IniRead(f1, "S", "K", Variant::R8(0)), Variant::R8(1.5));
  EXPECT_EQ(frame.StatusLine(), "IniRead(\"" + f1 + "\",\"S\",\"K\",[0])-->[1,5]");
  EXPECT_EQ(ini.IniRead(f1, "S", "Gross", Variant::R4(0)), Variant::R8(1e20))
      << "a double whatever the default";
  EXPECT_EQ(ini.IniRead(f1, "S", "Klein", Variant::R8(0)), Variant::R8(-0.00001));
  // A missing key reads the default's own text back, exponent included.
  EXPECT_EQ(ini.IniRead(f1, "S", "Fehlt", Variant::R8(2.5e20)), Variant::R8(2.5e20));
  EXPECT_EQ(ini.IniRead(f1, "S", "Fehlt", Variant::R8(0.1)), Variant::R8(0.1));
  EXPECT_TRUE(f.boxes.shown.empty());
}

// The largest double rounds up past the double range when written with 15
// digits; what the server wrote must still read back.
TEST_F(IniValues, LargestRealsReadBack) {
  const std::string f1 = File("a.ini");
  const double largest = std::numeric_limits<double>::max();
  ini.IniWrite(f1, "S", "Max", Variant::R8(largest));
  ini.IniWrite(f1, "S", "Min", Variant::R8(-largest));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nMax=1,79769313486232E308\r\nMin=-1,79769313486232E308\r\n");
  EXPECT_EQ(ini.IniRead(f1, "S", "Max", Variant::R8(0)), Variant::R8(largest));
  EXPECT_EQ(ini.IniRead(f1, "S", "Min", Variant::R8(0)), Variant::R8(-largest));
  EXPECT_EQ(ini.IniRead(f1, "S", "Fehlt", Variant::R8(largest)), Variant::R8(largest))
      << "the default's text too";
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniValues, RealThatIsNoNumberIsReportedAndReadsEmpty) {
  Put("a.ini", "[S]\r\npoint=1.5\r\nempty=\r\n");
  const std::string f1 = File("a.ini");
  EXPECT_EQ(ini.IniRead(f1, "S", "point", Variant::R8(0)), Variant());
  EXPECT_EQ(ini.IniRead(f1, "S", "empty", Variant::R8(0)), Variant());
  EXPECT_EQ(BoxTexts(), (Lines{"Exception: '1.5' ist kein gültiger Gleitkommawert",
                               "Exception: '' ist kein gültiger Gleitkommawert"}));
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora");
  EXPECT_EQ(LogLines(), (Lines{"IniRead(\"" + f1 + "\",\"S\",\"point\",[0])", " Real",
                               " Exception: '1.5' ist kein gültiger Gleitkommawert",
                               "IniRead(\"" + f1 + "\",\"S\",\"empty\",[0])", " Real",
                               " Exception: '' ist kein gültiger Gleitkommawert"}))
      << "no result line after an error";
  EXPECT_EQ(frame.StatusLine(), "IniRead(\"" + f1 + "\",\"S\",\"empty\",[0])");
}

TEST_F(IniValues, StringsAndScriptVariables) {
  const std::string f1 = File("a.ini");
  ini.IniWrite(f1, "S", "K", Variant::Text("  Wert mit \"Zeichen\"  "));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=  Wert mit \"Zeichen\"  \r\n") << "written exactly as given";
  EXPECT_EQ(ini.IniRead(f1, "S", "K", Variant::Text("")), Variant::Text("Wert mit \"Zeichen\""));
  EXPECT_EQ(ini.IniRead(f1, "S", "Fehlt", Variant::Text("x")), Variant::Text("x"));

  // A script variable holding 5 arrives by reference: it takes the text
  // path both ways, whatever it holds.
  const Variant five = Variant::I2(5);
  const Variant variable = Variant::ByRef(&five);
  EXPECT_EQ(ini.IniRead(f1, "S", "Fehlt", variable), Variant::Text("5"));
  EXPECT_EQ(LogLines().back(), " --> [5]");
  EXPECT_EQ(LogLines()[LogLines().size() - 2], " String");
  const Variant real = Variant::R8(1.25);
  ini.IniWrite(f1, "S", "Var", Variant::ByRef(&real));
  EXPECT_EQ(ini.IniRead(f1, "S", "Var", Variant::I2(0)), Variant::I4(0)) << "'1,25' is no integer";
  EXPECT_EQ(ini.IniRead(f1, "S", "Var", Variant::ByRef(&five)), Variant::Text("1,25"));
  const Variant truth = Variant::Bool(true);
  ini.IniWrite(f1, "S", "Bool", Variant::ByRef(&truth));
  EXPECT_EQ(ini.IniRead(f1, "S", "Bool", Variant::Text("")), Variant::Text("-1"));

  Put("b.ini", "[S]\r\nempty=\r\nlong=" + std::string(3000, 'x') + "\r\n");
  EXPECT_EQ(ini.IniRead(File("b.ini"), "S", "empty", Variant::Text("d")), Variant::Text(""));
  EXPECT_EQ(ini.IniRead(File("b.ini"), "S", "long", Variant::Text("")),
            Variant::Text(std::string(2047, 'x')));
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST_F(IniValues, OtherTypesShowTheirCodeAndTouchNothing) {
  const std::string f1 = File("a.ini");
  const Variant date = Variant::Date(EncodeDate(2026, 12, 7));
  ini.IniWrite(f1, "S", "K", date);
  EXPECT_FALSE(std::filesystem::exists(f1)) << "nothing written";
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].text, "IniWrite - Datentyp (0007) unbekannt:\r\n\r\nDatei: " + f1 +
                                       "\r\nSektion: S\r\nSchlüssel: K");
  EXPECT_EQ(f.boxes.shown[0].caption, "Fehler in Velkora");
  EXPECT_EQ(f.boxes.shown[0].icon, BoxIcon::kError);
  EXPECT_EQ(LogLines(),
            (Lines{"IniWrite(\"" + f1 + "\",\"S\",\"K\",[07.12.2026])", " unklar 0007"}));

  Put("a.ini", "[S]\r\nK=1\r\n");
  EXPECT_EQ(ini.IniRead(f1, "S", "K", date), Variant());
  EXPECT_EQ(f.boxes.shown.back().text, "IniRead - Datentyp (0007) unbekannt:\r\n\r\nDatei: " + f1 +
                                           "\r\nSektion: S\r\nSchlüssel: K");
  EXPECT_EQ(LogLines().back(), " --> []");

  // Empty and Null show as empty text; 64-bit integers and decimals keep
  // every digit in the call line and are no INI type either.
  ini.IniWrite(f1, "S", "K", Variant());
  ini.IniWrite(f1, "S", "K", Variant::Null());
  ini.IniWrite(f1, "S", "K", Variant::I8(9007199254740993));
  ini.IniWrite(f1, "S", "K", Variant::Dec(Decimal{2, false, 0, 150}));
  ini.IniWrite(f1, "S", "K", Variant::Currency(15000));
  ini.IniWrite(f1, "S", "K", Variant::Ui1(3));
  const Lines log = LogLines();
  const Lines tail(log.end() - 12, log.end());
  EXPECT_EQ(tail, (Lines{"IniWrite(\"" + f1 + "\",\"S\",\"K\",[])", " unklar 0000",
                         "IniWrite(\"" + f1 + "\",\"S\",\"K\",[])", " unklar 0001",
                         "IniWrite(\"" + f1 + "\",\"S\",\"K\",[9007199254740993])", " unklar 0014",
                         "IniWrite(\"" + f1 + "\",\"S\",\"K\",[1,5])", " unklar 000E",
                         "IniWrite(\"" + f1 + "\",\"S\",\"K\",[1,5])", " unklar 0006",
                         "IniWrite(\"" + f1 + "\",\"S\",\"K\",[3])", " unklar 0011"}));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=1\r\n");
  EXPECT_EQ(f.boxes.shown.size(), 8u);
}

TEST_F(IniValues, FailuresAreReportedAndTheCallReturns) {
  // A folder that does not exist cannot take the file.
  const std::string nowhere = File("fehlt/a.ini");
  ini.IniWrite(nowhere, "S", "K", Variant::I2(1));
  EXPECT_EQ(BoxTexts(), Lines{"Exception: nach " + nowhere + " kann nicht geschrieben werden"});
  EXPECT_EQ(LogLines(), (Lines{"IniWrite(\"" + nowhere + "\",\"S\",\"K\",[1])", " Integer",
                               " Exception: nach " + nowhere + " kann nicht geschrieben werden"}));

  // A line break would write lines of its own into the file; the message
  // names the break, not the file.
  f.boxes.shown.clear();
  Put("a.ini", "[S]\r\nK=1\r\n");
  const std::string a = File("a.ini");
  ini.IniWrite(a, "S", "K", Variant::Text("x\r\n[Andere]\r\nk=v"));
  ini.IniWrite(a, "S\n", "K", Variant::Text("x"));
  ini.IniWrite(a, "S", "K\r", Variant::Text("x"));
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=1\r\n");
  EXPECT_EQ(
      BoxTexts(),
      (Lines{
          "Exception: Wert mit Zeilenumbruch kann nicht nach " + a + " geschrieben werden",
          "Exception: Sektion mit Zeilenumbruch kann nicht nach " + a + " geschrieben werden",
          "Exception: Schlüssel mit Zeilenumbruch kann nicht nach " + a + " geschrieben werden"}));

  // A value without a text form stops the call before its call line.
  f.boxes.shown.clear();
  const std::size_t lines = LogLines().size();
  EXPECT_EQ(ini.IniRead(File("a.ini"), "S", "K", Variant::Array(kVtVariant)), Variant());
  const Variant array = Variant::Array(kVtI4);
  ini.IniWrite(File("a.ini"), "S", "K", Variant::ByRef(&array));
  EXPECT_EQ(BoxTexts(), (Lines{"Exception: Ungültige Variant-Typumwandlung",
                               "Exception: Ungültige Variant-Typumwandlung"}));
  EXPECT_EQ(LogLines().size(), lines + 2);
  EXPECT_EQ(LogLines().back(), " Exception: Ungültige Variant-Typumwandlung");
  EXPECT_EQ(Bytes("a.ini"), "[S]\r\nK=1\r\n");
}

TEST_F(IniValues, DeleteKeyIsSilentAboutWhatIsMissing) {
  Put("a.ini", "; Kommentar\r\n[S]\r\nA=1\r\nB=2\r\n");
  const std::string f1 = File("a.ini");
  ini.IniDeleteKey(f1, "s", "a");
  EXPECT_EQ(Bytes("a.ini"), "; Kommentar\r\n[S]\r\nB=2\r\n");
  ini.IniDeleteKey(f1, "S", "Fehlt");
  ini.IniDeleteKey(f1, "Fehlt", "B");
  ini.IniDeleteKey(File("fehlt.ini"), "S", "K");
  ini.IniDeleteKey(File("fehlt/a.ini"), "S", "K");
  EXPECT_EQ(Bytes("a.ini"), "; Kommentar\r\n[S]\r\nB=2\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("fehlt.ini"))) << "a delete creates no file";
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(LogLines(), (Lines{"IniDeleteKey(\"" + f1 + "\",\"s\",\"a\")",
                               "IniDeleteKey(\"" + f1 + "\",\"S\",\"Fehlt\")",
                               "IniDeleteKey(\"" + f1 + "\",\"Fehlt\",\"B\")",
                               "IniDeleteKey(\"" + File("fehlt.ini") + "\",\"S\",\"K\")",
                               "IniDeleteKey(\"" + File("fehlt/a.ini") + "\",\"S\",\"K\")"}));
  EXPECT_EQ(frame.StatusLine(), "IniDeleteKey(\"" + File("fehlt/a.ini") + "\",\"S\",\"K\")");
}

TEST(SplitProfileList, EveryNulEndsANameAndACutNameCounts) {
  EXPECT_EQ(SplitProfileList(""), std::vector<std::string>{});
  EXPECT_EQ(SplitProfileList(std::string("A\0B\0", 4)), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(SplitProfileList(std::string("A\0\0B\0", 5)), (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(SplitProfileList(std::string("section1\0secti", 14)),
            (std::vector<std::string>{"section1", "secti"}));
}

}  // namespace
}  // namespace velkora
