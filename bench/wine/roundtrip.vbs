' Calls VelkoraVersion on one object as often as the first argument says
' and prints the milliseconds the loop took. Wine's cscript ends with 0 on a
' script error, so the runner requires the result line.
Dim calls, app, i, answer, started, ended
calls = CLng(WScript.Arguments(0))
Set app = CreateObject("ScriptFunctions.App")
answer = app.VelkoraVersion()
started = Timer
For i = 1 To calls
  answer = app.VelkoraVersion()
Next
ended = Timer
Set app = Nothing
If answer = "010103" Then WScript.Echo "LOOP calls=" & calls & " ms=" & CLng((ended - started) * 1000)
