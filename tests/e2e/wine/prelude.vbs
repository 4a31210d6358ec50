' Shared helpers the runner puts in front of every VBScript test. A test
' counts its failed checks and ends with E2eFinish, which prints the end
' marker the runner requires and quits with the failure count.
Option Explicit
Dim e2e_failures, e2e_shell
e2e_failures = 0
Set e2e_shell = CreateObject("WScript.Shell")

Sub Check(condition, what)
  If condition Then
    WScript.Echo "ok   " & what
  Else
    WScript.Echo "FAIL " & what
    e2e_failures = e2e_failures + 1
  End If
End Sub

' Numbers compare by value whatever their subtype; text, Boolean, Empty and
' the rest must also match in type, so "True" never passes for True.
Function TypeClass(value)
  Select Case TypeName(value)
    Case "Byte", "Integer", "Long", "Single", "Double", "Currency": TypeClass = "Number"
    Case Else: TypeClass = TypeName(value)
  End Select
End Function

Sub CheckEq(actual, expected, what)
  Dim same
  same = False
  If TypeClass(actual) = TypeClass(expected) Then
    If IsNull(actual) Then same = True Else same = (actual = expected)
  End If
  If same Then
    WScript.Echo "ok   " & what
  Else
    WScript.Echo "FAIL " & what & ": got " & TypeName(actual) & " <" & actual & ">, want " & _
      TypeName(expected) & " <" & expected & ">"
    e2e_failures = e2e_failures + 1
  End If
End Sub

' For calls made under On Error Resume Next: the call just made raised no
' error. Clears the error either way.
Sub CheckNoErr(what)
  If Err.Number = 0 Then
    WScript.Echo "ok   " & what
  Else
    WScript.Echo "FAIL " & what & ": error " & Err.Number & " " & Err.Source & ": " & Err.Description
    e2e_failures = e2e_failures + 1
  End If
  Err.Clear
End Sub

Sub Info(text)
  WScript.Echo "INFO " & text
End Sub

Sub E2eFinish()
  WScript.Echo "E2E-END failures=" & e2e_failures
  WScript.Quit e2e_failures
End Sub

' Wine's ExpandEnvironmentStrings leaves the terminating NUL in the result.
Function EnvVar(name)
  EnvVar = e2e_shell.ExpandEnvironmentStrings("%" & name & "%")
  Do While Len(EnvVar) > 0 And Right(EnvVar, 1) = Chr(0)
    EnvVar = Left(EnvVar, Len(EnvVar) - 1)
  Loop
End Function

' Wine's VBScript has no WScript.Sleep.
Sub Pause(ms)
  e2e_shell.Run "box_watcher.exe sleep " & ms, 0, True
End Sub

' Live processes with this image name, as Windows sees them. (Wine's WMI
' knows the command line of the calling process only.)
Function ProcessCount(image)
  ProcessCount = GetObject("winmgmts:").ExecQuery( _
    "select * from Win32_Process where Name = '" & image & "'").Count
End Function

' Waits up to ms until no process with this image name is left.
Function WaitProcessGone(image, ms)
  Dim waited
  waited = 0
  Do While ProcessCount(image) > 0 And waited < ms
    Pause 200
    waited = waited + 200
  Loop
  WaitProcessGone = (ProcessCount(image) = 0)
End Function

Function ReadAll(path)
  Dim fso, file
  Set fso = CreateObject("Scripting.FileSystemObject")
  ReadAll = ""
  If fso.FileExists(path) Then
    Set file = fso.OpenTextFile(path, 1)
    If Not file.AtEndOfStream Then ReadAll = file.ReadAll
    file.Close
  End If
End Function

' The text as its character codes, for exact comparisons of non-ASCII text
' (cscript's own output is code page 437).
Function Codes(text)
  Dim i
  Codes = ""
  For i = 1 To Len(text)
    Codes = Codes & Asc(Mid(text, i, 1)) & " "
  Next
End Function
' ---- test body ----
