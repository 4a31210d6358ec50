// How JScript values reach the server. JScript passes numbers and texts by
// value and adds a named "this" argument to every call. A call whose
// arguments all convert reaches the method: the window functions run (the
// runner finds their call lines with the arguments as text in the log).
// JScript's own objects (Date, Array, any object: VT_DISPATCH) stand for
// their default value, their text, as in the platform's own conversion;
// null and objects without a default value are refused with the conversion
// error before anything runs.
var o = new ActiveXObject("ScriptFunctions.App");
var conversionError = "Ung\u00fcltige Variant-Typumwandlung";

// Runs fn and returns the error it throws ({number, description}), or null.
function errorOf(fn) {
  try {
    fn();
  } catch (e) {
    return { number: e.number, description: e.description };
  }
  return null;
}

function checkRefused(what, fn) {
  var e = errorOf(fn);
  if (e === null) {
    check(false, what + ": no error, want the conversion error");
    return;
  }
  checkEq(e.number, -2147418113, what + ": refused (E_UNEXPECTED)");
  checkEq(e.description, conversionError, what + ": conversion error description");
}

checkEq(attempt("texts", function () { return o.WndGetList("^E2E$", ";"); }), "", "WndGetList: texts");
checkEq(attempt("integer", function () { return o.WindowExists(90); }), false,
        "WindowExists: integer where text is expected");
checkEq(attempt("fraction and integer", function () { return o.WndGetList(2.5, 1); }), "",
        "WndGetList: fraction and integer");
checkEq(attempt("Boolean", function () { return o.WindowExists(true); }), false, "WindowExists: Boolean");
checkEq(attempt("undefined", function () { return o.WindowExists(undefined); }), false,
        "WindowExists: undefined (Empty)");
var title = "^E2E$", n = 90;
checkEq(attempt("variables", function () { return o.WndGetList(title, n); }), "", "WndGetList: variables");

attempt("Date object", function () { return o.WindowExists(new Date(2016, 11, 24)); });
checkEq(attempt("Array object", function () { return o.WndGetList(["a", "b"], ";"); }), "",
        "WndGetList: Array object");
checkEq(attempt("Array object, second argument", function () { return o.WndGetList("^E2E$", [";"]); }),
        "", "WndGetList: Array object, second argument");
checkEq(attempt("plain object", function () { return o.WindowExists({ name: "x" }); }), false,
        "WindowExists: plain object");
attempt("function object", function () { return o.WindowExists(function () {}); });
var folder = new ActiveXObject("Scripting.FileSystemObject").GetFolder("C:\\windows");
checkEq(attempt("folder object", function () { return o.WndGetList(folder, ";"); }), "",
        "WndGetList: folder object");

checkRefused("null", function () { o.WindowExists(null); });
checkRefused("dictionary: its default member needs a key",
             function () { o.WindowExists(new ActiveXObject("Scripting.Dictionary")); });
checkRefused("the server's own object, which has no default value", function () { o.WindowExists(o); });

checkEq(o.VelkoraVersion(), "010103", "VelkoraVersion after the refused calls");
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
