' A script's call that ends in an error box while the server's window is on
' screen: the call waits for the box, then the script goes on.
Dim o
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.WndGetList("(", ";"), "", "a pattern that does not compile: the empty list, after the box"
CheckEq o.VelkoraVersion(), "010103", "the next call is served"
Set o = Nothing
E2eFinish
