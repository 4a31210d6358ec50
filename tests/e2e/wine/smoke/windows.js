// The harness itself from JScript: Notepad is opened, found by its title,
// closed, and its process ends; WMI sees the processes of this prefix.
checkEq(processCount("notepad.exe"), 0, "no Notepad before the test");
e2eShell.Run("notepad.exe", 1, false);
checkEq(e2eShell.Run('box_watcher.exe find "Untitled - Notepad" 15000', 0, true), 0,
        "Notepad's window appeared");
checkEq(processCount("notepad.exe"), 1, "WMI lists one notepad.exe");
checkEq(e2eShell.Run('box_watcher.exe close "Untitled - Notepad" 10000', 0, true), 0,
        "Notepad's window closed on WM_CLOSE");
check(waitProcessGone("notepad.exe", 10000), "notepad.exe ended");
checkEq(e2eShell.Run('box_watcher.exe find "Untitled - Notepad" 300', 0, true), 1,
        "the window is gone");

checkEq(processCount("cscript.exe"), 1, "WMI lists this cscript.exe");

var answer = e2eShell.Popup("Aus JScript", 30, "E2E JScript", 0);
checkEq(answer, 1, "a Popup from JScript is answered with OK");
e2eFinish();
