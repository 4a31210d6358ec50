' Mode 2 with a TK32Pfad where tk32.ini is not: the server searches the
' fixed drives (here only C:) for it, stores the folder and evaluates; the
' second call finds it at once in the stored folder.
Dim o
Set o = CreateObject("ScriptFunctions.App")
CheckEq o.GetRasLCRName(60), "Flinknet", "found by the disk search"
CheckEq o.GetRasLCRName(3600), "Dauersurfer", "found again in the stored folder"
Set o = Nothing
E2eFinish
