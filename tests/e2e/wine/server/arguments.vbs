' How script values reach the server. VBScript passes every variable as a
' reference to a variant (VT_BYREF|VT_VARIANT): the server must convert the
' value behind it, and a call whose arguments all convert reaches the
' method, which in this release answers "not available". An object stands
' for its default value, as in the platform's own conversion. An argument
' that cannot become text (array, Null, an object without a default value,
' Nothing) is refused with the conversion error before anything runs, so
' neither kind of call leaves a line in the log. The runner presets
' SchreibeLog=1.
Dim o, r, v, title, sep, n, big, d, yes, day, nothing_there, no_value
Dim list, fixed(2), dict, log_text, fso, folder
Set o = CreateObject("ScriptFunctions.App")

' Call under On Error Resume Next, then one of these: the call reached the
' method (not available in this release) or was refused while converting.
Sub CheckNotAvailable(name, what)
  CheckEq Err.Number, -2147467263, what & ": reached " & name & " (E_NOTIMPL)"
  CheckEq Err.Source, "ScriptFunctions.App", what & ": error source"
  CheckEq Codes(Err.Description), _
    Codes("Die Funktion " & name & " ist in dieser Version noch nicht verf" & Chr(252) & "gbar"), _
    what & ": not-available description"
  Err.Clear
End Sub

Sub CheckRefused(what)
  CheckEq Err.Number, -2147418113, what & ": refused (E_UNEXPECTED)"
  CheckEq Err.Source, "ScriptFunctions.App", what & ": error source"
  CheckEq Codes(Err.Description), Codes("Ung" & Chr(252) & "ltige Variant-Typumwandlung"), _
    what & ": conversion error description"
  Err.Clear
End Sub

On Error Resume Next

' --- variables by reference that convert ---------------------------------
title = "^E2E-kein-solches-Fenster$"
sep = ";"
Err.Clear
r = Empty
r = o.WndGetList(title, sep)
CheckNotAvailable "WndGetList", "text variables"
CheckEq TypeName(r), "Empty", "no result from a call that failed"
o.WndGetList title, ";"
CheckNotAvailable "WndGetList", "text variable and literal, statement call"
CheckEq title, "^E2E-kein-solches-Fenster$", "the server left the variable passed by reference alone"

' Numbers, Booleans and dates in variables are converted to text; each
' For Each variable is again passed by reference.
n = 90
big = 100000
d = 2.5
yes = True
day = #12/24/2016 18:30:00#
For Each v In Array(n, big, d, yes, day)
  r = o.IniReadSections(v, sep)
  CheckNotAvailable "IniReadSections", TypeName(v) & " variable where text is expected"
Next
r = o.WindowExists(n)
CheckNotAvailable "WindowExists", "Integer variable"

' Literals arrive by value.
r = o.WindowExists(90)
CheckNotAvailable "WindowExists", "number literal where text is expected"
r = o.IniReadSections(1, 2.5)
CheckNotAvailable "IniReadSections", "two number literals"

' Empty, literal or in a variable, is the empty text.
r = o.WindowExists(Empty)
CheckNotAvailable "WindowExists", "Empty literal"
no_value = Empty
r = o.WndGetList(no_value, sep)
CheckNotAvailable "WndGetList", "variable holding Empty"

' An element of an array is a single value.
list = Array("^E2E$", ";")
r = o.WndGetList(list(0), list(1))
CheckNotAvailable "WndGetList", "array elements"

' An object where text is expected gives its default value: a folder of
' the file system object its path.
Set fso = CreateObject("Scripting.FileSystemObject")
Set folder = fso.GetFolder(EnvVar("SystemRoot"))
r = o.IniReadSections(folder, sep)
CheckNotAvailable "IniReadSections", "folder object in a variable"
r = o.WndGetList(title, fso.GetFolder(EnvVar("SystemRoot")))
CheckNotAvailable "WndGetList", "folder object as the second argument"

' --- arguments that cannot become text -------------------------------------
r = o.WindowExists(Null)
CheckRefused "Null literal"
no_value = Null
r = o.WndGetList(title, no_value)
CheckRefused "variable holding Null, second argument"
r = o.WndGetList(list, sep)
CheckRefused "variable holding an array, by reference"
r = o.WndGetList(title, list)
CheckRefused "variable holding an array, second argument"
r = o.IniReadSections(fixed, sep)
CheckRefused "fixed-size array variable"
Set dict = CreateObject("Scripting.Dictionary")
r = o.WindowExists(dict)
CheckRefused "dictionary: its default member needs a key"
r = o.WindowExists(o)
CheckRefused "the server's own object, which has no default value"
Set nothing_there = Nothing
r = o.WindowExists(nothing_there)
CheckRefused "variable holding Nothing"
On Error GoTo 0

' The log works, and it holds none of the calls above.
CheckEq o.VelkoraVersion, "010103", "VelkoraVersion after the refused calls"
log_text = ReadAll(EnvVar("E2E_LOG"))
Check InStr(log_text, "VelkoraVersion()") > 0, "the log holds the VelkoraVersion call"
Check InStr(log_text, "WndGetList(") = 0, "no WndGetList call was logged"
Check InStr(log_text, "WindowExists(") = 0, "no WindowExists call was logged"
Check InStr(log_text, "IniReadSections(") = 0, "no IniReadSections call was logged"

Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the last release"
E2eFinish
