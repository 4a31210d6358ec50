// The same loop as roundtrip.vbs, in JScript.
var calls = parseInt(WScript.Arguments(0), 10);
var app = new ActiveXObject("ScriptFunctions.App");
var answer = app.VelkoraVersion();
var started = new Date().getTime();
for (var i = 0; i < calls; i++) answer = app.VelkoraVersion();
var ended = new Date().getTime();
app = null;
CollectGarbage();
if (answer == "010103") WScript.Echo("LOOP calls=" + calls + " ms=" + (ended - started));
