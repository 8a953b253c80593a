#!/usr/bin/env bash
# The screen check: the release torvan with its screen renderer, against the
# virtual drive on a pseudo-terminal, under a virtual X server (1280 x 1024,
# 24 bits) with a real window manager (openbox), so windows have frames and
# titles and moves, resizes and close requests go through it. Synthetic input comes from xdotool, close requests from a small X
# client of our own (the WM_DELETE_WINDOW message a window manager sends);
# screen captures are kept under build/screen-check/. A check module acts in
# the model on the script's commands and reports what the model holds. Every
# wait has a time limit that fails the check instead of hanging. The last
# line counts the checks: "N passed, N failed".
#   bash scripts/screen-check.sh            # builds what it needs (release preset)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--inside" ]; then
  targets=(torvan torvan_screen torvan_screencheck torvan_wm_close torvan_virtual_drive)
  if ! cmake --preset release >/dev/null || ! cmake --build --preset release -j "$(nproc)" --target "${targets[@]}" >/dev/null; then
    echo "screen check: the release build failed"
    echo "0 passed, 1 failed"
    exit 1
  fi
  rm -rf build/screen-check
  mkdir -p build/screen-check
  # The run-time tree; the program runs from the build tree, where the
  # renderer lies beside it.
  cmake -DUI_DIR="$root/ui" -DROOT="$root/build/screen-check/tree" -P ui/layout_runtime_tree.cmake >/dev/null
  # One virtual X server for the whole check (two runs of the program),
  # ended when the check ends.
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside
  status=$?
  if [ ! -s build/screen-check/result ]; then
    echo "screen check: ended without a result (status $status)"
    echo "0 passed, 1 failed"
    exit 1
  fi
  cat build/screen-check/result
  tail -n 1 build/screen-check/result | grep -q ", 0 failed$"
  exit $?
fi

# --- inside the virtual X server ------------------------------------------------
out=$root/build/screen-check
bin=$root/build/release/bin
tree=$out/tree
passed=0
failed=0
log() { echo "$*" >>"$out/result.log"; }
pass() { passed=$((passed + 1)); log "ok   $1"; }
fail() { failed=$((failed + 1)); log "FAIL $1${2:+: $2}"; }
check() { if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "got \"$2\", expected \"$3\""; fi; }
finish() {
  { cat "$out/result.log"; echo "$passed passed, $failed failed"; } >"$out/result"
  exit 0
}

# Waits until a command succeeds, polling, for at most $1 seconds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while [ $SECONDS -lt $end ]; do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# One command to the check module; prints its reply. The number of the last
# command lives in a file, as asks run in subshells too.
echo 0 >"$out/sequence"
ask() {
  local sequence
  sequence=$(( $(cat "$out/sequence") + 1 ))
  echo "$sequence" >"$out/sequence"
  rm -f "$out/reply.$sequence"
  echo "$sequence $*" >"$out/command.tmp"
  mv "$out/command.tmp" "$out/command"
  if ! wait_for 20 test -f "$out/reply.$sequence"; then
    echo "(no reply)"
    return 1
  fi
  cat "$out/reply.$sequence"
}
status_of() { ask status | sed -n "s/^$1=//p"; }
status_is() { [ "$(status_of "$1")" = "$2" ]; }
status_not() { [ "$(status_of "$1")" != "$2" ]; }
located() { local r; r=$(ask "$@"); [ "$r" != "none" ] && [ "$r" != "(no reply)" ]; }

# Clicks the middle of what the module locates ("locate ID" or "locatein DEF CHILD").
click_at() {
  local r x y w h
  r=$(ask "$@") || return 1
  [ "$r" = "none" ] && return 1
  read -r x y w h <<<"$r"
  xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
}

# The X window of a title (matched whole, as a literal text).
window_named() {
  local pattern
  pattern=$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | tail -n 1
}
# The X window whose title starts with a text (the editor's title ends in
# the device it edits).
window_starting() {
  local pattern
  pattern=$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern" 2>/dev/null | tail -n 1
}
capture() { import -window root "$out/$1"; }
# Number of colours in a region (WxH+X+Y) of a capture.
colours() { convert "$out/$1" -crop "$2" +repage -format %k info:; }
pixel() { convert "$out/$1" -format "%[pixel:p{$2,$3}]" info:; }

# The window manager, up before the first window.
openbox >"$out/openbox.out" 2>&1 &
wm_pid=$!
wait_for 10 xdotool get_num_desktops >/dev/null 2>&1 || { fail "the window manager starts"; finish; }

