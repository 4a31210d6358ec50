' How script values reach the server. VBScript passes every variable as a
' reference to a variant (VT_BYREF|VT_VARIANT): the server must convert the
' value behind it, and a call whose arguments all convert reaches the
' method: the window functions run and log their call line with the
' arguments as text. An object stands for its default value, as in the
' platform's own conversion.
' An argument that cannot become text (array, Null, an object without a
' default value, Nothing) is refused with the conversion error before
' anything runs or is logged. The runner presets SchreibeLog=1.
Dim o, r, v, title, sep, n, big, d, yes, day, nothing_there, no_value
Dim list, fixed(2), dict, log_text, fso, folder
Set o = CreateObject("ScriptFunctions.App")

' Call under On Error Resume Next, then: the call ran and logged this call
' line.
Sub CheckReached(call_line, what)
  CheckEq Err.Number, 0, what & ": no error"
  Check InStr(ReadAll(EnvVar("E2E_LOG")), " " & call_line & vbCrLf) > 0, what & ": logged " & call_line
  Err.Clear
End Sub

Function Occurrences(text, part)
  Occurrences = (Len(text) - Len(Replace(text, part, ""))) / Len(part)
End Function

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
CheckReached "WndGetList(""^E2E-kein-solches-Fenster$"","";"")", "text variables"
CheckEq r, "", "no window matches"
o.WndGetList title, ";"
CheckReached "WndGetList(""^E2E-kein-solches-Fenster$"","";"")", "text variable and literal, statement call"
CheckEq title, "^E2E-kein-solches-Fenster$", "the server left the variable passed by reference alone"

' Numbers, Booleans and dates in variables are converted to text; each
' For Each variable is again passed by reference.
n = 90
big = 100000
d = 2.5
yes = True
day = #12/24/2016 18:30:00#
' The platform writes a Boolean as -1 (CStr would write "True").
For Each v In Array(n, big, d, yes, day)
  r = o.WndGetList(v, sep)
  If VarType(v) = vbBoolean Then
    CheckReached "WndGetList(""-1"","";"")", "Boolean variable where text is expected"
  Else
    CheckReached "WndGetList(""" & CStr(v) & ""","";"")", TypeName(v) & " variable where text is expected"
  End If
Next
r = o.WindowExists(n)
CheckReached "WindowExists(""90"")", "Integer variable"
CheckEq r, False, "WindowExists gives a Boolean"

' Literals arrive by value.
r = o.WindowExists(9000)
CheckReached "WindowExists(""9000"")", "number literal where text is expected"
r = o.WndGetList(1, 2.5)
CheckReached "WndGetList(""1"",""" & CStr(2.5) & """)", "two number literals"

' Empty, literal or in a variable, is the empty text.
r = o.WindowExists(Empty)
CheckReached "WindowExists("""")", "Empty literal"
no_value = Empty
r = o.WndGetList("^E2E$", no_value)
CheckReached "WndGetList(""^E2E$"","""")", "variable holding Empty"

' An element of an array is a single value.
list = Array("^E2E-Element$", "|")
r = o.WndGetList(list(0), list(1))
CheckReached "WndGetList(""^E2E-Element$"",""|"")", "array elements"

' An object where text is expected gives its default value: a folder of
' the file system object its path.
Set fso = CreateObject("Scripting.FileSystemObject")
Set folder = fso.GetFolder(EnvVar("SystemRoot"))
r = o.WndGetList(folder, sep)
CheckReached "WndGetList(""" & folder.Path & ""","";"")", "folder object in a variable"
r = o.WindowExists(fso.GetFolder(EnvVar("SystemRoot")))
CheckReached "WindowExists(""" & folder.Path & """)", "folder object as a value"

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
r = o.WndGetList(fixed, sep)
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

' The log works, and it holds only the window calls that ran.
CheckEq o.VelkoraVersion, "010103", "VelkoraVersion after the refused calls"
log_text = ReadAll(EnvVar("E2E_LOG"))
Check InStr(log_text, "VelkoraVersion()") > 0, "the log holds the VelkoraVersion call"
CheckEq Occurrences(log_text, "WndGetList("), 11, "only the WndGetList calls that ran were logged"
CheckEq Occurrences(log_text, "WindowExists("), 4, "only the WindowExists calls that ran were logged"

Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the last release"
E2eFinish
