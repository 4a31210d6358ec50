' Every method with every argument that has no text form, and every kind of
' value VBScript makes where text is expected: each call ends with the
' method's result or with a clear automation error, and the server keeps
' serving. Values that have no text form (Null, arrays, Nothing, an object
' without a default value) are refused in every argument but Wert before
' anything runs. Nothing here shows a box.
Dim o, fso, file, r, arr(2), dict, folder, methods, m, parts, count, p, k, i
Dim refused, labels, value, values, expected, big, nul_text
Set o = CreateObject("ScriptFunctions.App")
Set fso = CreateObject("Scripting.FileSystemObject")
Set dict = CreateObject("Scripting.Dictionary")
Set folder = fso.GetFolder(fso.GetAbsolutePathName("."))

' A file with the sections A and B: IniReadSections(file, x) gives back
' "A" & x & "B", so a separator shows what the server made of it.
file = fso.GetAbsolutePathName("bad_input.ini")
With fso.CreateTextFile(file, True)
  .Write "[A]" & vbCrLf & "[B]" & vbCrLf
  .Close
End With

' Ordinary values for the arguments that are not under test.
Function Ordinary(param)
  Select Case param
    Case "Datei", "IniDatei": Ordinary = file
    Case "Sektion": Ordinary = "A"
    Case "Eintrag": Ordinary = "K"
    Case "Wert": Ordinary = 1
    Case "Dauer": Ordinary = 90
    Case "Trenner": Ordinary = ";"
    Case "Muster": Ordinary = "^E2E-kein-solches-Fenster$"
    Case "Alle": Ordinary = False
    Case Else: Ordinary = "E2E-kein-solches-Fenster"
  End Select
End Function

' The arguments of the next call, by position.
Dim a0, a1, a2, a3
Sub SetArg(k, value)
  Select Case k
    Case 0: If IsObject(value) Then Set a0 = value Else a0 = value
    Case 1: If IsObject(value) Then Set a1 = value Else a1 = value
    Case 2: If IsObject(value) Then Set a2 = value Else a2 = value
    Case 3: If IsObject(value) Then Set a3 = value Else a3 = value
  End Select
End Sub

' Calls a method by name with the arguments a0 to a3 (Wine's VBScript has
' no Execute).
Function CallMethod(name)
  Select Case name
    Case "WindowExists": CallMethod = o.WindowExists(a0)
    Case "CloseWindow": CallMethod = o.CloseWindow(a0)
    Case "GetRasConnection": CallMethod = o.GetRasConnection()
    Case "IniWrite": CallMethod = o.IniWrite(a0, a1, a2, a3)
    Case "IniRead": CallMethod = o.IniRead(a0, a1, a2, a3)
    Case "IniDeleteKey": CallMethod = o.IniDeleteKey(a0, a1, a2)
    Case "GetRasLCRName": CallMethod = o.GetRasLCRName(a0)
    Case "GetRasLCRInfo": CallMethod = o.GetRasLCRInfo(a0, a1)
    Case "WndGetList": CallMethod = o.WndGetList(a0, a1)
    Case "WndClose": CallMethod = o.WndClose(a0, a1, a2)
    Case "RasClose": CallMethod = o.RasClose()
    Case "VelkoraVersion": CallMethod = o.VelkoraVersion()
    Case "IniReadSectionValues": CallMethod = o.IniReadSectionValues(a0, a1, a2)
    Case "IniReadSection": CallMethod = o.IniReadSection(a0, a1, a2)
    Case "IniReadSections": CallMethod = o.IniReadSections(a0, a1)
    Case "VelkoraIniname": CallMethod = o.VelkoraIniname()
    Case "GetPerfStats": CallMethod = o.GetPerfStats(a0)
  End Select
End Function

' Name and parameters of every method but ShowInfo (its box needs a click).
methods = Array("WindowExists FensterName", "CloseWindow FensterName", "GetRasConnection", _
  "IniWrite Datei Sektion Eintrag Wert", "IniRead Datei Sektion Eintrag Wert", _
  "IniDeleteKey Datei Sektion Eintrag", "GetRasLCRName Dauer", "GetRasLCRInfo Dauer Trenner", _
  "WndGetList Muster Trenner", "WndClose Muster Trenner Alle", "RasClose", "VelkoraVersion", _
  "IniReadSectionValues IniDatei Sektion Trenner", "IniReadSection Datei Sektion Trenner", _
  "IniReadSections Datei Trenner", "VelkoraIniname", "GetPerfStats Key")

