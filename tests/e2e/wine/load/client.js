// The load test's client in JScript; the same calls and checks as
// client.vbs (see there).
//   cscript //nologo client.js <n> <rounds>
var n = Number(WScript.Arguments(0));
var rounds = Number(WScript.Arguments(1));
var fso = new ActiveXObject("Scripting.FileSystemObject");
var ini = fso.GetAbsolutePathName("load.ini");
var key = "Client" + n;
var app = new ActiveXObject("ScriptFunctions.App");
fso.CreateTextFile("load-" + n + ".ready", true).Close();
for (var tries = 0; !fso.FileExists("load.go") && tries < 1200; tries++) pause(50);
check(fso.FileExists("load.go"), "the runner gave the start");

var wrong = 0;
function report(i, what, value) {
  if (++wrong <= 20) check(false, "round " + i + ": " + what + " gave " + typeof value + " <" + value + ">");
}
var started = new Date().getTime();
for (var i = 1; i <= rounds; i++) {
  var v = n * 1000 + i;
  app.IniWrite(ini, "Last", key, v);
  var got = app.IniRead(ini, "Last", key, 0);
  if (got !== v) report(i, "IniRead with 0", got);
  got = app.IniRead(ini, "Last", key, "");
  if (got !== String(v)) report(i, "IniRead with \"\"", got);
  got = app.VelkoraVersion();
  if (got !== "010103") report(i, "VelkoraVersion", got);
}
info("client " + n + ": " + 4 * rounds + " calls in " +
     ((new Date().getTime() - started) / 1000).toFixed(1) + " s, " + wrong + " wrong");
check(wrong === 0, "every answer right");
app = null;
CollectGarbage();
e2eFinish();
