// Shared helpers the runner puts in front of every JScript test. A test
// counts its failed checks and ends with e2eFinish(), which prints the end
// marker the runner requires and quits with the failure count.
var e2eFailures = 0;
var e2eShell = new ActiveXObject("WScript.Shell");

function check(condition, what) {
  if (condition) {
    WScript.Echo("ok   " + what);
  } else {
    WScript.Echo("FAIL " + what);
    e2eFailures++;
  }
}

function checkEq(actual, expected, what) {
  if (typeof actual === typeof expected && actual === expected) {
    WScript.Echo("ok   " + what);
  } else {
    WScript.Echo("FAIL " + what + ": got " + typeof actual + " <" + actual + ">, want " +
                 typeof expected + " <" + expected + ">");
    e2eFailures++;
  }
}

function info(text) { WScript.Echo("INFO " + text); }

function e2eFinish() {
  WScript.Echo("E2E-END failures=" + e2eFailures);
  WScript.Quit(e2eFailures);
}

// Wine's ExpandEnvironmentStrings leaves the terminating NUL in the result.
function envVar(name) {
  return String(e2eShell.ExpandEnvironmentStrings("%" + name + "%")).replace(/\u0000+$/, "");
}

// Calls fn; a thrown error becomes a failed check instead of ending the script.
function attempt(what, fn) {
  try {
    return fn();
  } catch (e) {
    WScript.Echo("FAIL " + what + ": error " + e.number + " " + e.description);
    e2eFailures++;
    return undefined;
  }
}

function pause(ms) { e2eShell.Run("box_watcher.exe sleep " + ms, 0, true); }

// Live processes with this image name, as Windows sees them. Wine's JScript
// has neither GetObject nor an Enumerator over WMI results, and Wine's WMI
// knows the command line of the calling process only: a count is what it gives.
function processCount(image) {
  return new ActiveXObject("WbemScripting.SWbemLocator").ConnectServer()
      .ExecQuery("select * from Win32_Process where Name = '" + image + "'").Count;
}

function waitProcessGone(image, ms) {
  for (var waited = 0; processCount(image) > 0 && waited < ms; waited += 200) pause(200);
  return processCount(image) === 0;
}
// ---- test body ----
