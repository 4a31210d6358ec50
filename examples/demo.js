// A short tour of the ScriptFunctions.App automation server (velkora.exe)
// in JScript. With the server registered (velkora.exe /RegServer), run it with
//     cscript //nologo demo.js
// COM starts the server (velkora.exe -Embedding) for the first object.
var app = new ActiveXObject("ScriptFunctions.App");

WScript.Echo("VelkoraVersion = " + app.VelkoraVersion());
WScript.Echo("VelkoraIniname = " + app.VelkoraIniname());

// An INI round trip. JScript hands numbers and Booleans over as they are,
// so the value's type decides how it is stored and what comes back: a whole
// number as a number, true as 1 and back as true, text as it is. A file
// named without a path would lie in the Windows folder, so the script
// names the full path (here in the current folder).
var ini = new ActiveXObject("Scripting.FileSystemObject").GetAbsolutePathName("demo-js.ini");
app.IniWrite(ini, "Verbindung", "Anbieter", "Beispiel");
app.IniWrite(ini, "Verbindung", "Minuten", 42);
app.IniWrite(ini, "Verbindung", "Aktiv", true);
WScript.Echo("");
WScript.Echo("INI file " + ini);
show("IniRead Anbieter", app.IniRead(ini, "Verbindung", "Anbieter", ""));
show("IniRead Minuten", app.IniRead(ini, "Verbindung", "Minuten", 0));
show("IniRead Aktiv", app.IniRead(ini, "Verbindung", "Aktiv", false));
show("IniRead Fehlt", app.IniRead(ini, "Verbindung", "Fehlt", "Vorgabe"));
show("IniReadSection", app.IniReadSection(ini, "Verbindung", ";"));
app.IniDeleteKey(ini, "Verbindung", "Minuten");
show("after IniDeleteKey", app.IniReadSectionValues(ini, "Verbindung", ";"));

// A call with the wrong number of arguments is refused before the function
// runs; JScript throws it as an error.
WScript.Echo("");
try {
  app.IniRead(ini, "Verbindung");
  WScript.Echo("IniRead with two arguments: no error");
} catch (e) {
  WScript.Echo("IniRead with two arguments: error 0x" + (e.number >>> 0).toString(16).toUpperCase());
}

// The server ends shortly after its last object is released.
app = null;
WScript.Echo("");
WScript.Echo("Demo beendet.");

function show(what, value) {
  WScript.Echo("  " + what + " = " + value + " (" + typeof value + ")");
}