' Values without a text form: Null, arrays, Nothing, an object whose default
' member needs arguments.
' Nothing itself is set below: Wine's VBScript does not take it out of an
' array.
refused = Array(Null, Array(1, 2), arr, Empty, dict)
labels = Array("Null", "Array(1, 2)", "an array variable", "Nothing", "a Dictionary")

On Error Resume Next
count = 0
For Each m In methods
  parts = Split(m, " ")
  If UBound(parts) = 0 Then
    Err.Clear
    r = CallMethod(parts(0))
    CheckEq Err.Number, 0, parts(0) & "(): no error"
    Err.Clear
  End If
  For p = 1 To UBound(parts)
    ' Wert goes to the INI functions as it is; they report odd types in a box.
    If parts(p) <> "Wert" Then
      For i = 0 To UBound(refused)
        For k = 1 To UBound(parts)
          If k <> p Then
            SetArg k - 1, Ordinary(parts(k))
          ElseIf labels(i) = "Nothing" Then
            SetArg k - 1, Nothing
          Else
            SetArg k - 1, refused(i)
          End If
        Next
        Err.Clear
        r = "unchanged"
        r = CallMethod(parts(0))
        count = count + 1
        If Err.Number <> -2147418113 Or Err.Source <> "ScriptFunctions.App" Or _
            Codes(Err.Description) <> Codes("Ung" & Chr(252) & "ltige Variant-Typumwandlung") Then
          Check False, parts(0) & " " & parts(p) & " = " & labels(i) & ": error " & Err.Number & " " & _
            Err.Source & ": " & Err.Description
        End If
        If Not IsEmpty(r) And r <> "unchanged" Then Check False, parts(0) & " " & parts(p) & " = " & labels(i) & ": a result was set"
        Err.Clear
      Next
    End If
  Next
Next
CheckEq count, 140, "refused values tried in every argument but Wert"
' The same by value, without a variable in between.
Err.Clear
r = o.IniReadSections(Null, ";")
CheckEq Err.Number, -2147418113, "Null by value refused"
Err.Clear
r = o.WndGetList("x", Array(1, 2))
CheckEq Err.Number, -2147418113, "an array by value refused"
Err.Clear

' Values that have a text form, as separators: each comes back between the
' two section names exactly as the server's text conversion writes it.
big = String(10485760, "x")
nul_text = "vor" & Chr(0) & "nach"
values = Array(Empty, "", nul_text, big, 5, 100000, CSng(1.5), 2.5, CCur(1.5), True, False, CByte(7), folder)
expected = Array("", "", nul_text, big, "5", "100000", "1.5", "2.5", "1.5", "-1", "0", "7", folder.Path)
For i = 0 To UBound(values)
  Err.Clear
  If IsObject(values(i)) Then
    r = o.IniReadSections(file, values(i))
  Else
    value = values(i)
    r = o.IniReadSections(file, value)
  End If
  CheckNoErr "IniReadSections with a " & TypeName(values(i)) & " separator"
  If r <> "A" & expected(i) & "B" Then
    Check False, TypeName(values(i)) & " separator: got " & Len(r) & " characters <" & Left(r, 40) & ">"
  End If
Next
' A date as the short date of the user's locale.
r = o.IniReadSections(file, #12/24/2016#)
CheckNoErr "IniReadSections with a date separator"
Check Left(r, 1) = "A" And Right(r, 1) = "B" And InStr(r, "2016") > 0, "date separator: " & r

' A 10 MB value goes to the profile functions; a NUL ends a value as it
' does for them.
o.IniWrite file, "Gross", "Wert", big
CheckNoErr "IniWrite of 10 MB"
r = o.IniRead(file, "Gross", "Wert", "")
CheckNoErr "IniRead of it"
' What the profile functions give back of a 10 MB line is theirs (Wine's
' read it as empty); it never exceeds the 2048-character buffer.
Check Len(r) <= 2047, "a value reads back through the 2048-character buffer (" & Len(r) & ")"
o.IniWrite file, "Gross", "Nul", nul_text
CheckNoErr "IniWrite of a text with NUL"
CheckEq o.IniRead(file, "Gross", "Nul", ""), "vor", "the text up to the NUL was written"

' Too few and too many arguments never reach the server.
Err.Clear
r = o.WndGetList("x")
CheckEq Err.Number, 450, "too few arguments: wrong number of arguments"
Err.Clear
r = o.VelkoraVersion(1)
CheckEq Err.Number, 450, "too many arguments: wrong number of arguments"
Err.Clear

CheckEq o.VelkoraVersion(), "010103", "the server still serves"
' Wine's WScript.Quit ends the process without closing the script engine, so
' an object still held then is never released: let go of it first.
Set o = Nothing
Set dict = Nothing
Set folder = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the last release"
E2eFinish