# The virtual drive on a pseudo-terminal.
drive_out=$out/drive.out
"$bin/torvan_virtual_drive" >"$drive_out" &
drive_pid=$!
wait_for 10 test -s "$drive_out" || { fail "the virtual drive starts"; finish; }
slave=$(head -n 1 "$drive_out")

cd "$tree/bin" || finish
# Starts torvan with the check module; $1 names its output file.
start_torvan() {
  TORVAN_COMMAP="COM1=$slave" TORVAN_TESTTOOL="$bin/libtorvan_screencheck.so" \
    TORVAN_SCREENCHECK_DIR="$out" TORVAN_SCREENCHECK_FIXTURE="$root/app/shell/screencheck/screen_fixture.cgw" \
    "$bin/torvan" >"$out/$1" 2>&1 &
  torvan_pid=$!
}
start_torvan torvan.out
cleanup() {
  kill -TERM "$torvan_pid" 2>/dev/null
  kill -TERM "$drive_pid" 2>/dev/null
  kill -TERM "$wm_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

# --- the first run on the screen -------------------------------------------------
if ! wait_for 60 status_is startup 1; then
  fail "the start-up sequence runs" "$(tail -n 5 "$out/torvan.out")"
  finish
fi
st=$(ask status)
first=$(sed -n 's/^first_show_ms=//p' <<<"$st")
started=$(sed -n 's/^startup_ms=//p' <<<"$st")
title=$(sed -n 's/^title=//p' <<<"$st")
IFS=, read -r mx my mw mh <<<"$(sed -n 's/^main_rect=//p' <<<"$st")"
delay=$(( ${started:-0} - ${first:-0} ))
if [ "$delay" -ge 2500 ] && [ "$delay" -lt 6000 ]; then pass "start-up 2500 ms after the first show ($delay ms)"
else fail "start-up 2500 ms after the first show" "$delay ms"; fi

capture main.png
n=$(colours main.png "${mw}x${mh}+${mx}+${my}")
if [ "${n:-1}" -gt 1 ]; then pass "the capture shows the main window ($n colours)"; else fail "the capture shows the main window" "one colour"; fi

main_window=$(window_named "$title")
check "the X server's title is the model's" "$(xdotool getwindowname "${main_window:-0}" 2>/dev/null)" "$title"
eval "$(xdotool getwindowgeometry --shell "${main_window:-0}" 2>/dev/null)"
check "the window's size is the model's" "${WIDTH:-0}x${HEIGHT:-0}" "${mw}x${mh}"
check "BusState on the screen" "$(ask text MainWindow.StateLine.BusState)" "RS232 : 9600 Baud"

# The drive's activation opens its family's setup window; it is moved aside
# and the parameter editor opened from its tool.
setup_shown() { [ -n "$(window_starting "Setup ")" ]; }
if wait_for 20 setup_shown; then pass "the drive's setup window opens"; else fail "the drive's setup window opens"; fi
xdotool windowmove --sync "$(window_starting "Setup ")" 700 560 2>/dev/null
sleep 0.5
click_at locate MainWindow.TB_Standard.TD_Edit

# The parameter editor opens over the main window's menu bar and the network
# list; the window manager moves it aside.
editor_shown() { [ -n "$(window_starting "Parameter editor")" ]; }
wait_for 20 editor_shown
xdotool windowmove --sync "$(window_starting "Parameter editor")" 480 560 2>/dev/null
sleep 0.5

ask walk >/dev/null
if grep -P "DeviceList\trow \d+\t" "$out/walk.txt" | grep -q "1"; then pass "the network list shows the drive at address 1"
else fail "the network list shows the drive at address 1" "$(grep -c DeviceList "$out/walk.txt") lines"; fi

# --- a double click opens the dialog of its row -----------------------------------
editor=$(window_starting "Parameter editor")
[ -n "$editor" ] && xdotool windowactivate --sync "$editor" 2>/dev/null
sleep 0.5
row=2
read -r rx ry rw rh <<<"$(ask locate "MainWindow.ParameterEditor.ParaList#$row")"
capture editor.png
if [ -n "${rh:-}" ]; then
  xdotool mousemove --sync $((rx + rw / 2)) $((ry + rh / 2)) click --repeat 2 --delay 80 1
fi
wait_for 10 status_not paraedit ""
ask walk >/dev/null
number=$(grep -P "ParaList\trow $row\t" "$out/walk.txt" | cut -f3 | cut -d'|' -f1)
check "a double click on a parameter row opens that row's dialog" "$(status_of paraedit)" "${number:-(no row)}"
if [ -n "$(status_of paraedit_title)" ]; then pass "the parameter dialog has a title"; else fail "the parameter dialog has a title"; fi
sleep 0.5
capture paraedit.png
click_at locatein ParaEdit Cancel
wait_for 10 status_is paraedit ""

# --- input reaches the model -----------------------------------------------------
ask fixture >/dev/null
wait_for 10 located locate ScreenFixture.Press || fail "the fixture window shows"
check "a Windows-1252 text reads right" "$(ask text ScreenFixture.Foreign)" "Buskapazität"
click_at locate ScreenFixture.Press
wait_for 10 status_is clicks 1
ask status >/dev/null  # one more round, so a second click would be counted
check "a click runs the button's callback once" "$(status_of clicks)" "1"

click_at locate ScreenFixture.HexEdit
beeps_before=$(status_of beeps)
xdotool type --delay 50 "1G2"
wait_for 10 status_is hex "12H"
check "typing 1G2 into the masked edit" "$(status_of hex)" "12H"
check "the edit on the screen" "$(ask text ScreenFixture.HexEdit)" "12H"
check "one beep for the refused G" "$(( $(status_of beeps) - beeps_before ))" "1"

click_at locate MainWindow.MenuBar.M_Device
if wait_for 10 located locate MainWindow.MenuBar.M_Device.M_ChooseDevice; then
  click_at locate MainWindow.MenuBar.M_Device.M_ChooseDevice
  wait_for 10 located locate MainWindow.MenuBar.M_Device.M_ChooseDevice.01
  capture menu.png
  click_at locate MainWindow.MenuBar.M_Device.M_ChooseDevice.01
fi
wait_for 10 status_not chosen ""
check "choosing \"01\" runs its callback with address 1" "$(status_of chosen)" "1 "

# --- the panes of the View menu, inside the main window --------------------------
ask walk >/dev/null
IFS=, read -r wx wy ww wh <<<"$(status_of main_rect)"
panes=0
outside=0
while IFS=, read -r px py pw ph; do
  panes=$((panes + 1))
  if [ "$px" -lt "${wx:-0}" ] || [ "$py" -lt "${wy:-0}" ] || [ $((px + pw)) -gt $((${wx:-0} + ${ww:-0})) ] ||
    [ $((py + ph)) -gt $((${wy:-0} + ${wh:-0})) ]; then outside=$((outside + 1)); fi
done < <(grep -P "\tdockingframe\t" "$out/walk.txt" | sed 's/.*\tat \([0-9,-]*\)\t.*/\1/')
check "the View menu's panes are on the screen" "$panes" "$(status_of view_checked)"
check "the panes lie inside the main window" "$outside" "0"
if [ "$panes" -gt 0 ]; then pass "the View menu shows panes ($panes)"; else fail "the View menu shows panes"; fi
capture main_panes.png

# --- typing into the alias field leaves the menu bar to the mouse -----------------
click_at locatein NetList AD_Alias
xdotool type --delay 50 "Axis"
wait_for 10 status_is alias "Axis"
check "the alias field takes the typed text" "$(status_of alias)" "Axis"
click_at locate MainWindow.MenuBar.M_File
if wait_for 10 located locate MainWindow.MenuBar.M_File.M_OpenParaFile; then
  pass "after typing into the alias field the File menu opens by mouse"
else
  fail "after typing into the alias field the File menu opens by mouse"
fi
capture file_menu.png

# --- the open-parameter-file selector opens --------------------------------------
click_at locate MainWindow.MenuBar.M_File.M_OpenParaFile
file_dialog() { ask walk >/dev/null && grep -q "^filedialog" "$out/walk.txt"; }
wait_for 10 file_dialog
line=$(grep "^filedialog" "$out/walk.txt" | head -n 1)
check "the open-parameter-file selector is an open dialog" "$(cut -f2 <<<"$line")" "open"
check "its filter is *.??D" "$(cut -f3 <<<"$line")" "*.??D"
capture file_dialog.png
"$bin/torvan_wm_close" "$(window_named "$(cut -f4 <<<"$line")")"
closed() { ask walk >/dev/null && ! grep -q "^filedialog" "$out/walk.txt"; }
wait_for 10 closed || fail "the file dialog closes"

net_window=$(window_named "$(status_of netlist)")
if [ -n "$net_window" ]; then
  xdotool windowmove --sync "$net_window" 300 200
  wait_for 10 status_is netlist_pos "300,200"
fi
check "moving the network list moves the model's window" "$(status_of netlist_pos)" "300,200"

# --- a size given with the window manager reaches the model ------------------------
if [ -n "$net_window" ]; then
  xdotool windowsize --sync "$net_window" 640 480
  wait_for 10 status_is netlist_size "640,480"
fi
check "resizing the network list resizes the model's window" "$(status_of netlist_size)" "640,480"
capture netlist_resized.png

# --- the compare window opens from its tool and from the Tools menu -----------------
compare_title="Compare parameter sets"
compare_shown() { status_is compare "$compare_title" && [ -n "$(window_named "$compare_title")" ]; }
compare_closed() { status_is compare ""; }
click_at locate MainWindow.TB_Standard.CompareDeviceWithFile
if wait_for 10 compare_shown; then pass "the tool \"Compare device with file\" opens ParaCompare"
else fail "the tool \"Compare device with file\" opens ParaCompare" "$(status_of compare)"; fi
capture compare.png
"$bin/torvan_wm_close" "$(window_named "$compare_title")"
wait_for 10 compare_closed || fail "the compare window closes"
click_at locate MainWindow.MenuBar.M_Tools
wait_for 10 located locate MainWindow.MenuBar.M_Tools.M_ParaCompare &&
  click_at locate MainWindow.MenuBar.M_Tools.M_ParaCompare
if wait_for 10 compare_shown; then pass "Tools > Compare parameter sets opens ParaCompare"
else fail "Tools > Compare parameter sets opens ParaCompare" "$(status_of compare)"; fi
"$bin/torvan_wm_close" "$(window_named "$compare_title")"
wait_for 10 compare_closed || fail "the compare window closes from the menu's run"

# --- boxes and print dialog --------------------------------------------------------
ask question >/dev/null
wait_for 10 status_not x_QuestionBox ""
box=$(window_named Question)
"$bin/torvan_wm_close" "${box:-0}"
wait_for 10 status_is question false
check "a question box closed by the window manager answers no" "$(status_of question)" "false"

ask question >/dev/null
wait_for 10 status_not x_QuestionBox ""
wait_for 10 located locatein x_QuestionBox Icon
capture box.png
read -r ix iy iw ih <<<"$(ask locatein x_QuestionBox Icon)"
convert "$out/box.png" -crop "${iw}x${ih}+${ix}+${iy}" +repage "$out/box_icon.png"
differing=$(compare -metric AE "$out/box_icon.png" "$root/ui/bin/pictures/mb_question.png" null: 2>&1)
check "the box shows the mb_question image" "$differing" "0"
click_at locatein x_QuestionBox Yes
wait_for 10 status_is question true
check "Yes answers the question box" "$(status_of question)" "true"

userdata=$tree/userdata
before=$(ls "$userdata"/*.pdf 2>/dev/null | wc -l)
ask print >/dev/null
wait_for 10 located locate PrintOK && click_at locate PrintOK
wait_for 20 status_not print open
check "OK in the print dialog prints" "$(status_of print)" "printed"
after=$(ls "$userdata"/*.pdf 2>/dev/null | wc -l)
check "one PDF in the user data folder" "$((after - before))" "1"
newest=$(ls -t "$userdata"/*.pdf 2>/dev/null | head -n 1)
if [ -n "$newest" ] && pdfinfo "$newest" >/dev/null 2>&1; then pass "pdfinfo opens the PDF"; else fail "pdfinfo opens the PDF"; fi
ask print >/dev/null
wait_for 10 located locate PrintOK
"$bin/torvan_wm_close" "$(window_named Print)"
wait_for 10 status_not print open
check "a print dialog closed by the window manager prints nothing" "$(status_of print)" "cancelled"
check "no further PDF" "$(ls "$userdata"/*.pdf 2>/dev/null | wc -l)" "$after"

# --- the model is the truth --------------------------------------------------------------
ask timerbox >/dev/null
wait_for 10 status_not x_InfoBox ""
wait_for 10 test "$(ask text ScreenFixture.TimerLabel)" = "after"
check "a timer's label change shows while a box is open" \
  "$(ask text ScreenFixture.TimerLabel) $(status_of timerbox)" "after open"
click_at locatein x_InfoBox OK
wait_for 10 status_is timerbox closed

red_line() {
  local r x y w h
  r=$(ask locate ScreenFixture.Plot)
  read -r x y w h <<<"$r"
  capture "$1"
  local all=1
  for px in 20 $((w / 2)) $((w - 20)); do
    case "$(pixel "$1" $((x + px)) $((y + 20)))" in srgb\(255,0,0\)|red) ;; *) all=0 ;; esac
  done
  [ "$all" = 1 ]
}
sleep 0.5
if red_line plot.png; then pass "the drawing shows its red line"; else fail "the drawing shows its red line"; fi
ask resize 520 420 >/dev/null
sleep 0.5
if wait_for 10 red_line plot_resized.png; then pass "the red line after a resize"; else fail "the red line after a resize"; fi

# A picture larger than its drawing scrolls: the print preview's page.
ask picture 1000 800 >/dev/null
if wait_for 10 located locate "ScreenFixture.Plot#vertical"; then pass "a picture larger than the drawing has scroll bars"
else fail "a picture larger than the drawing has scroll bars"; fi
read -r bx by bw bh <<<"$(ask locate "ScreenFixture.Plot#vertical")"
if [ -n "${bh:-}" ]; then xdotool mousemove --sync $((bx + bw / 2)) $((by + bh - 40)) click 1; fi
wait_for 10 status_not plot_scroll "0,0"
IFS=, read -r sx sy <<<"$(status_of plot_scroll)"
if [ "${sx:-1}" = 0 ] && [ "${sy:-0}" -gt 0 ]; then pass "a click on the scroll bar scrolls the model's picture down ($sy)"
else fail "a click on the scroll bar scrolls the model's picture down" "$sx,$sy"; fi
sleep 0.5
if red_line plot_scrolled.png; then fail "the picture shows from the scroll position on" "the red line stayed"
else pass "the picture shows from the scroll position on"; fi
ask picture 0 0 >/dev/null
bars_gone() { ! located locate "ScreenFixture.Plot#vertical"; }
if wait_for 10 bars_gone; then pass "a picture of the drawing's size has no scroll bars"
else fail "a picture of the drawing's size has no scroll bars"; fi
sleep 0.5
if wait_for 10 red_line plot_unscrolled.png; then pass "the red line when the picture fits again"; else fail "the red line when the picture fits again"; fi

differences=$(ask walk | sed -n 's/^differences=//p')
check "the walk finds the screen as the model" "$differences" "0"
[ "$differences" = "0" ] || grep "^DIFF" "$out/walk.txt" | head -n 10 >>"$out/result.log"
check "the default font" "$(sed -n 's/^default font: \(.*\) [0-9]*$/\1/p' "$out/walk.txt")" "DejaVu Sans"
check "the Arial,12 label" "$(grep -P '(^|\.)ScreenFixture\.ArialLabel\t' "$out/walk.txt" | sed 's/.*\tfont //')" "DejaVu Sans 12"

# --- exit through the window manager ---------------------------------------------------------
"$bin/torvan_wm_close" "$main_window"
wait_for 10 status_is exit_visible 1
sleep 0.5
capture exit.png
check "a close request shows ExitTorvel" "$(status_of exit_visible)" "1"
"$bin/torvan_wm_close" "$(window_named "$(status_of exit_title)")"
wait_for 10 status_is exit_visible 0
if kill -0 "$torvan_pid" 2>/dev/null && status_is main_visible 1; then pass "closing ExitTorvel cancels"; else fail "closing ExitTorvel cancels"; fi
"$bin/torvan_wm_close" "$main_window"
wait_for 10 status_is exit_visible 1
click_at locatein ExitTorvel Button
code=timeout
if wait_for 30 bash -c "! kill -0 $torvan_pid 2>/dev/null"; then
  wait "$torvan_pid"
  code=$?
fi
check "the Exit button ends torvan" "$code" "0"
if grep -q "^\[Pos_NetList\]" "$tree/bin/Torvan.ini" && grep -A3 "^\[Pos_NetList\]" "$tree/bin/Torvan.ini" | grep -q "300.*200"; then
  pass "Torvan.ini keeps the network list's position"
else
  fail "Torvan.ini keeps the network list's position" "$(grep -A3 "Pos_NetList" "$tree/bin/Torvan.ini" | tr '\n' ' ')"
fi
dim=$(tr -d '\r' <"$tree/bin/Torvan.ini" | sed -n '/^\[Pos_NetList\]/,/^\[/s/^Dim=//p')
check "Torvan.ini keeps the network list's size" "$dim" "640,480"

# --- the next start shows the network list at the size the user left -------------------
rm -f "$out/command"
start_torvan torvan2.out
if wait_for 60 status_is startup 1 && wait_for 20 status_not netlist ""; then
  wait_for 10 status_is netlist_size "640,480"
  check "after a restart the model's network list is 640,480" "$(status_of netlist_size)" "640,480"
  net_window=$(window_named "$(status_of netlist)")
  unset WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "${net_window:-0}" 2>/dev/null)"
  check "after a restart the network list is 640x480 on the screen" "${WIDTH:-0}x${HEIGHT:-0}" "640x480"
  capture restart.png
else
  fail "the second start shows the network list" "$(tail -n 5 "$out/torvan2.out")"
fi
log "captures: $out/main.png $out/main_panes.png $out/editor.png $out/paraedit.png $out/exit.png"
finish
