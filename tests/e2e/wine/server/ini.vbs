' The INI functions through the system's profile functions, run under a
' German locale (decimal comma). Every type class makes a round trip; a
' script variable as default takes the text path; a date shows its box and
' writes nothing; missing files, sections and keys give the default; the
' section functions join with an empty and a CR LF separator. The runner
' presets SchreibeLog=1 and checks the boxes and the log.
Dim o, fso, f, missing, r, v, w, text, crlf, file
Set o = CreateObject("ScriptFunctions.App")
Set fso = CreateObject("Scripting.FileSystemObject")
f = fso.GetAbsolutePathName("ini-vbs.ini")
missing = fso.GetAbsolutePathName("ini-vbs-fehlt.ini")
If fso.FileExists(f) Then fso.DeleteFile f
If fso.FileExists(missing) Then fso.DeleteFile missing
crlf = Chr(13) & Chr(10)
Info "file " & f

' --- Integer --------------------------------------------------------------
o.IniWrite f, "Zahlen", "Klein", 5
o.IniWrite f, "Zahlen", "Gross", 40000
o.IniWrite f, "Zahlen", "Negativ", -7
r = o.IniRead(f, "Zahlen", "Klein", 0)
CheckEq TypeName(r), "Long", "an Integer reads back as Long"
CheckEq r, 5, "Integer round trip"
CheckEq o.IniRead(f, "Zahlen", "Gross", 0), 40000, "Long round trip"
CheckEq o.IniRead(f, "zahlen", "NEGATIV", 0), -7, "names without regard to case"

' --- Real, with the German decimal comma --------------------------------
o.IniWrite f, "Zahlen", "Komma", 1.5
o.IniWrite f, "Zahlen", "Single", CSng(2.5)
o.IniWrite f, "Zahlen", "Riesig", 1E+20
r = o.IniRead(f, "Zahlen", "Komma", 0.5)
CheckEq TypeName(r), "Double", "a Real reads back as Double"
CheckEq r, 1.5, "Real round trip"
CheckEq o.IniRead(f, "Zahlen", "Single", 0.5), 2.5, "Single round trip"
CheckEq o.IniRead(f, "Zahlen", "Riesig", 0.5), 1E+20, "large Real round trip"
CheckEq o.IniRead(f, "Zahlen", "FehltReal", 0.25), 0.25, "a missing Real gives the default"

' --- String ---------------------------------------------------------------
o.IniWrite f, "Texte", "Satz", "Ein Satz, mit Komma"
CheckEq o.IniRead(f, "Texte", "Satz", ""), "Ein Satz, mit Komma", "String round trip"
CheckEq o.IniRead(f, "Texte", "Fehlt", "x"), "x", "a missing key gives the default text"

' --- Boolean --------------------------------------------------------------
o.IniWrite f, "Schalter", "An", True
o.IniWrite f, "Schalter", "Aus", False
r = o.IniRead(f, "Schalter", "An", False)
CheckEq TypeName(r), "Boolean", "a Boolean reads back as Boolean"
CheckEq r, True, "True round trip"
CheckEq o.IniRead(f, "Schalter", "Aus", True), False, "False round trip"

' --- script variables arrive by reference and take the text path ---------
v = 5
r = o.IniRead(f, "Zahlen", "Klein", v)
CheckEq TypeName(r), "String", "a variable as default makes the result text"
CheckEq r, "5", "... with the stored text"
v = 0.5
CheckEq o.IniRead(f, "Zahlen", "Komma", v), "1,5", "a Double variable reads the stored text"
w = 7
o.IniWrite f, "Texte", "Variable", w
CheckEq o.IniRead(f, "Texte", "Variable", 0), 7, "a variable is written as its text"

text = ReadAll(f)
Check InStr(text, "[Zahlen]" & crlf & "Klein=5" & crlf & "Gross=40000" & crlf & "Negativ=-7" & crlf) = 1, _
  "integers as decimal text, CR LF line ends"
