# The main window, its menus and the tray icon, seen from outside as a user
# sees them, and the dial-up functions from both script languages. Runs
# after the server suite (server.sh), whose helpers and folder it uses.
# Screenshots of the window and its menus are kept in the run folder
# (window.png, menu-test.png, menu-datei.png, tray-menu.png, info-box.png,
# tray-icon.png).

readonly WINDOW_TITLE='Velkora 1.1.3'
# The menu items' identifiers (MenuCommand in src/server/main_menu.h).
readonly CMD_VORDERGRUND=101 CMD_ENDE=102 CMD_INFO=103 CMD_VERSION=104 CMD_ININAME=105
readonly CMD_WINDOWEXISTS=106 CMD_WNDGETLIST=108 CMD_VERBINDUNGSNAME=110 CMD_LCR=111
# Control identifiers: the status line, then Para1 to Para5.
readonly ID_STATUS=10 ID_PARA1=11 ID_PARA2=12 ID_PARA5=15
readonly CLOSE_QUESTION_TEXT='Diese Anwendung enthält noch aktive COM-Objekte. Mindestens ein Client verweist noch auf diese Objekte so daß manuelles Schließen dieser Anwendung dazu führen könnte, daß die Client-Anwendungen nicht korrekt funktionieren.\r\n\r\nSind Sie sicher, daß Sie diese Anwendung schließen möchten?'

WINDOW_PID=

window_build_probe() { e2e_build_helper "$E2E_SRC/window/window_probe.cpp" window_probe.exe; }

# probe <args...>: runs the window probe; its output on standard output.
probe() {
  local out=$E2E_RUN/probe.out status=0
  e2e_timed "$E2E_RUN" 30 wine window_probe.exe "$@" >"$out" 2>&1 || status=$?
  tr -d '\r' <"$out"
  return $status
}

# Reads the window and its controls into describe.txt.
window_describe() { probe describe "$WINDOW_TITLE" >"$E2E_RUN/describe.txt"; }

# window_value <key>: a value of the window line of describe.txt (the
# caption, which may hold blanks, is the line's rest).
window_value() {
  if [[ $1 == caption ]]; then
    sed -n 's/^window .* caption=//p' "$E2E_RUN/describe.txt"
    return
  fi
  awk -v key="$1" '/^window / { for (i = 2; i <= NF; i++) if (index($i, key "=") == 1) { print substr($i, length(key) + 2); exit } }' \
    "$E2E_RUN/describe.txt"
}

window_is() {
  local got
  got=$(window_value "$1")
  [[ $got == "$2" ]] || { e2e_log "    window $1: <$got>, want <$2>"; return 1; }
}

# window_shows <key> <value>: describes the window anew and compares.
window_shows() { window_describe && window_is "$1" "$2"; }

# control_is <id> <expected rest of its line>
control_is() {
  local got
  got=$(grep "^control id=$1 " "$E2E_RUN/describe.txt")
  [[ $got == "control id=$1 $2" ]] || { e2e_log "    control $1: <$got>, want <control id=$1 $2>"; return 1; }
}

control_text_is() {
  local got
  got=$(probe gettext "$WINDOW_TITLE" "$1")
  [[ $got == "$2" ]] || { e2e_log "    text of control $1: <$got>, want <$2>"; return 1; }
}

# window_wait <tenths> <command...>: waits until the command succeeds.
window_wait() {
  local tenths=$1 i
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  "$@"
}

tray_icons_are() { [[ $(probe tray-icons) == "$1" ]]; }

# window_start <name> [args...]: starts the server by hand and waits until
# its message loop runs and its window exists.
window_start() {
  local name=$1
  shift
  e2e_start_bg "$E2E_APP_DIR" "$E2E_RUN/$name.out" "$E2E_EXE_WIN" "$@"
  WINDOW_PID=$E2E_LAST_PID
  window_wait 150 eval "velkora_log | grep -q 'Application.Run\$'" &&
    window_wait 100 probe describe "$WINDOW_TITLE" >/dev/null
}

