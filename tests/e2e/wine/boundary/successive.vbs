' One of several scripts started one after another, as a scheduler or a
' batch file starts them: each one creates the object, makes one call and
' ends, and may meet the server of the one before while it is ending.
Dim o
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.VelkoraVersion, "010103", "VelkoraVersion"
Set o = Nothing
E2eFinish
