// GetRasLCRName and GetRasLCRInfo from JScript against the sample tariff
// configurations (see lcr.vbs), and an unknown TK32Mode.
var fso = new ActiveXObject("Scripting.FileSystemObject");
var samples = "C:\\velkora-e2e\\lcr-samples\\";
function useSample(name) {
  fso.CopyFile(samples + name + "\\velkora.ini", envVar("E2E_INI"), true);
}
// The server writes costs with the locale's decimal separator; JScript's
// toLocaleString does not say which it is, so the suite passes it.
var sep = envVar("E2E_DECIMAL");
function cost(text) { return text.replace(/\./g, sep); }

var o = new ActiveXObject("ScriptFunctions.App");
useSample("tk32-modus1");
checkEq(o.GetRasLCRName(60), "Flinknet", "mode 1, 60 s");
checkEq(o.GetRasLCRInfo(3600, "/"), cost("Flinknet:0.474/dauersurfer:0.444"), "mode 1, 1 h");
useSample("einstellungen");
checkEq(o.GetRasLCRName(86401), "Grundgebuehr", "mode 0, more than a day counts as a day");
checkEq(o.GetRasLCRInfo(30, ";"), cost("Sekundentakt:0.006;Minutentakt:0.0099;Grundgebuehr:0.1049"),
        "mode 0, 30 s");

// An unknown mode: two boxes (answered by the suite), then nothing.
var ini = fso.OpenTextFile(envVar("E2E_INI"), 2, true);
ini.WriteLine("[LCR]");
ini.WriteLine("TK32Mode=7");
ini.WriteLine("TK32Pfad=C:\\Programme\\TK32\\");
ini.Close();
checkEq(o.GetRasLCRInfo(60, ";"), "", "an unknown mode gives nothing");
checkEq(o.GetRasLCRName(60), "", "an unknown mode gives no name");
o = null;
e2eFinish();
