' The window functions against top-level windows this script opens itself
' (through box_watcher.exe, which notes every close request it receives)
' and against Notepad. The runner presets SchreibeLog=1 and checks the log,
' and the error box of the pattern that does not compile, afterwards.
Dim o, r, t0, record, long_title, umlaut_title, conversion_error, titles
Set o = CreateObject("ScriptFunctions.App")
record = "windows.vbs.record"
conversion_error = "Ung" & Chr(252) & "ltige Variant-Typumwandlung"
umlaut_title = Chr(252) & "ber"                                  ' "über" in code page 1252
long_title = String(254, "a") & "!" & String(45, "b")          ' cut to 255 when read

' The close requests the test's windows received, one "WM_CLOSE <title>"
' line each, joined by "|"; waits up to 5 s for the expected count. (Wine's
' VBScript has no Join.)
Function CloseRequests(expected)
  Dim waited, lines, i
  waited = 0
  Do
    lines = Split(Replace(ReadAll(record), vbCr, ""), vbLf)
    If UBound(lines) >= expected Or waited >= 5000 Then Exit Do
    Pause 100
    waited = waited + 100
  Loop
  CloseRequests = ""
  For i = 0 To UBound(lines)
    If lines(i) <> "" Then
      If CloseRequests <> "" Then CloseRequests = CloseRequests & "|"
      CloseRequests = CloseRequests & lines(i)
    End If
  Next
End Function

' The titles of `list` (joined by `sep`) that are among `mine`, in order:
' other programs' windows (Wine's own, the server's) may match as well.
Function OnlyMine(list, sep, mine)
  Dim t, kept
  kept = ""
  For Each t In Split(list, sep)
    If InStr("|" & mine & "|", "|" & t & "|") > 0 Then
      If kept <> "" Then kept = kept & sep
      kept = kept & t
    End If
  Next
  OnlyMine = kept
End Function

titles = "Foo|Bar|Boo"
e2e_shell.Run "box_watcher.exe windows " & record & " 120000 Foo Bar Boo Editor ""editor 2"" " & _
  umlaut_title & " " & long_title, 0, False
CheckEq e2e_shell.Run("box_watcher.exe find Foo 15000", 0, True), 0, "the test's windows are open"
Info "all windows: " & o.WndGetList(".", " | ")

' --- listing -------------------------------------------------------------
CheckEq o.WndGetList("^(foo|bar|boo)$", ","), "Foo,Bar,Boo", "WndGetList lists in Z-order, caseless"
CheckEq OnlyMine(o.WndGetList("o", ","), ",", titles), "Foo,Boo", "WndGetList(o) finds Foo and Boo"
CheckEq o.WndGetList("^bar$", ";"), "Bar", "WndGetList(^bar$)"
CheckEq o.WndGetList("^E2E-kein-solches-Fenster$", ";"), "", "WndGetList without a match"
CheckEq o.WndGetList("^(Foo|Bar)$", ""), "FooBar", "an empty separator joins tightly"
CheckEq o.WndGetList("^" & umlaut_title & "$", ";"), umlaut_title, "an umlaut in pattern and title"
CheckEq o.WndGetList("^" & Chr(220) & "BER$", ";"), "", "umlauts do not fold"
CheckEq o.WndGetList("^a+!", ""), String(254, "a") & "!", "a long title is read as 255 characters"

' --- prefix search --------------------------------------------------------
CheckEq o.WindowExists("EDI"), True, "WindowExists(EDI)"
CheckEq o.WindowExists(Chr(220) & "ber"), False, "WindowExists does not fold umlauts"
CheckEq o.WindowExists(Chr(252) & "BER"), True, "WindowExists folds ASCII letters only"
CheckEq o.WindowExists("ditor"), False, "WindowExists compares prefixes"
CheckEq o.WindowExists(""), False, "WindowExists of the empty text"
r = o.CloseWindow("EDI")
CheckEq TypeName(r), "Empty", "CloseWindow gives no result"
CheckEq CloseRequests(1), "WM_CLOSE Editor", "CloseWindow(EDI) asked only Editor to close"
CheckEq o.WndGetList("^edi", "|"), "editor 2", "editor 2 is still open"

