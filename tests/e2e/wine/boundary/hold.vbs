' Holds an object while the runner does something beside the server (an
' installer unregisters and registers it, COM starts a second one). It says
' that it holds the object by writing hold.holding and goes on when the
' runner writes hold.release.
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
E2eFinish
