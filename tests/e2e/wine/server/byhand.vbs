' The server was started by hand: CreateObject connects to it, and it keeps
' running after the last release.
Dim o
CheckEq ProcessCount("velkora.exe"), 1, "the server started by hand runs"
Set o = CreateObject("ScriptFunctions.App")
CheckEq ProcessCount("velkora.exe"), 1, "CreateObject used the running server"
CheckEq o.VelkoraVersion, "010103", "VelkoraVersion"
Set o = Nothing
Pause 1500
CheckEq ProcessCount("velkora.exe"), 1, "the server keeps running after the last release"
E2eFinish
