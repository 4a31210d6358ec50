' GetRasLCRName and GetRasLCRInfo from VBScript against the sample tariff
' configurations of examples/lcr. The suite copied them to
' C:\velkora-e2e\lcr-samples and TK32's files to C:\Programme\TK32; each
' block puts one sample in place of velkora.ini (the server reads its
' tariff settings anew on every call). The samples' providers that matter
' here charge the same at every hour, so nothing depends on the clock.
Dim fso, o, samples, sep
Set fso = CreateObject("Scripting.FileSystemObject")
samples = "C:\velkora-e2e\lcr-samples\"

Sub UseSample(name)
  fso.CopyFile samples & name & "\velkora.ini", EnvVar("E2E_INI"), True
End Sub

' The decimal separator of the user's locale, as the server writes costs.
sep = Mid(CStr(0.5), 2, 1)
Function Cost(text)
  Cost = Replace(text, ".", sep)
End Function

Set o = CreateObject("ScriptFunctions.App")

UseSample "einstellungen"
CheckEq o.GetRasLCRName(30), "Sekundentakt", "mode 0, 30 s: billed by the second"
CheckEq o.GetRasLCRName("60"), "Minutentakt", "mode 0, 60 s: billed by the minute"
CheckEq o.GetRasLCRName(3600), "Grundgebuehr", "mode 0, 1 h: the one with a fee"
CheckEq o.GetRasLCRInfo(60, ";"), _
  Cost("Minutentakt:0.0099;Sekundentakt:0.012;Grundgebuehr:0.1049"), "mode 0 list, cheapest first"
CheckEq o.GetRasLCRInfo(1, ""), Cost("Sekundentakt:0.0002Minutentakt:0.0099Grundgebuehr:0.1049"), _
  "an empty separator joins the entries directly"
CheckEq o.GetRasLCRInfo(-5, " | "), Cost("Sekundentakt:0.0002 | Minutentakt:0.0099 | Grundgebuehr:0.1049"), _
  "a duration below 1 counts as 1 second"

UseSample "tk32-modus1"
CheckEq o.GetRasLCRInfo(60, ";"), Cost("Flinknet:0.0079;dauersurfer:0.1549"), "mode 1, 60 s"
CheckEq o.GetRasLCRName(3600), "dauersurfer", "mode 1, 1 h"

UseSample "tk32-modus2"
CheckEq o.GetRasLCRName(60), "Flinknet", "mode 2, 60 s"
CheckEq o.GetRasLCRName(3600), "Dauersurfer", "mode 2, 1 h"
Dim list
list = o.GetRasLCRInfo(60, ";")
CheckEq Left(list, Len(Cost("Flinknet:0.0079;"))), Cost("Flinknet:0.0079;"), "mode 2 list starts with the cheapest"
Check InStr(list, Cost(";Dauersurfer:0.1549")) > 0, "mode 2 list holds Dauersurfer: " & list
CheckEq UBound(Split(list, ";")), 4, "mode 2 lists the five usable connections"

' Errors: a box, then an empty result. The suite answers and checks the boxes.
UseSample "einstellungen"
CheckEq o.GetRasLCRName("zwei Minuten"), "", "a duration that is no number gives nothing"
CheckEq o.GetRasLCRInfo(1.5, ";"), "", "a fractional duration gives nothing"

Set o = Nothing
E2eFinish
