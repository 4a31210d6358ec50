' A short tour of the ScriptFunctions.App automation server (velkora.exe).
' With the server registered (velkora.exe /RegServer), run it with
'     cscript //nologo demo.vbs
' scripts/run-demo.sh builds the server, registers it in a private Wine
' prefix and runs this script there.
Option Explicit

Dim app, answer, list(2), ini

' COM starts the server (velkora.exe -Embedding) for the first object.
Set app = CreateObject("ScriptFunctions.App")

WScript.Echo "VelkoraVersion = " & app.VelkoraVersion
WScript.Echo "VelkoraIniname = " & app.VelkoraIniname

' A small INI round trip. The type of the value decides how it is stored
' and what comes back: a number as a number, a fraction in the user's
' number format, True as 1, text as it is. A file named without a path
' would lie in the Windows folder, so the script names the full path.
ini = CreateObject("Scripting.FileSystemObject").GetAbsolutePathName("demo.ini")
app.IniWrite ini, "Verbindung", "Anbieter", "Beispiel"
app.IniWrite ini, "Verbindung", "Minuten", 42
app.IniWrite ini, "Verbindung", "Preis", 1.5
app.IniWrite ini, "Verbindung", "Aktiv", True
WScript.Echo ""
WScript.Echo "INI file " & ini
Show "IniRead Anbieter", app.IniRead(ini, "Verbindung", "Anbieter", "")
Show "IniRead Minuten", app.IniRead(ini, "Verbindung", "Minuten", 0)
Show "IniRead Preis", app.IniRead(ini, "Verbindung", "Preis", 0.5)
Show "IniRead Aktiv", app.IniRead(ini, "Verbindung", "Aktiv", False)
Show "IniRead Fehlt", app.IniRead(ini, "Verbindung", "Fehlt", "Vorgabe")
Show "IniReadSections", app.IniReadSections(ini, ";")
Show "IniReadSection", app.IniReadSection(ini, "Verbindung", ";")
Show "IniReadSectionValues", app.IniReadSectionValues(ini, "Verbindung", ";")
app.IniDeleteKey ini, "Verbindung", "Minuten"
Show "after IniDeleteKey", app.IniReadSection(ini, "Verbindung", ";")


' Least-cost routing: which provider is cheapest for a connection of so
' many seconds that starts now. The tariffs are kept in velkora.ini (section
' LCR; scripts/run-demo.sh puts examples/lcr/einstellungen there): a short
' connection is cheapest with one, a long one with another.
WScript.Echo "GetRasLCRName(30)   = " & app.GetRasLCRName(30)
WScript.Echo "GetRasLCRName(3600) = " & app.GetRasLCRName(3600)
WScript.Echo "GetRasLCRInfo(60, "" | "") = " & app.GetRasLCRInfo(60, " | ")

' --- windows --------------------------------------------------------------
' WndGetList lists the titles of the top-level windows that a regular
' expression matches anywhere in the title, ignoring the case of ASCII
' letters; WindowExists looks for a title that begins with a text; WndClose
' asks the first matching window (or every one) to close and names it. The
' demo opens a Notepad of its own to have a window to close. (On a desktop
' where an untitled Notepad is open already, that one may be asked instead;
' Notepad asks before it drops unsaved text.)
Dim shell, notepad, tries, found
Set shell = CreateObject("WScript.Shell")
notepad = "^(Untitled - Notepad|Unbenannt - Editor|\(unbenannt\) - Editor)$"
shell.Run "notepad.exe", 1, False
found = ""
For tries = 1 To 100
  found = app.WndGetList(notepad, ";")
  If found <> "" Then Exit For
  ' A short pause: Wine's script host has no WScript.Sleep.
  shell.Run "cmd /c exit", 0, True
Next
WScript.Echo ""
WScript.Echo "Windows"
Show "WndGetList(""."", "" | "")", app.WndGetList(".", " | ")
Show "WindowExists(""" & Left(found, 8) & """)", app.WindowExists(Left(found, 8))
Show "WndClose(""" & notepad & """, "";"", False)", app.WndClose(notepad, ";", False)

On Error Resume Next
' An argument that cannot become text, here an array, is refused before the
' function runs: the server's own conversion error.
answer = app.WndGetList(list, ";")
ShowError "WndGetList(<array>, "";"")"
On Error GoTo 0

' The server ends shortly after its last object is released.
Set app = Nothing
WScript.Echo ""
WScript.Echo "Demo beendet."

Sub Show(what, value)
  WScript.Echo "  " & what & " = " & value & " (" & TypeName(value) & ")"
End Sub

Sub ShowError(call_text)
  WScript.Echo ""
  WScript.Echo call_text
  If Err.Number = 0 Then
    WScript.Echo "  no error"
  Else
    WScript.Echo "  Err.Number      = " & Err.Number & " (0x" & Hex(Err.Number) & ")"
    WScript.Echo "  Err.Source      = " & Err.Source
    WScript.Echo "  Err.Description = " & Err.Description
  End If
  Err.Clear
End Sub
