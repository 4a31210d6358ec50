' Holds an object while the runner unregisters and registers the server
' beside it, as an installer may do while a script runs. It says that it
' holds the object by writing hold.holding and goes on when the runner
' writes hold.release.
Dim o, fso, tries
Set fso = CreateObject("Scripting.FileSystemObject")
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.VelkoraVersion, "010103", "a call before the registration runs"
fso.CreateTextFile("hold.holding", True).Close
tries = 0
Do While Not fso.FileExists("hold.release") And tries < 300
  Pause 200
  tries = tries + 1
Loop
Check fso.FileExists("hold.release"), "the runner is done with the registration"
CheckEq o.VelkoraVersion, "010103", "the object still answers after the registration runs"
Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the release"
E2eFinish
