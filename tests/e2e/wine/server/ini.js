// The INI functions from JScript, under a German locale: JScript passes
// numbers, strings and Booleans by value, so each keeps its own type class.
// The runner checks the one box (null has no INI type) and the log.
var o = new ActiveXObject("ScriptFunctions.App");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var f = fso.GetAbsolutePathName("ini-js.ini");
var missing = fso.GetAbsolutePathName("ini-js-fehlt.ini");
if (fso.FileExists(f)) fso.DeleteFile(f);
var crlf = "\r\n";

attempt("writes", function () {
  o.IniWrite(f, "Werte", "Zahl", 42);
  o.IniWrite(f, "Werte", "Bruch", 0.25);
  o.IniWrite(f, "Werte", "Text", "Hallo Welt");
  o.IniWrite(f, "Werte", "Ja", true);
  o.IniWrite(f, "Werte", "Nichts", null);
});
checkEq(o.IniRead(f, "Werte", "Zahl", 0), 42, "integer round trip");
checkEq(o.IniRead(f, "Werte", "Bruch", 1.5), 0.25, "Real round trip");
checkEq(o.IniRead(f, "Werte", "Text", ""), "Hallo Welt", "String round trip");
checkEq(o.IniRead(f, "Werte", "Ja", false), true, "Boolean round trip");
checkEq(o.IniRead(f, "Werte", "Nichts", "leer"), "leer", "null wrote nothing");
checkEq(o.IniRead(f, "Werte", "Bruch", "x"), "0,25", "the Real's text has the decimal comma");

var text = fso.OpenTextFile(f, 1).ReadAll();
checkEq(text, "[Werte]\r\nZahl=42\r\nBruch=0,25\r\nText=Hallo Welt\r\nJa=1\r\n", "the file's bytes");

checkEq(o.IniRead(missing, "Werte", "Zahl", 7), 7, "missing file: the default");
checkEq(o.IniRead(f, "Fehlt", "Zahl", "d"), "d", "missing section: the default");
checkEq(o.IniRead(f, "Werte", "Fehlt", 1.5), 1.5, "missing key: the Real default");
checkEq(o.IniReadSections(f, ""), "Werte", "sections, empty separator");
checkEq(o.IniReadSection(f, "werte", crlf), "Zahl\r\nBruch\r\nText\r\nJa", "keys joined by CR LF");
checkEq(o.IniReadSectionValues(f, "Werte", ","), "Zahl=42,Bruch=0,25,Text=Hallo Welt,Ja=1", "entries");
checkEq(o.IniReadSections(missing, ","), "", "missing file: no sections");
attempt("delete", function () { o.IniDeleteKey(f, "Werte", "Text"); });
checkEq(o.IniReadSection(f, "Werte", ","), "Zahl,Bruch,Ja", "the deleted key is gone");

o = null;
CollectGarbage();
e2eFinish();
