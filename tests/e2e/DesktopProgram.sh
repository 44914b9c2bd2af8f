#!/usr/bin/env bash
# The desktop program in a real window on its own X display, used as a person uses it: both
# windows appear; new data goes into the data field and a symbology is picked from the list;
# Ctrl+Enter generates and Ctrl+S saves, and a reader decodes the file; the file button's save
# dialog names a PNG file by its filter, which Save writes; a range and a destination are typed
# in and F4 writes the range, after which the LED bar is empty again; the About box opens from
# the Help menu and closes with Esc; Ctrl+X ends the program. Every file must hold the bytes
# quillmark-cli writes for the same inputs.
# With QUILLMARK_SCREENSHOTS=DIR the main window, the code window and the About box are saved
# there as PNG files.
# Usage: DesktopProgram.sh QUILLMARK QUILLMARK_CLI
set -euo pipefail

quillmark=$1
cli=$2
for tool in Xvfb xdotool zbarimg import; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed; scripts/bootstrap installs it"; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# A display of our own; Xvfb names the free number it took.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"

# The file name box starts with ~/output.bmp.
export HOME="$work"
"$quillmark" > "$work/quillmark.log" 2>&1 &
app=$!
pids+=($app)

# Prints the window whose whole title matches, once it is shown.
window() {
  timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1
}
# Waits until no window whose whole title matches is shown; fails when one still is.
closed() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" > /dev/null || return 0
    sleep 0.05
  done
  return 1
}
screenshot() {
  [ -n "${QUILLMARK_SCREENSHOTS:-}" ] && import -window "$1" "$QUILLMARK_SCREENSHOTS/$2.png"
  return 0
}
main=$(window '^Quillmark ver 2\.0') || fail "the main window did not appear"
code=$(window '^Code window$') || fail "the code window did not appear"

# The client area is 182 pixels high; the menu bar takes the rest of the window.
menu=$(($(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p') - 182))
click() {
  xdotool mousemove --window "$main" "$1" $(("$2" + menu)) click 1
}
type_into() {
  click "$1" "$2"
  xdotool key ctrl+a type "$3"
}

# One code: Code 128B (second in the list) of "Hello, world".
type_into 80 75 "Hello, world"
click 80 28
xdotool key Home Down Return
xdotool key ctrl+Return
xdotool key ctrl+s
window '^Quillmark$' > /dev/null || fail "Ctrl+S did not confirm"
xdotool key Return
"$cli" --type "Code 128B" --data "Hello, world" --output "$work/expected.bmp"
cmp "$work/output.bmp" "$work/expected.bmp" || fail "Ctrl+S wrote other bytes than quillmark-cli"
decoded=$(zbarimg --quiet --raw "$work/output.bmp" 2> /dev/null | sort -u)
[ "$decoded" = "Hello, world" ] || fail "zbarimg read '$decoded'"

# The file button's save dialog: "label" typed with the second filter, PNG, chosen becomes
# label.png, which Save writes as PNG.
click 423 78
dialog=$(window '^Uložit Kód so souboru$') || fail "the file button opened no save dialog"
for _ in $(seq 100); do
  [ "$(xdotool getwindowfocus)" = "$dialog" ] && break
  sleep 0.05
done
xdotool type label
xdotool key Tab Down Return
closed '^Uložit Kód so souboru$' || fail "the save dialog stayed open"
click 477 80
window '^Quillmark$' > /dev/null || fail "Save to the dialog's name did not confirm"
xdotool key Return
"$cli" --type "Code 128B" --data "Hello, world" --output "$work/expected.png"
cmp "$work/label.png" "$work/expected.png" || fail "Save wrote other bytes to label.png than quillmark-cli"
screenshot "$main" main-window
screenshot "$code" code-window

# The batch: 7 to 9 into a directory of its own.
mkdir "$work/batch"
type_into 50 141 7
type_into 160 141 9
type_into 280 141 "$work/batch"
xdotool key F4
# The run ends with the bar back at 0; its first segment is then unlit: dim lime.
led_empty() {
  import -window "$main" -crop 1x1+3+$((170 + menu)) txt:- | tail -1 | grep -q 'srgb(0,127,0)'
}
for _ in $(seq 100); do
  [ -e "$work/batch/code_9.bmp" ] && led_empty && break
  sleep 0.1
done
led_empty || fail "the LED bar is not empty after the run"
for n in 7 8 9; do
  "$cli" --type "Code 128B" --data "$n" --output "$work/expected.bmp"
  cmp "$work/batch/code_$n.bmp" "$work/expected.bmp" || fail "F4 wrote code_$n.bmp wrong"
done
[ "$(ls "$work/batch" | wc -l)" = 3 ] || fail "F4 wrote other files: $(ls "$work/batch")"

# The About box, from the Help menu, closed with Esc.
xdotool key alt+h Return
about=$(window '^O aplikaci$') || fail "the About box did not open"
screenshot "$about" about-box
xdotool key Escape
closed '^O aplikaci$' || fail "Esc did not close the About box"

# Ctrl+X outside a text field ends the program.
click 200 80
xdotool key ctrl+x
for _ in $(seq 100); do
  kill -0 "$app" 2> /dev/null || break
  sleep 0.05
done
! kill -0 "$app" 2> /dev/null || fail "Ctrl+X did not end the program"
echo "the desktop program generated, saved, wrote a range, showed About and ended"
