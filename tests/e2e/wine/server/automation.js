// A JScript client: JScript adds a named "this" argument to every call and
// passes numbers and booleans by value; the server must take both.
checkEq(processCount("velkora.exe"), 0, "no server runs before the first object");
var o = new ActiveXObject("ScriptFunctions.App");
checkEq(processCount("velkora.exe"), 1, "new ActiveXObject started one server");
checkEq(o.VelkoraVersion(), "010103", "VelkoraVersion");
checkEq(o.velkoraversion(), "010103", "lower-case method name");
checkEq(o.VelkoraIniname(), envVar("E2E_INI"), "VelkoraIniname is the .ini beside the exe");
checkEq(o.WindowExists("E2E kein solches Fenster"), false, "WindowExists gives a Boolean false");
checkEq(o.WindowExists(90), false, "WindowExists with a number");
checkEq(o.WndGetList("^E2E-kein-solches-Fenster$", ";"), "", "WndGetList finds nothing");

var refused = 0;
try { o.VelkoraVersion(1); } catch (e) { refused = e.number; }
checkEq(refused, -2147352562, "VelkoraVersion with an argument is refused");
refused = 0;
try { o.WndGetList("x"); } catch (e) { refused = e.number; }
checkEq(refused, -2147352562, "WndGetList with one argument is refused");

o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