window_ended() { e2e_wait_pid_end "$WINDOW_PID" "${1:-100}"; }

# After a test: a server still running (the test failed) is ended through
# its window, never killed while COM knows its class object: Wine's COM
# service would keep pointing at the dead process and fail every later
# CreateObject of the run.
window_stop() {
  e2e_pid_alive "$WINDOW_PID" || return 0
  echo yes >"$E2E_ANSWER"
  probe command "$WINDOW_TITLE" "$CMD_ENDE" >/dev/null
  window_ended 100 || e2e_kill_pid "$WINDOW_PID"
  echo ok >"$E2E_ANSWER"
}

# window_screenshot <file> [<crop geometry>]
window_screenshot() {
  local crop=()
  [[ -n ${2:-} ]] && crop=(-crop "$2")
  import -display "$DISPLAY" -window root "${crop[@]}" "$E2E_RUN/$1" 2>>"$E2E_RUN/import.err"
}

# The window with its frame, as describe.txt places it.
window_geometry() {
  local left top right bottom
  left=$(window_value left) top=$(window_value top) right=$(window_value right) bottom=$(window_value bottom)
  echo "$((right - left))x$((bottom - top))+$left+$top"
}

box_seen_since() {
  local since=$1 pattern=$2
  e2e_boxes_since "$since" | grep -qE "$pattern"
}

box_line_seen_since() {
  local since=$1 line=$2
  e2e_boxes_since "$since" | grep -qxF -- "$line"
}

# Runs a script in the background, as a second client while the runner works
# the window. window_script_wait checks it like e2e_cscript does.
window_script_start() {
  local name
  name=$(basename "$1")
  cat "$E2E_SRC/prelude.vbs" "$1" >"$E2E_RUN/$name"
  e2e_start_bg "$E2E_RUN" "$E2E_RUN/$name.out" cscript //nologo "$name"
  WINDOW_SCRIPT_PID=$E2E_LAST_PID
  WINDOW_SCRIPT_NAME=$name
}

window_script_wait() {
  e2e_wait_pid_end "$WINDOW_SCRIPT_PID" 600 || { e2e_log "    $WINDOW_SCRIPT_NAME did not end"; return 1; }
  local out=$E2E_RUN/$WINDOW_SCRIPT_NAME.out
  if ! tr -d '\r' <"$out" | grep -qaxE 'E2E-END failures=0'; then
    e2e_log "    $WINDOW_SCRIPT_NAME failed:"
    tr -d '\r' <"$out" | sed 's/^/      | /' >&2
    return 1
  fi
}

# Holds an object in a script, ends the server by `how` (a command run
# here) and answers the close question with `answer`.
window_close_while_held() {
  local answer=$1 expect=$2
  shift 2
  rm -f "$E2E_RUN/holding.txt" "$E2E_RUN/release.txt"
  export E2E_EXPECT_SERVER=$expect
  window_script_start "$E2E_SRC/window/holds_object.vbs"
  e2e_check "the script holds an object" window_wait 300 test -e "$E2E_RUN/holding.txt"
  echo "$answer" >"$E2E_ANSWER"
  local before
  before=$(e2e_box_count)
  "$@"
  e2e_check "the close question is asked, word for word (answered $answer)" window_wait 150 \
    box_line_seen_since "$before" "Warnung des COM-Servers"$'\t'"$CLOSE_QUESTION_TEXT"$'\t'"$answer"
  echo ok >"$E2E_ANSWER"
  if [[ $expect == running ]]; then
    sleep 1
    e2e_check "answered No, the server keeps running" e2e_pid_alive "$WINDOW_PID"
  else
    e2e_check "answered Yes, the server ends" window_ended 150
  fi
  touch "$E2E_RUN/release.txt"
  e2e_check "holds_object.vbs ($expect) passes" window_script_wait
}

