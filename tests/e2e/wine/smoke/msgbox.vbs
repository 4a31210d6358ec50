' The harness itself: a message box of the script host blocks until the box
' watcher presses its button, and the watcher records caption and text.
Dim t0, answer, elapsed, fso, file

t0 = Timer
answer = MsgBox("Gr" & Chr(252) & Chr(223) & "e vom Test" & vbCrLf & "zweite Zeile", vbOKOnly + vbInformation, "E2E Smoke")
elapsed = Timer - t0
CheckEq answer, vbOK, "MsgBox answered with OK by the watcher"
Check elapsed >= 0.7, "MsgBox blocked until the watcher pressed OK (" & elapsed & " s)"

answer = MsgBox("Weiter?", vbYesNo + vbQuestion, "E2E Frage")
CheckEq answer, vbYes, "a Yes/No box gets Yes by default"

' The answer file in the run folder chooses the button of the next boxes.
Set fso = CreateObject("Scripting.FileSystemObject")
Set file = fso.CreateTextFile("box-answer.txt", True)
file.WriteLine "no"
file.Close
answer = MsgBox("Wirklich?", vbYesNo + vbQuestion, "E2E Frage")
CheckEq answer, vbNo, "a Yes/No box gets No when the answer file says so"
Set file = fso.CreateTextFile("box-answer.txt", True)
file.WriteLine "ok"
file.Close

answer = e2e_shell.Popup("Popup-Text", 30, "E2E Popup", 0)
CheckEq answer, CLng(1), "WScript.Shell.Popup answered with OK before its timeout"

E2eFinish
