' Holds an App object while the runner ends the server by hand. Writes
' holding.txt once it holds the object and waits for release.txt; then one
' more call shows whether the server is still there (E2E_EXPECT_SERVER:
' "running" or "gone").
Dim o, fso, waited, version
Set fso = CreateObject("Scripting.FileSystemObject")
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.VelkoraVersion, "010103", "the object answers"
fso.CreateTextFile("holding.txt", True).Close
waited = 0
Do While Not fso.FileExists("release.txt") And waited < 90000
  Pause 200
  waited = waited + 200
Loop
Check fso.FileExists("release.txt"), "the runner let the object go"
On Error Resume Next
version = o.VelkoraVersion
If EnvVar("E2E_EXPECT_SERVER") = "gone" Then
  Check Err.Number <> 0, "a call to the ended server fails (" & Err.Number & ")"
  Err.Clear
Else
  CheckNoErr "the server still answers after the question was answered No"
  CheckEq version, "010103", "... with its version"
End If
Set o = Nothing
Err.Clear
On Error GoTo 0
E2eFinish