# Real input through the X server, as a user's keyboard and mouse give it.
# The X window Wine made for the server's main window:
window_x_id() { xdotool search --name "^${WINDOW_TITLE//./\\.}\$" 2>/dev/null | head -n 1; }
# window_click <x> <y>: a left click at that screen point.
window_click() { xdotool mousemove --sync "$1" "$2" click 1; }

# box_owner_is <caption> <owner title>: an open box with that caption is
# owned by the window of that title (empty: by none).
box_owner_is() {
  local got
  got=$(probe box "$1") || { e2e_log "    no open box $1"; return 1; }
  [[ $got == "owner=$2 "* ]] || { e2e_log "    box $1: <$got>, want owner <$2>"; return 1; }
}

open_boxes_are() { [[ $(probe open-boxes) == "$1" ]]; }
box_open() { probe box "$1" >/dev/null; }

# The notification icon on screen is the application's own: mostly its
# blue (#1D4F91), which the system's generic icon does not have.
tray_icon_is_ours() {
  local geometry share
  geometry=$(probe tray-rect) || return 1
  window_screenshot tray-icon.png "$geometry" || return 1
  share=$(convert "$E2E_RUN/tray-icon.png" -alpha off -fuzz 12% -fill black +opaque '#1D4F91' \
    -fill white -opaque '#1D4F91' -format '%[fx:mean]' info:) || return 1
  awk -v share="$share" 'BEGIN { exit !(share > 0.2) }' ||
    { e2e_log "    share of the icon's blue in tray-icon.png ($geometry): $share"; return 1; }
}

