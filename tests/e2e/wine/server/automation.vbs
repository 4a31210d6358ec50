' A VBScript client against the server that COM starts: one process for two
' objects, the information functions, names in any case, refused calls, the
' conversion error, the blocking info box and the end of the process after
' the last release. The runner presets SchreibeLog=1 so that the log shows
' which calls reached the server.
Dim o, o2, r, t0, elapsed, arr(3), log_text, conversion_error
conversion_error = "Ung" & Chr(252) & "ltige Variant-Typumwandlung"

CheckEq ProcessCount("velkora.exe"), 0, "no server runs before the first CreateObject"
Set o = CreateObject("ScriptFunctions.App")
CheckEq ProcessCount("velkora.exe"), 1, "CreateObject started one server"
Set o2 = CreateObject("ScriptFunctions.App")
CheckEq ProcessCount("velkora.exe"), 1, "a second object is served by the same process"

CheckEq o.VelkoraVersion, "010103", "VelkoraVersion"
CheckEq o2.VelkoraVersion(), "010103", "VelkoraVersion of the second object"
CheckEq o.VelkoraIniname, EnvVar("E2E_INI"), "VelkoraIniname is the .ini beside the exe"
CheckEq o.velkoraversion, "010103", "lower-case method name"
CheckEq o.VELKORAVERSION(), "010103", "upper-case method name"
CheckEq o.vElKoRaInInAmE, EnvVar("E2E_INI"), "mixed-case method name"

' A wrong number of arguments is refused by the dispatch.
On Error Resume Next
Err.Clear
r = o.VelkoraVersion(1)
CheckEq Err.Number, 450, "VelkoraVersion with an argument is refused"
Err.Clear
r = o.WndGetList("^E2E-falsch$")
CheckEq Err.Number, 450, "WndGetList with one argument is refused"
Err.Clear
r = o.IniRead("a.ini", "S", "K")
CheckEq Err.Number, 450, "IniRead with three arguments is refused"

' An array cannot become text: the automation error of the server.
Err.Clear
r = o.WndGetList(arr, ";")
CheckEq Err.Number, -2147418113, "array argument: E_UNEXPECTED"
CheckEq Err.Source, "ScriptFunctions.App", "array argument: error source"
CheckEq Codes(Err.Description), Codes(conversion_error), "array argument: error description"
Err.Clear
o.WndGetList arr, ";"
CheckEq Err.Number, -2147418113, "array argument in a statement call"
Err.Clear
On Error GoTo 0

' ShowInfo blocks until the watcher presses OK (it waits a second first).
t0 = Timer
r = o.ShowInfo()
elapsed = Timer - t0
CheckEq TypeName(r), "Empty", "ShowInfo gives no result"
Check elapsed >= 0.7, "ShowInfo blocked until its box was dismissed (" & elapsed & " s)"

log_text = ReadAll(EnvVar("E2E_LOG"))
Check InStr(log_text, "VelkoraVersion()") > 0, "the log holds the VelkoraVersion call"
Check InStr(log_text, "ShowInfo()") > 0, "the log holds the ShowInfo call"
Check InStr(log_text, "WndGetList(") = 0, "neither the refused nor the array WndGetList calls were logged"
Check InStr(log_text, "IniRead(") = 0, "the refused IniRead was not logged"

Set o = Nothing
Pause 1000
CheckEq ProcessCount("velkora.exe"), 1, "the server stays while the second object lives"
CheckEq o2.VelkoraVersion, "010103", "the second object still works"
Set o2 = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the last release"

E2eFinish
