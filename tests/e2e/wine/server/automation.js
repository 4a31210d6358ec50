// A JScript client: JScript adds a named "this" argument to every call, which
// the server must drop; refused calls throw the dispatch's error.
checkEq(processCount("velkora.exe"), 0, "no server runs before the first object");
var o = new ActiveXObject("ScriptFunctions.App");
checkEq(processCount("velkora.exe"), 1, "new ActiveXObject started one server");
checkEq(o.VelkoraVersion(), "010103", "VelkoraVersion");
checkEq(o.velkoraversion(), "010103", "lower-case method name");
checkEq(o.VelkoraIniname(), envVar("E2E_INI"), "VelkoraIniname is the .ini beside the exe");

var refused = 0;
try { o.VelkoraVersion(1); } catch (e) { refused = e.number; }
checkEq(refused, -2147352562, "VelkoraVersion with an argument is refused");
refused = 0;
try { o.WndGetList("x"); } catch (e) { refused = e.number; }
checkEq(refused, -2147352562, "WndGetList with one argument is refused");

// ShowInfo blocks until the runner's watcher presses OK.
checkEq(o.ShowInfo(), undefined, "ShowInfo gives no result");

o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
