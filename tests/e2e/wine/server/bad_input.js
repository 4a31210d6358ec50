// Every method with every argument that has no text form, and every kind of
// value JScript makes where text is expected: each call ends with the
// method's result or with a clear automation error, and the server keeps
// serving. null and an object without a default value are refused in every
// argument but Wert before anything runs; JScript's own objects (Array,
// Date, any object) stand for their text. Nothing here shows a box.
var o = new ActiveXObject("ScriptFunctions.App");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var dict = new ActiveXObject("Scripting.Dictionary");
var conversionError = "Ung\u00fcltige Variant-Typumwandlung";

// A file with the sections A and B: IniReadSections(file, x) gives back
// "A" + x + "B", so a separator shows what the server made of it.
var file = fso.GetAbsolutePathName("bad_input_js.ini");
var stream = fso.CreateTextFile(file, true);
stream.Write("[A]\r\n[B]\r\n");
stream.Close();

function ordinary(param) {
  switch (param) {
    case "Datei": case "IniDatei": return file;
    case "Sektion": return "A";
    case "Eintrag": return "K";
    case "Wert": return 1;
    case "Dauer": return 90;
    case "Trenner": return ";";
    case "Muster": return "^E2E-kein-solches-Fenster$";
    case "Alle": return false;
    default: return "E2E-kein-solches-Fenster";
  }
}

// Calls method `name` with `args` late-bound, as a script does.
function invoke(name, args) {
  switch (args.length) {
    case 0: return o[name]();
    case 1: return o[name](args[0]);
    case 2: return o[name](args[0], args[1]);
    case 3: return o[name](args[0], args[1], args[2]);
    default: return o[name](args[0], args[1], args[2], args[3]);
  }
}

function errorOf(fn) {
  try {
    fn();
  } catch (e) {
    return e;
  }
  return null;
}

// Every method but ShowInfo (its box needs a click).
var methods = [
  ["WindowExists", "FensterName"], ["CloseWindow", "FensterName"], ["GetRasConnection"],
  ["IniWrite", "Datei", "Sektion", "Eintrag", "Wert"], ["IniRead", "Datei", "Sektion", "Eintrag", "Wert"],
  ["IniDeleteKey", "Datei", "Sektion", "Eintrag"], ["GetRasLCRName", "Dauer"], ["GetRasLCRInfo", "Dauer", "Trenner"],
  ["WndGetList", "Muster", "Trenner"], ["WndClose", "Muster", "Trenner", "Alle"], ["RasClose"], ["VelkoraVersion"],
  ["IniReadSectionValues", "IniDatei", "Sektion", "Trenner"], ["IniReadSection", "Datei", "Sektion", "Trenner"],
  ["IniReadSections", "Datei", "Trenner"], ["VelkoraIniname"], ["GetPerfStats", "Key"]];
var refused = [null, dict];

var count = 0;
for (var m = 0; m < methods.length; m++) {
  var name = methods[m][0], params = methods[m].slice(1);
  if (params.length === 0) {
    var e = errorOf(function () { invoke(name, []); });
    check(e === null, name + "(): no error");
  }
  for (var p = 0; p < params.length; p++) {
    if (params[p] === "Wert") continue;  // the INI functions report odd types in a box
    for (var v = 0; v < refused.length; v++) {
      var args = [];
      for (var k = 0; k < params.length; k++) args.push(k === p ? refused[v] : ordinary(params[k]));
      var err = errorOf(function () { invoke(name, args); });
      count++;
      if (err === null || err.number !== -2147418113 || err.description !== conversionError) {
        check(false, name + " " + params[p] + " = " + (v === 0 ? "null" : "Dictionary") + ": " +
              (err === null ? "no error" : err.number + " " + err.description));
      }
    }
  }
}
checkEq(count, 56, "refused values tried in every argument but Wert");

// Values that have a text form, as separators.
var big = "xxxxxxxxxx";
for (var d = 0; d < 20; d++) big += big;  // 10 MB
var cases = [
  ["undefined", undefined, ""], ["empty text", "", ""], ["NUL", "vor\0nach", "vor\0nach"],
  ["10 MB", big, big], ["integer", 5, "5"], ["fraction", 2.5, "2.5"], ["2^31", 2147483648, "2147483648"],
  ["true", true, "-1"], ["Array", ["a", "b"], "a,b"], ["object", {}, "[object Object]"],
  // Outside the ANSI code page a character becomes "?"; the euro sign is in it.
  ["CJK", "\u6f22", "?"], ["euro", "\u20ac", "\u20ac"]];
for (var c = 0; c < cases.length; c++) {
  var result = null;
  var failed = errorOf(function () { result = o.IniReadSections(file, cases[c][1]); });
  check(failed === null, cases[c][0] + " separator: no error" + (failed ? " (" + failed.description + ")" : ""));
  if (result !== "A" + cases[c][2] + "B") {
    check(false, cases[c][0] + " separator: got " + (result === null ? "null" : result.length + " characters <" +
          result.substr(0, 40) + ">"));
  }
}
var dated = o.IniReadSections(file, new Date(2016, 11, 24));
check(dated.charAt(0) === "A" && dated.indexOf("2016") > 0, "Date separator: " + dated);

// The wrong number of arguments never reaches the server.
check(errorOf(function () { o.WndGetList("x"); }) !== null, "too few arguments refused");
check(errorOf(function () { o.VelkoraVersion(1); }) !== null, "too many arguments refused");

checkEq(o.VelkoraVersion(), "010103", "the server still serves");
// Quit ends the process without closing the engine: let go of the object first.
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
