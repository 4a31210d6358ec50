// The dial-up functions and the counters from JScript, against Wine's
// dial-up library (no connection) and its empty dynamic registry data.
var o = new ActiveXObject("ScriptFunctions.App");
checkEq(attempt("GetRasConnection", function () { return o.GetRasConnection(); }), "",
        "GetRasConnection: no connection");
checkEq(attempt("RasClose", function () { return o.RasClose(); }), "", "RasClose: nothing to hang up");
checkEq(attempt("GetPerfStats", function () { return o.GetPerfStats("Dial-Up Adapter\\ConnectSpeed"); }), 0,
        "GetPerfStats: no such counter, a number");
o = null;
CollectGarbage();
check(waitProcessGone("velkora.exe", 10000), "the server ended after the object was released");
e2eFinish();