' --- runaway pattern: ends as no match, the server keeps serving ----------
t0 = Timer
CheckEq o.WndGetList("(a+)+$", ","), "", "the runaway pattern finds nothing"
Info "WndGetList((a+)+$) took " & Int((Timer - t0) * 1000) & " ms"
t0 = Timer
CheckEq o.WndClose("^(a|aa)+$", ",", True), "", "WndClose with a runaway pattern closes nothing"
Info "WndClose(^(a|aa)+$) took " & Int((Timer - t0) * 1000) & " ms"
CheckEq o.VelkoraVersion, "010103", "the server answers after the runaway pattern"

' --- a pattern that does not compile: error box, empty result ------------
CheckEq o.WndGetList("(", ","), "", "WndGetList with a pattern that does not compile"
CheckEq o.WndClose("([", ",", True), "", "WndClose with a pattern that does not compile"

' --- closing by pattern ---------------------------------------------------
CheckEq o.WndClose("^[fb]oo$", "|", False), "Foo", "WndClose(Alle False) closes the first match"
CheckEq CloseRequests(2), "WM_CLOSE Editor|WM_CLOSE Foo", "only Foo was asked to close"
CheckEq o.WndClose("^(bar|boo)$", "|", "1"), "Bar|Boo", "WndClose(Alle ""1"") closes every match"
CheckEq CloseRequests(4), "WM_CLOSE Editor|WM_CLOSE Foo|WM_CLOSE Bar|WM_CLOSE Boo", _
  "Bar and Boo were asked to close"
On Error Resume Next
Err.Clear
r = o.WndClose("^editor 2$", "|", "vielleicht")
CheckEq Err.Number, -2147418113, "Alle that is no Boolean: E_UNEXPECTED"
CheckEq Codes(Err.Description), Codes(conversion_error), "Alle that is no Boolean: conversion error"
Err.Clear
On Error GoTo 0
CheckEq CloseRequests(4), "WM_CLOSE Editor|WM_CLOSE Foo|WM_CLOSE Bar|WM_CLOSE Boo", _
  "the refused call closed nothing"
CheckEq o.WndClose("^(editor 2|" & umlaut_title & "|a+!)$", ";", True), _
  "editor 2;" & umlaut_title & ";" & String(254, "a") & "!", "WndClose closes the rest"
CheckEq CloseRequests(7), "WM_CLOSE Editor|WM_CLOSE Foo|WM_CLOSE Bar|WM_CLOSE Boo|" & _
  "WM_CLOSE editor 2|WM_CLOSE " & umlaut_title & "|WM_CLOSE " & long_title, "every window was asked once"

' --- Notepad --------------------------------------------------------------
e2e_shell.Run "notepad.exe", 1, False
CheckEq e2e_shell.Run("box_watcher.exe find ""Untitled - Notepad"" 15000", 0, True), 0, "Notepad opened"
CheckEq o.WindowExists("untitled - NOTE"), True, "WindowExists finds Notepad"
o.CloseWindow "Untitled"
Check WaitProcessGone("notepad.exe", 10000), "CloseWindow ended Notepad"
CheckEq o.WindowExists("untitled - NOTE"), False, "Notepad's window is gone"
e2e_shell.Run "notepad.exe", 1, False
CheckEq e2e_shell.Run("box_watcher.exe find ""Untitled - Notepad"" 15000", 0, True), 0, "Notepad opened again"
CheckEq o.WndClose(" - notepad$", ";", False), "Untitled - Notepad", "WndClose names Notepad"
Check WaitProcessGone("notepad.exe", 10000), "WndClose ended Notepad"

Set o = Nothing
E2eFinish