e2e_window_suite() {
  local dir=$E2E_SRC/window before status
  window_build_probe || { e2e_begin "window: probe"; e2e_check "window probe built" false; e2e_end; return; }
  status=0; velkora_run regserver-window /RegServer || status=$?
  # Without a window manager Wine draws the frames itself, so that the
  # screenshots show the caption.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$E2E_RUN/reg.out" 2>&1

  e2e_begin "window: Testmodus shows the window with its layout; the test menu's commands"
  e2e_check "registered (exit code $status)" test "$status" = 0
  velkora_preset_ini 'Testmodus=1' 'Links=20' 'Oben=30'
  # One provider for the test menu's LCR entry: a cent a minute, all week.
  printf '%s\r\n' '[LCR]' '0=Flat' '[LCR Flat]' Ft=P So=P Mo=P Di=P Mi=P Do=P Fr=P Sa=P \
    'P=00:00:00 0.01 60' >>"$E2E_APP_DIR/velkora.ini"
  before=$(e2e_box_count)
  e2e_check "the server started in test mode" window_start testmodus
  window_describe
  e2e_check "caption" window_is caption "$WINDOW_TITLE"
  e2e_check "shown" window_is visible 1
  e2e_check "client area 378 x 160" window_is client 378x160
  e2e_check "at Links, Oben (left)" window_is left 20
  e2e_check "at Links, Oben (top)" window_is top 30
  e2e_check "fixed border" window_is thickframe 0
  e2e_check "no maximise button" window_is maximizebox 0
  e2e_check "minimise button" window_is minimizebox 1
  e2e_check "system menu" window_is sysmenu 1
  e2e_check "stays on top (Vordergrund's default)" window_is topmost 1
  e2e_check "status line with the start text" control_is "$ID_STATUS" \
    'class=Static left=8 top=8 width=361 height=25 text=Start Velkora Version 1.1.3'
  local i tops=(40 64 88 112 136)
  for i in 0 1 2 3 4; do
    e2e_check "Para$((i + 1)) in place, empty" control_is $((ID_PARA1 + i)) \
      "class=Edit left=8 top=${tops[i]} width=361 height=21 text="
  done
  e2e_check "no tray icon in test mode" tray_icons_are 0
  e2e_check "screenshot window.png" window_screenshot window.png "$(window_geometry)"
  # The menus, opened as Alt+T and Alt+D open them; Wine does not let
  # another process read their items, the screenshots show them (the unit
  # tests check captions and order).
  probe menu-open "$WINDOW_TITLE" t >/dev/null
  probe popup-key none 5000 >/dev/null
  sleep 0.5
  e2e_check "screenshot menu-test.png" window_screenshot menu-test.png \
    "440x340+$(window_value left)+$(window_value top)"
  probe popup-key esc 3000 >/dev/null; probe popup-key esc 1000 >/dev/null
  probe menu-open "$WINDOW_TITLE" d >/dev/null
  probe popup-key none 5000 >/dev/null
  sleep 0.5
  e2e_check "screenshot menu-datei.png" window_screenshot menu-datei.png \
    "440x300+$(window_value left)+$(window_value top)"
  probe popup-key esc 3000 >/dev/null; probe popup-key esc 1000 >/dev/null
  sleep 0.5

  probe settext "$WINDOW_TITLE" "$ID_PARA1" "Notepad" >/dev/null
  probe command "$WINDOW_TITLE" "$CMD_VERSION" >/dev/null
  e2e_check "Version puts 010103 into Para5" window_wait 50 control_text_is "$ID_PARA5" 010103
  e2e_check "... and shows call and result in the status line" \
    control_text_is "$ID_STATUS" 'VelkoraVersion()-->"010103"'
  probe command "$WINDOW_TITLE" "$CMD_ININAME" >/dev/null
  e2e_check "Ininame puts the settings file into Para5" window_wait 50 control_text_is "$ID_PARA5" "$E2E_INI"
  e2e_check "... and into the status line" control_text_is "$ID_STATUS" "VelkoraIniname()-->\"$E2E_INI\""
  probe command "$WINDOW_TITLE" "$CMD_VERBINDUNGSNAME" >/dev/null
  e2e_check "Verbindungsname shows the empty connection name in the status line" \
    window_wait 50 control_text_is "$ID_STATUS" 'GetRasConnection()-->""'
  e2e_check "... and leaves Para5 alone" control_text_is "$ID_PARA5" "$E2E_INI"
  e2e_check "... and Para1" control_text_is "$ID_PARA1" "Notepad"
  probe settext "$WINDOW_TITLE" "$ID_PARA1" '^velkora 1\.' >/dev/null
  probe settext "$WINDOW_TITLE" "$ID_PARA2" ';' >/dev/null
  probe command "$WINDOW_TITLE" "$CMD_WNDGETLIST" >/dev/null
  e2e_check "WndGetList of Para1 and Para2 puts the window's own title into Para5" \
    window_wait 50 control_text_is "$ID_PARA5" "$WINDOW_TITLE"
  probe settext "$WINDOW_TITLE" "$ID_PARA1" 'VELKORA' >/dev/null
  probe command "$WINDOW_TITLE" "$CMD_WINDOWEXISTS" >/dev/null
  e2e_check "Fenster vorhanden shows its answer in the status line" \
    window_wait 50 control_text_is "$ID_STATUS" 'WindowExists("VELKORA")-->True'
  probe settext "$WINDOW_TITLE" "$ID_PARA1" '61' >/dev/null
  probe command "$WINDOW_TITLE" "$CMD_LCR" >/dev/null
  e2e_check "LCR ranks for Para1 seconds: the cheapest in the status line" \
    window_wait 50 control_text_is "$ID_STATUS" 'GetRasLCRName("61")-->"Flat"'
  e2e_check "... every provider with its cost in Para5" eval \
    '[[ $(probe gettext "$WINDOW_TITLE" "$ID_PARA5") =~ ^Flat:0[.,]02$ ]]'
  e2e_check "a script's GetRasLCRName runs in the window's server" e2e_cscript "$E2E_SRC/window/ranks.vbs" 60
  e2e_check "... and shows its list in Para5 at once" eval \
    '[[ $(probe gettext "$WINDOW_TITLE" "$ID_PARA5") =~ ^Flat:0[.,]6$ ]]'
  e2e_check "... the server started by hand keeps running" e2e_pid_alive "$WINDOW_PID"
  local boxes_before
  boxes_before=$(e2e_box_count)
  probe command "$WINDOW_TITLE" "$CMD_INFO" >/dev/null
  e2e_check "Info shows the info box" window_wait 50 box_seen_since "$boxes_before" $'^Info\t.*Version 1\\.1\\.3'
  e2e_check "... status line ShowInfo()" window_wait 30 control_text_is "$ID_STATUS" 'ShowInfo()'

  probe command "$WINDOW_TITLE" "$CMD_VORDERGRUND" >/dev/null
  e2e_check "Vordergrund off is written at once" window_wait 50 eval '[[ $(velkora_ini_value Vordergrund) == 0 ]]'
  e2e_check "... and the window no longer stays on top" window_wait 30 window_shows topmost 0
  probe command "$WINDOW_TITLE" "$CMD_VORDERGRUND" >/dev/null
  e2e_check "Vordergrund on again" window_wait 50 eval '[[ $(velkora_ini_value Vordergrund) == 1 ]]'
  e2e_check "... and the window stays on top" window_wait 30 window_shows topmost 1

  probe syscommand "$WINDOW_TITLE" minimize >/dev/null
  e2e_check "minimised" window_wait 50 window_shows iconic 1
  e2e_check "... without tray icon in test mode" tray_icons_are 0
  probe command "$WINDOW_TITLE" "$CMD_ENDE" >/dev/null
  e2e_check "&Ende without clients ends the server at once" window_ended 100
  velkora_keep window-testmodus
  e2e_check "its position was saved, not the minimised one" eval \
    '[[ $(velkora_ini_value Links) == 20 && $(velkora_ini_value Oben) == 30 ]]'
  e2e_check "the log holds the menu's calls and the end" velkora_log_has_in_order 'Application.Run' \
    'VelkoraVersion()' ' --> "010103"' 'VelkoraIniname()' " --> \"$E2E_INI\"" 'GetRasConnection()' \
    ' --> ""' 'WndGetList("^velkora 1\.",";")' " --> \"$WINDOW_TITLE\"" 'WindowExists("VELKORA")' \
    ' --> True' 'GetRasLCRName("61")' ' --> "Flat"' \
    'GetRasLCRName("3600")' ' --> "Flat"' 'ShowInfo()' 'Programmende'
  e2e_check "only the info box was shown" test "$(e2e_box_count)" = $((before + 1))
  window_stop
  e2e_end

  e2e_begin "window: keys in the input lines end nothing; boxes are modal to the window"
  velkora_preset_ini 'SchreibeLog=1' 'Testmodus=1' 'Links=20' 'Oben=30'
  e2e_check "the server started in test mode" window_start keys
  window_describe
  local client_x client_y x_id
  client_x=$(window_value clientleft) client_y=$(window_value clienttop)
  x_id=$(window_x_id)
  e2e_check "its window is known to the X server" test -n "$x_id"
  xdotool windowfocus --sync "$x_id" 2>>"$E2E_RUN/xdotool.err"
  window_click $((client_x + 100)) $((client_y + 50))
  xdotool type --delay 60 '^Velkora' 2>>"$E2E_RUN/xdotool.err"
  e2e_check "typed keys reach the input line clicked into (Para1)" \
    window_wait 50 control_text_is "$ID_PARA1" '^Velkora'
  xdotool key Return 2>>"$E2E_RUN/xdotool.err"
  sleep 0.5
  xdotool key Escape 2>>"$E2E_RUN/xdotool.err"
  sleep 1
  e2e_check "Return and Escape in an input line leave the server running" e2e_pid_alive "$WINDOW_PID"
  e2e_check "... with its window on screen" window_shows visible 1
  e2e_check "... and nothing ended" eval '! velkora_log | grep -q Programmende'
  e2e_check "... and no box shown" open_boxes_are 0

  # A user's click on the menu bar's "&Test", the second title, opens it
  # while no box is up.
  window_click $((client_x + 60)) $((client_y - 10))
  e2e_check "a click on the menu bar's &Test opens its menu" probe popup-key none 3000
  # Escape closes the menu, a second one leaves the menu bar.
  xdotool key Escape 2>>"$E2E_RUN/xdotool.err"
  sleep 0.3
  xdotool key Escape 2>>"$E2E_RUN/xdotool.err"
  sleep 0.5
  e2e_check "... and Escape closes it" eval '! probe popup-key none 500'
  e2e_check "... the server still running" e2e_pid_alive "$WINDOW_PID"

  echo hold >"$E2E_ANSWER"
  probe command "$WINDOW_TITLE" "$CMD_INFO" >/dev/null
  e2e_check "the Info box is up" window_wait 50 box_open Info
  e2e_check "... owned by the main window" box_owner_is Info "$WINDOW_TITLE"
  e2e_check "... which is disabled meanwhile" window_shows enabled 0
  e2e_check "screenshot info-box.png" window_screenshot info-box.png 640x480+0+0
  window_click $((client_x + 60)) $((client_y - 10))
  e2e_check "... so that a click on its menu bar opens no menu" eval '! probe popup-key none 2000'
  probe popup-key esc 1000 >/dev/null
  e2e_check "... and no second box" open_boxes_are 1
  echo ok >"$E2E_ANSWER"
  e2e_check "answered, the box goes" window_wait 50 open_boxes_are 0
  e2e_check "... and the window is enabled again" window_wait 30 window_shows enabled 1

  echo hold >"$E2E_ANSWER"
  window_script_start "$dir/error_box.vbs"
  e2e_check "a script's error box is up" window_wait 150 box_open 'Fehler in Velkora'
  e2e_check "... owned by the main window" box_owner_is 'Fehler in Velkora' "$WINDOW_TITLE"
  e2e_check "... in front" eval '[[ $(probe box "Fehler in Velkora") == *" foreground=1" ]]'
  e2e_check "... the main window disabled meanwhile" window_shows enabled 0
  echo ok >"$E2E_ANSWER"
  e2e_check "after OK the script goes on and passes" window_script_wait
  e2e_check "... and the window is enabled again" window_wait 30 window_shows enabled 1
  probe command "$WINDOW_TITLE" "$CMD_ENDE" >/dev/null
  e2e_check "&Ende ends the server" window_ended 100
  velkora_keep window-keys
  e2e_check "the log holds the calls, then the end" velkora_log_has_in_order \
    'ShowInfo()' 'WndGetList("(",";")' 'VelkoraVersion()' 'Programmende'
  e2e_check "... and only one end" eval '[[ $(velkora_log | grep -c Programmende) == 1 ]]'
  window_stop
  e2e_end

  e2e_begin "window: TESTMODE as parameter; minimised into the tray; the tray icon and its menu"
  velkora_preset_ini 'SchreibeLog=1'
  e2e_check "the server started with TESTMODE" window_start testmode testmode
  window_describe
  e2e_check "shown" window_is visible 1
  e2e_check "no tray icon while shown" tray_icons_are 0
  probe syscommand "$WINDOW_TITLE" minimize >/dev/null
  e2e_check "minimised, the icon appears" window_wait 50 tray_icons_are 1
  sleep 0.5
  e2e_check "... showing the application's own icon (tray-icon.png)" tray_icon_is_ours
  e2e_check "... and the window is gone from the screen" window_wait 50 window_shows visible 0
  before=$(e2e_box_count)
  probe tray-mouse up 2 >/dev/null
  e2e_check "a click on the icon shows the info box" window_wait 50 box_seen_since "$before" $'^Info\t'
  sleep 3
  e2e_check "... once, though clicked twice while it was open" test "$(e2e_box_count)" = $((before + 1))
  before=$(e2e_box_count)
  probe tray-mouse rup >/dev/null
  e2e_check "a right click opens the tray menu" probe popup-key none 5000
  sleep 0.5
  e2e_check "screenshot tray-menu.png" window_screenshot tray-menu.png
  probe popup-key i 3000 >/dev/null
  e2e_check "the tray menu's &Info shows the info box" window_wait 50 box_seen_since "$before" $'^Info\t'
  sleep 1
  probe tray-mouse rup >/dev/null
  probe popup-key e 3000 >/dev/null
  e2e_check "the tray menu's &Ende ends the server (no clients, no question)" window_ended 100
  velkora_keep window-testmode
  e2e_check "the log ends with Programmende" velkora_log_has_in_order 'ShowInfo()' 'ShowInfo()' 'Programmende'
  window_stop
  e2e_end

  e2e_begin "window: a normal start sits in the tray; ending it while a script holds an object asks first"
  velkora_preset_ini 'SchreibeLog=1'
  e2e_check "the server started by hand" window_start normal
  e2e_check "the tray icon appears" window_wait 100 tray_icons_are 1
  window_describe
  e2e_check "no window on screen" window_is visible 0
  # A box while the window is hidden: task-modal, so that the hidden window
  # and the icon take no commands beneath it.
  echo hold >"$E2E_ANSWER"
  window_script_start "$dir/error_box.vbs"
  e2e_check "a script's error box is up" window_wait 150 box_open 'Fehler in Velkora'
  e2e_check "... without owner" box_owner_is 'Fehler in Velkora' ''
  e2e_check "... in front" eval '[[ $(probe box "Fehler in Velkora") == *" foreground=1" ]]'
  e2e_check "... the hidden window disabled meanwhile" window_shows enabled 0
  probe tray-mouse rup >/dev/null
  e2e_check "... and the tray icon's menu does not open" eval '! probe popup-key none 2000'
  probe popup-key esc 1000 >/dev/null
  e2e_check "... nor a second box" open_boxes_are 1
  echo ok >"$E2E_ANSWER"
  e2e_check "after OK the script goes on and passes" window_script_wait
  e2e_check "... the window is enabled again" window_wait 30 window_shows enabled 1
  window_close_while_held no running probe command "$WINDOW_TITLE" "$CMD_ENDE"
  window_close_while_held yes gone eval 'probe tray-mouse rup >/dev/null; probe popup-key e 3000 >/dev/null'
  velkora_keep window-normal
  e2e_check "the log ends with Programmende" velkora_log_has_in_order 'Application.Run' 'Programmende'
  e2e_check "no tray icon is left" window_wait 50 tray_icons_are 0
  window_stop
  e2e_end

  e2e_begin "window: Unsichtbar: no window, no tray icon"
  velkora_preset_ini 'SchreibeLog=1' 'Unsichtbar=1'
  e2e_check "the server started by hand" window_start unsichtbar
  sleep 1
  window_describe
  e2e_check "no window on screen" window_is visible 0
  e2e_check "no tray icon" tray_icons_are 0
  probe command "$WINDOW_TITLE" "$CMD_ENDE" >/dev/null
  e2e_check "ended by its (hidden) menu" window_ended 100
  window_stop
  e2e_end

  e2e_begin "window: GetRasConnection, RasClose and GetPerfStats from VBScript and JScript"
  before=$(e2e_box_count)
  local script
  for script in dialup.vbs dialup.js; do
    velkora_preset_ini 'SchreibeLog=1'
    e2e_check "$script passes" e2e_cscript "$dir/$script" 90
    velkora_keep "$script"
    e2e_check "$script: call and result lines" velkora_log_has_in_order \
      'GetRasConnection()' ' --> ""' 'RasClose()' ' --> ""' \
      'GetPerfStats("Dial-Up Adapter\ConnectSpeed")' ' --> 0'
  done
  e2e_check "no box shown" test "$(e2e_box_count)" = "$before"
  e2e_end

  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >"$E2E_RUN/reg.out" 2>&1
}
