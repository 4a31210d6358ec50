' The dial-up functions and the counters, against Wine's dial-up library,
' which knows no connection, and its dynamic registry data, which hold no
' value.
Dim o, counter
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.GetRasConnection, "", "GetRasConnection: no connection"
CheckEq o.GetRasConnection(), "", "GetRasConnection() with parentheses"
CheckEq o.RasClose, "", "RasClose: nothing to hang up"
counter = o.GetPerfStats("Dial-Up Adapter\ConnectSpeed")
CheckEq counter, 0, "GetPerfStats: no such counter"
CheckEq TypeName(counter), "Long", "GetPerfStats answers a Long"
Dim key
key = "TotalBytesRecvd"
CheckEq o.getperfstats(key), 0, "GetPerfStats in lower case, key in a variable"
Set o = Nothing
Check WaitProcessGone("velkora.exe", 10000), "the server ended after the object was released"
E2eFinish
