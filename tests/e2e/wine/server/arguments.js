// How JScript values reach the server. JScript passes numbers and texts by
// value and adds a named "this" argument to every call. A call whose
// arguments all convert reaches the method: the window functions run (the
// runner finds their call lines with the arguments as text in the log); null
// and JScript's own objects (Date, Array, any object: VT_DISPATCH) are
// refused with the conversion error before anything runs.
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

checkRefused("null", function () { o.WindowExists(null); });
checkRefused("Date object", function () { o.WindowExists(new Date(2016, 11, 24)); });
checkRefused("Array object", function () { o.WndGetList(["a", "b"], ";"); });
checkRefused("Array object, second argument", function () { o.WndGetList("^E2E$", [";"]); });
checkRefused("plain object", function () { o.WindowExists({ name: "x" }); });
checkRefused("function object", function () { o.WindowExists(function () {}); });

checkEq(o.VelkoraVersion(), "010103", "VelkoraVersion after the refused calls");
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
