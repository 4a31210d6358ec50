' A script's ranking while the window of a server started by hand in test
' mode is on screen: the runner then reads the window's Para5.
Dim o
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.GetRasLCRName(3600), "Flat", "GetRasLCRName(3600) through the running server"
Set o = Nothing
E2eFinish
