' Run by a user who may not write the server's settings file: the server
' still starts for the script, and ends after the release.
Dim o
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.VelkoraVersion, "010103", "VelkoraVersion"
Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the release"
E2eFinish
