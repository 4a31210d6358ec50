// How JScript values reach the server. JScript passes numbers and texts by
// value and adds a named "this" argument to every call. A call whose
// arguments all convert reaches the method, which in this release answers
// "not available". JScript's own objects (Date, Array, any object:
// VT_DISPATCH) stand for their default value, their text, as in the
// platform's own conversion; null and objects without a default value are
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

function checkNotAvailable(name, what, fn) {
  var e = errorOf(fn);
  if (e === null) {
    check(false, what + ": no error, want " + name + " not available");
    return;
  }
  checkEq(e.number, -2147467263, what + ": reached " + name + " (E_NOTIMPL)");
  checkEq(e.description, "Die Funktion " + name + " ist in dieser Version noch nicht verf\u00fcgbar",
          what + ": not-available description");
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

checkNotAvailable("WndGetList", "texts", function () { o.WndGetList("^E2E$", ";"); });
checkNotAvailable("WindowExists", "integer where text is expected", function () { o.WindowExists(90); });
checkNotAvailable("IniReadSections", "fraction and integer", function () { o.IniReadSections(2.5, 1); });
checkNotAvailable("WindowExists", "Boolean", function () { o.WindowExists(true); });
checkNotAvailable("WindowExists", "undefined (Empty)", function () { o.WindowExists(undefined); });
var title = "^E2E$", n = 90;
checkNotAvailable("WndGetList", "variables", function () { o.WndGetList(title, n); });

checkNotAvailable("WindowExists", "Date object", function () { o.WindowExists(new Date(2016, 11, 24)); });
checkNotAvailable("WndGetList", "Array object", function () { o.WndGetList(["a", "b"], ";"); });
checkNotAvailable("WndGetList", "Array object, second argument", function () { o.WndGetList("^E2E$", [";"]); });
checkNotAvailable("WindowExists", "plain object", function () { o.WindowExists({ name: "x" }); });
checkNotAvailable("WindowExists", "function object", function () { o.WindowExists(function () {}); });
var folder = new ActiveXObject("Scripting.FileSystemObject").GetFolder("C:\\windows");
checkNotAvailable("IniReadSections", "folder object", function () { o.IniReadSections(folder, ";"); });

checkRefused("null", function () { o.WindowExists(null); });
checkRefused("dictionary: its default member needs a key",
             function () { o.WindowExists(new ActiveXObject("Scripting.Dictionary")); });
checkRefused("the server's own object, which has no default value", function () { o.WindowExists(o); });

checkEq(o.VelkoraVersion(), "010103", "VelkoraVersion after the refused calls");
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
