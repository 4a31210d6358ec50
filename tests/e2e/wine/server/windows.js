// The window functions from JScript, against windows this script opens
// itself (through box_watcher.exe, which notes every close request). JScript
// passes true/false and numbers by value: WndClose's Alle arrives as their
// text, "-1", "0" or the number.
var o = new ActiveXObject("ScriptFunctions.App");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var record = "windows.js.record";

function closeRequests(expected) {
  var lines = [];
  for (var waited = 0; waited <= 5000; waited += 100) {
    lines = [];
    if (fso.FileExists(record)) {
      var file = fso.OpenTextFile(record, 1);
      while (!file.AtEndOfStream) lines.push(file.ReadLine());
      file.Close();
    }
    if (lines.length >= expected) break;
    pause(100);
  }
  return lines.join("|");
}

e2eShell.Run("box_watcher.exe windows " + record + " 120000 Foo Bar Boo", 0, false);
checkEq(e2eShell.Run("box_watcher.exe find Foo 15000", 0, true), 0, "the test's windows are open");

checkEq(o.WndGetList("^(foo|bar|boo)$", ","), "Foo,Bar,Boo", "WndGetList lists in Z-order, caseless");
checkEq(o.WndGetList("^E2E-kein-solches-Fenster$", ","), "", "WndGetList without a match");
checkEq(o.WindowExists("bo"), true, "WindowExists gives a Boolean");
checkEq(o.WindowExists("E2E-kein-solches-Fenster"), false, "WindowExists without a window");
checkEq(o.WndGetList("(a+)+$", ","), "", "the runaway pattern finds nothing");
checkEq(o.WndGetList("(", ","), "", "a pattern that does not compile gives the empty text");

checkEq(o.WndClose("^[fb]oo$", "|", false), "Foo", "WndClose(Alle false) closes the first match");
checkEq(closeRequests(1), "WM_CLOSE Foo", "only Foo was asked to close");
var refused = null;
try {
  o.WndClose("^bar$", "|", "vielleicht");
} catch (e) {
  refused = e.number;
}
checkEq(refused, -2147418113, "Alle that is no Boolean is refused");
checkEq(o.WndClose("^(bar|boo)$", "|", 1), "Bar|Boo", "WndClose(Alle 1) closes every match");
checkEq(closeRequests(3), "WM_CLOSE Foo|WM_CLOSE Bar|WM_CLOSE Boo", "Bar and Boo were asked to close");
checkEq(o.WndClose("^(bar|boo)$", "|", true), "", "closed windows are gone");

o = null;
CollectGarbage();
e2eFinish();
