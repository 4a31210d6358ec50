// JScript passes numbers and texts by value and adds a named "this" argument
// to every call; results come back as JScript booleans and strings.
var o = new ActiveXObject("ScriptFunctions.App");
checkEq(attempt("WindowExists", function () { return o.WindowExists("E2E kein solches Fenster"); }),
        false, "WindowExists gives a Boolean false");
checkEq(attempt("WindowExists(90)", function () { return o.WindowExists(90); }),
        false, "WindowExists with a number");
checkEq(attempt("WndGetList", function () { return o.WndGetList("^E2E-kein-solches-Fenster$", ";"); }),
        "", "WndGetList finds nothing");
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
