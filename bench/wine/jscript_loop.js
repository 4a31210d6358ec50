// The loop a script author writes: the object made with new ActiveXObject,
// the method called as a statement (its result unused), the first call
// inside the timed loop. The first argument gives the number of calls.
var calls = parseInt(WScript.Arguments(0), 10);
var o = new ActiveXObject("ScriptFunctions.App");
var started = new Date().getTime();
for (var i = 0; i < calls; i++) o.VelkoraVersion();
var ended = new Date().getTime();
o = null;
CollectGarbage();
WScript.Echo("LOOP calls=" + calls + " ms=" + (ended - started));
