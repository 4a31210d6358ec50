' One of the load test's clients: creates its object, says so in
' load-<n>.ready, waits for load.go, then makes 1000 calls and checks every
' answer. Each client reads and writes a key of its own (Client<n>) in the
' shared file load.ini, with values no other client writes (n * 1000 + i),
' so an answer meant for another client shows.
'   cscript //nologo client.vbs <n> <rounds>
Dim app, fso, n, rounds, ini, key, i, v, got, tries, started, wrong

Sub Report(what, value)
  wrong = wrong + 1
  If wrong <= 20 Then Check False, "round " & i & ": " & what & " gave " & TypeName(value) & " <" & value & ">"
End Sub

n = CLng(WScript.Arguments(0))
rounds = CLng(WScript.Arguments(1))
Set fso = CreateObject("Scripting.FileSystemObject")
ini = fso.GetAbsolutePathName("load.ini")
key = "Client" & n
Set app = CreateObject("ScriptFunctions.App")
fso.CreateTextFile("load-" & n & ".ready", True).Close
tries = 0
Do While Not fso.FileExists("load.go") And tries < 1200
  Pause 50
  tries = tries + 1
Loop
Check fso.FileExists("load.go"), "the runner gave the start"

wrong = 0
started = Timer
For i = 1 To rounds
  v = n * 1000 + i
  ' An expression goes by value: an Integer for the server, not a reference.
  app.IniWrite ini, "Last", key, CLng(v)
  got = app.IniRead(ini, "Last", key, 0)
  If TypeName(got) <> "Long" Then
    Report "IniRead with 0", got
  ElseIf got <> v Then
    Report "IniRead with 0", got
  End If
  got = app.IniRead(ini, "Last", key, "")
  If TypeName(got) <> "String" Then
    Report "IniRead with """"", got
  ElseIf got <> CStr(v) Then
    Report "IniRead with """"", got
  End If
  got = app.VelkoraVersion
  If got <> "010103" Then Report "VelkoraVersion", got
Next
Info "client " & n & ": " & (4 * rounds) & " calls in " & Round(Timer - started, 1) & " s, " & wrong & " wrong"
Check wrong = 0, "every answer right"
Set app = Nothing
E2eFinish