Check InStr(text, "Komma=1,5" & crlf) > 0, "1.5 is written with the decimal comma"
Check InStr(text, "Single=2,5" & crlf) > 0, "a Single too"
Check InStr(text, "Riesig=1E20" & crlf) > 0, "a large Real in scientific form"
Check InStr(text, "An=1" & crlf & "Aus=0" & crlf) > 0, "Booleans as 1 and 0"
Check InStr(text, "Variable=7" & crlf) > 0, "the variable's text"

' --- a date: its box, nothing written, nothing read ----------------------
o.IniWrite f, "Texte", "Datum", DateSerial(2026, 12, 7)
Check InStr(ReadAll(f), "Datum") = 0, "a date is not written"
r = o.IniRead(f, "Texte", "Satz", DateSerial(2026, 12, 7))
CheckEq TypeName(r), "Empty", "a date as default reads nothing"

' --- values written by others --------------------------------------------
Set file = fso.OpenTextFile(f, 8)
file.Write "[Fremd]" & crlf & "Punkt=1.5" & crlf & "Hex=0x1F" & crlf & "Wort=abc" & crlf & "Leer=" & crlf & _
  "Zwei=2" & crlf
file.Close
r = o.IniRead(f, "Fremd", "Punkt", 0.5)
CheckEq TypeName(r), "Empty", "1.5 is no number where the comma is the decimal separator"
CheckEq o.IniRead(f, "Fremd", "Hex", 0), 31, "0x1F is hexadecimal"
CheckEq o.IniRead(f, "Fremd", "Wort", 9), 9, "a word gives the integer default"
CheckEq o.IniRead(f, "Fremd", "Zwei", False), True, "any number but 0 is True"
CheckEq o.IniRead(f, "Fremd", "Leer", "d"), "", "an empty value is empty text"
CheckEq o.IniRead(f, "Fremd", "Leer", 3), 3, "... and no integer"

' --- missing file, section, key ------------------------------------------
CheckEq o.IniRead(missing, "S", "K", 7), 7, "missing file: integer default"
CheckEq o.IniRead(missing, "S", "K", "x"), "x", "missing file: text default"
CheckEq o.IniRead(f, "Fehlt", "K", True), True, "missing section: Boolean default"
CheckEq o.IniReadSections(missing, ","), "", "missing file: no sections"
CheckEq o.IniReadSection(f, "Fehlt", ","), "", "missing section: no keys"
CheckEq o.IniReadSectionValues(missing, "Zahlen", ","), "", "missing file: no entries"
o.IniDeleteKey missing, "S", "K"
o.IniDeleteKey f, "Fehlt", "K"

' --- the section functions ------------------------------------------------
CheckEq o.IniReadSections(f, ","), "Zahlen,Texte,Schalter,Fremd", "sections in file order"
CheckEq o.IniReadSections(f, ""), "ZahlenTexteSchalterFremd", "joined without separator"
CheckEq o.IniReadSections(f, crlf), "Zahlen" & crlf & "Texte" & crlf & "Schalter" & crlf & "Fremd", _
  "joined by CR LF"
CheckEq o.IniReadSection(f, "Fremd", ";"), "Punkt;Hex;Wort;Leer;Zwei", "keys, the empty one included"
CheckEq o.IniReadSectionValues(f, "Fremd", ";"), "Punkt=1.5;Hex=0x1F;Wort=abc;Zwei=2", _
  "entries without the empty one"
CheckEq o.IniReadSectionValues(f, "Schalter", crlf), "An=1" & crlf & "Aus=0", "entries joined by CR LF"

' --- deleting a key --------------------------------------------------------
o.IniDeleteKey f, "Schalter", "AN"
CheckEq o.IniReadSection(f, "Schalter", ";"), "Aus", "the key is gone"
CheckEq o.IniRead(f, "Schalter", "An", False), False, "... and reads the default"

Set o = Nothing
E2eFinish
