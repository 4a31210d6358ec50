' Script variables arrive as references to variants (VT_BYREF|VT_VARIANT):
' the server must take the value behind the reference, for text and numbers,
' and answer with the right result type. The runner presets SchreibeLog=1.
Dim o, r, title, sep, n, log_text, conversion_error
conversion_error = "Ung" & Chr(252) & "ltige Variant-Typumwandlung"
Set o = CreateObject("ScriptFunctions.App")

On Error Resume Next
title = "^E2E-kein-solches-Fenster$"
sep = ";"
r = Empty
r = o.WndGetList(title, sep)
' Whatever the call answers, it is not the conversion error an unhandled
' reference would give.
Check Err.Number <> 450 And Codes(Err.Description) <> Codes(conversion_error), _
  "text variables pass the argument conversion"
CheckNoErr "WndGetList with variables"
CheckEq r, "", "WndGetList with variables finds nothing"

title = "E2E kein solches Fenster"
r = Empty
r = o.WindowExists(title)
CheckNoErr "WindowExists with a variable"
CheckEq r, False, "WindowExists with a variable: no such window"
n = 90
r = Empty
r = o.WindowExists(n)
CheckNoErr "WindowExists with a numeric variable"
CheckEq r, False, "WindowExists with a numeric variable: no such window"

e2e_shell.Run "notepad.exe", 1, False
CheckEq e2e_shell.Run("box_watcher.exe find ""Untitled - Notepad"" 15000", 0, True), 0, "Notepad opened"
title = "Untitled - Notepad"
r = Empty
r = o.WindowExists(title)
CheckNoErr "WindowExists with a variable naming Notepad's window"
CheckEq r, True, "WindowExists with a variable finds Notepad"
CheckEq e2e_shell.Run("box_watcher.exe close ""Untitled - Notepad"" 10000", 0, True), 0, "Notepad closed"
On Error GoTo 0

log_text = ReadAll(EnvVar("E2E_LOG"))
Check InStr(log_text, "WndGetList(""^E2E-kein-solches-Fenster$"","";"")") > 0, _
  "the log holds WndGetList with the variables' values"
Check InStr(log_text, "WindowExists(""90"")") > 0, "the numeric variable arrived as the text 90"

Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the last release"
E2eFinish
