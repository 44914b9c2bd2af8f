#!/usr/bin/env bash
# The desktop program in a real window on its own X display under openbox, used as a person uses
# it: data typed and a symbology picked, Ctrl+Enter generates and Ctrl+S saves; the file button's
# save dialog names a PNG file by its filter; Ctrl+E in the data field exports the symbol and
# Ctrl+P prints it through the system's print dialog; a minimized code window comes back with the
# next Generate; a range of 20,000 numbers started with F4 stops at Esc and the title says how far
# it got; Ctrl+L writes a list's data; Ctrl+X during a run hides both windows, and the program ends
# once its files are whole.
# Every wait polls for what it waits for, with a limit generous enough for a loaded machine.
# Every file must hold the bytes quillmark-cli writes for the same inputs, and the printed page
# the symbol at its true size.
#
# Runs under tests/print/WithPrivateCups.sh, whose scheduler the print dialog offers:
#   WithPrivateCups.sh bash DesktopProgram.sh QUILLMARK QUILLMARK_CLI
set -euo pipefail

quillmark=$1
cli=$2
for tool in Xvfb openbox xdotool xprop zbarimg import pdftoppm convert; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed; scripts/bootstrap installs it"; exit 1; }
done

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2> /dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  # Most steps need the window manager: say when it is gone, and what it said.
  if [ -n "${wm:-}" ] && ! kill -0 "$wm" 2> /dev/null; then
    echo "openbox is no longer running; it said: $(cat "$work/openbox.log")"
  fi
  exit 1
}

# A display of our own; Xvfb names the free number it took.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
for _ in $(seq 1200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
# The program must use this display, even when the caller asked Qt for the offscreen platform.
unset QT_QPA_PLATFORM
openbox > "$work/openbox.log" 2>&1 &
wm=$!
pids+=($wm)
for _ in $(seq 1200); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q '#' && break; sleep 0.05; done

# The file name box starts with ~/output.bmp.
export HOME="$work"
"$quillmark" > "$work/quillmark.log" 2>&1 &
app=$!
pids+=($app)

# Runs the command until it succeeds, for 60 s at most: windows take their time under openbox,
# the more so while other tests run beside this one.
eventually() {
  for _ in $(seq 1200); do "$@" 2> /dev/null && return 0; sleep 0.05; done
  return 1
}
shown() { xdotool search --onlyvisible --name "$1" > /dev/null; }
gone() { ! shown "$1"; }
# Prints the window whose whole title matches, once it is shown.
window() { eventually shown "$1" && xdotool search --onlyvisible --name "$1" | head -1; }
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

# TYPE DATA KEYS: types DATA, picks TYPE in the list with KEYS, generates and saves with Ctrl+S;
# the file must hold quillmark-cli's bytes and read as DATA.
generate_and_save() {
  type_into 80 75 "$2"
  click 80 28
  xdotool key $3 Return
  xdotool key ctrl+Return
  xdotool key ctrl+s
  window '^Quillmark$' > /dev/null || fail "Ctrl+S did not confirm for $1"
  xdotool key Return
  "$cli" --type "$1" --data "$2" --output "$work/expected.bmp"
  cmp "$work/output.bmp" "$work/expected.bmp" || fail "Ctrl+S wrote other bytes than quillmark-cli for $1"
  decoded=$(zbarimg --quiet --raw "$work/output.bmp" 2> /dev/null | sort -u)
  [ "$decoded" = "$2" ] || fail "zbarimg read '$decoded' in $1"
}
# Code 128B, second in the list; Code 128, fifth from the end and after the first fifteen, which
# switches to set C for the digits; then Code 128B again, the image the next steps use.
generate_and_save "Code 128B" "Hello, world" "Home Down"
generate_and_save "Code 128" "PO-2024-000123456" "End Up Up Up Up"
generate_and_save "Code 128B" "Hello, world" "Home Down"

# The file button's save dialog: "label" typed with the second filter, PNG, chosen becomes
# label.png, which Save writes as PNG.
click 423 78
dialog=$(window '^Uložit Kód so souboru$') || fail "the file button opened no save dialog"
focused() { [ "$(xdotool getwindowfocus)" = "$dialog" ]; }
eventually focused
xdotool type label
xdotool key Tab Down Return
eventually gone '^Uložit Kód so souboru$' || fail "the save dialog stayed open"
click 477 80
window '^Quillmark$' > /dev/null || fail "Save to the dialog's name did not confirm"
xdotool key Return
"$cli" --type "Code 128B" --data "Hello, world" --output "$work/expected.png"
cmp "$work/label.png" "$work/expected.png" || fail "Save wrote other bytes to label.png than quillmark-cli"

# Export for print: Ctrl+E in the data field, where the field would take the key for moving its
# cursor, opens the dialog; a PNG of 0.25 mm at 300 dpi named in it holds what quillmark-cli
# writes for the same symbol.
click 80 75
xdotool key ctrl+e
dialog=$(window '^Export for print$') || fail "Ctrl+E in the data field opened no export dialog"
eventually focused
xdotool key ctrl+a type 0.25
xdotool key Tab Tab ctrl+a
xdotool type 300
xdotool key Tab Tab ctrl+a
xdotool type "$work/label.png"
xdotool key Return
window '^Quillmark$' > /dev/null || fail "Export did not confirm"
xdotool key Return
"$cli" --symbol --type "Code 128B" --data "Hello, world" --x-dim 0.25 --dpi 300 \
  --output "$work/expected.png"
cmp "$work/label.png" "$work/expected.png" || fail "Export wrote other bytes than quillmark-cli"

# Print: Ctrl+P opens the system's print dialog on the test's own queue; the page it prints holds
# the symbol with the sizes the export dialog was given, at its true size: as wide as
# quillmark-cli's symbol at the printer's 1,200 dpi, and a reader reads it.
click 80 75
xdotool key ctrl+p
dialog=$(window '^Print$') || fail "Ctrl+P opened no print dialog"
eventually focused
xdotool key Return
printed=$(wait_for_printed_pdf 60) || fail "nothing was printed"
# The page's top-left corner, where the symbol is: a whole page at 1,200 dpi is more than
# ImageMagick takes.
pdftoppm -r 1200 -gray -singlefile -x 0 -y 0 -W 4000 -H 2000 "$printed" "$work/page"
# The width of what is black in an image, in pixels.
inked() { convert "$1" -threshold 50% -negate -trim -format %w info:; }
"$cli" --symbol --type "Code 128B" --data "Hello, world" --x-dim 0.25 --dpi 1200 --no-text \
  --output "$work/expected.png"
[ "$(inked "$work/page.pgm")" = "$(inked "$work/expected.png")" ] ||
  fail "the printed symbol is $(inked "$work/page.pgm") dots wide, not $(inked "$work/expected.png")"
decoded=$(zbarimg --quiet --raw "$work/page.pgm" 2> /dev/null | sort -u)
[ "$decoded" = "Hello, world" ] || fail "zbarimg read '$decoded' on the printed page"

# Minimized, the code window comes back with the next Generate: restored, where it was, in front,
# while the main window keeps the keyboard.
hex() { printf '0x%x' "$1"; }
place() { xdotool getwindowgeometry --shell "$code" | grep -E '^[XY]='; }
state() { xprop -id "$code" WM_STATE | grep -q "window state: $1"; }
at() { [ "$(place)" = "$1" ]; }
on_top() { xprop -root _NET_CLIENT_LIST_STACKING | grep -q "$(hex "$code")\$"; }
typing_in_main() { xprop -root _NET_ACTIVE_WINDOW | grep -q "$(hex "$main")\$"; }
where=$(place)
# Asked again until it holds: a request the window manager gets while busy may be lost.
minimized() { state Iconic || { xdotool windowminimize "$code"; state Iconic; }; }
eventually minimized || fail "the code window did not minimize"
click 80 75
xdotool key ctrl+Return
eventually state Normal || fail "Generate left the code window minimized"
eventually at "$where" || fail "the code window came back elsewhere: $(place)"
eventually on_top || fail "the code window is not in front"
eventually typing_in_main || fail "the code window took the keyboard"

# 20,000 numbers into a directory the run makes ("~" is the home directory), stopped with Esc:
# no file is written later than 100 ms after the key, every file written is whole, the button
# reads "Generate and save" again instead of "Stop", and the title says how many files were
# written.
big="$work/big/new"
type_into 50 141 0
type_into 160 141 20000
type_into 280 141 "~/big/new"
xdotool key F4
started() { [ "$(ls "$big" | wc -l)" -ge 20 ]; }
eventually started || fail "F4 did not start writing into $big"
button() { import -window "$main" -crop 129x33+384+$((115 + menu)) txt:- | md5sum; }
running=$(button)
xdotool key Escape
pressed=$(date +%s%N)
title() { xdotool getwindowname "$main"; }
stopped() { title | grep -q ' — stopped after [0-9]* of 20001 files$'; }
eventually stopped || fail "the title does not say the run stopped: $(title)"
written=$(ls "$big" | wc -l)
[ "$(title | sed 's/.* stopped after \([0-9]*\) .*/\1/')" = "$written" ] ||
  fail "the title says '$(title)' but $written files were written"
last=$(find "$big" -type f -printf '%T@\n' | sort -n | tail -1)
fraction=${last#*.}000000000
late=$(((10#${last%.*} * 1000000000 + 10#${fraction:0:9} - pressed) / 1000000))
[ "$late" -lt 100 ] || fail "the batch wrote its last file $late ms after Esc"
[ "$written" -lt 20000 ] || fail "Esc did not stop the batch"
[ "$(ls "$big" | sort -V)" = "$(seq -f 'code_%g.bmp' 0 $((written - 1)))" ] || fail "the stopped batch left other files: $(ls "$big" | head)"
[ "$(find "$big" -type f ! -size 579654c | wc -l)" = 0 ] || fail "a file of the stopped batch is not whole"
"$cli" --type "Code 128B" --data $((written - 1)) --output "$work/expected.bmp"
cmp "$big/code_$((written - 1)).bmp" "$work/expected.bmp" || fail "the last file of the stopped batch is wrong"
[ "$(button)" != "$running" ] || fail "the button still reads Stop"

# Generate from list: Ctrl+L in the data field opens the file dialog, and the list's path typed
# there writes each line's datum, Code 128B as chosen above, to code_<line>.bmp in a new
# destination, each read back by zbarimg.
printf 'LIST-1\r\n\r\nLIST-3\r\nLIST-4\n' > "$work/list.txt"
type_into 280 141 "$work/list"
click 80 75
xdotool key ctrl+l
dialog=$(window '^Generate from list$') || fail "Ctrl+L in the data field opened no file dialog"
eventually focused
xdotool type "$work/list.txt"
xdotool key Return
listed() { [ "$(ls "$work/list" | tr '\n' ' ')" = "code_1.bmp code_3.bmp code_4.bmp " ]; }
idle() { [ "$(button)" != "$running" ]; }
eventually listed || fail "the list wrote $(ls "$work/list" 2>&1 | tr '\n' ' ')"
eventually idle || fail "the list's run did not end"
for n in 1 3 4; do
  decoded=$(zbarimg --quiet --raw "$work/list/code_$n.bmp" 2> /dev/null | sort -u)
  [ "$decoded" = "LIST-$n" ] || fail "zbarimg read '$decoded' in code_$n.bmp of the list"
done
rm -r "$work/list" "$work/list.txt"

# Ctrl+X outside a text field during a run hides both windows and ends the program once the file
# being written is whole and the files are synced.
rm -r "$big"
type_into 280 141 "~/big/new"
xdotool key F4
eventually started || fail "F4 did not start writing into $big again"
click 200 80
xdotool key ctrl+x
eventually gone '^Quillmark ver 2\.0' || fail "Ctrl+X left the main window on the screen"
eventually gone '^Code window$' || fail "Ctrl+X left the code window on the screen"
ended() { ! kill -0 "$app"; }
eventually ended || fail "Ctrl+X did not end the program"
ended_with=$(ls "$big" | wc -l)
[ "$ended_with" -lt 20001 ] || fail "Ctrl+X did not stop the batch"
[ "$(ls "$big" | sort -V)" = "$(seq -f 'code_%g.bmp' 0 $((ended_with - 1)))" ] || fail "the ended batch left other files: $(ls "$big" | head)"
[ "$(find "$big" -type f ! -size 579654c | wc -l)" = 0 ] || fail "a file of the ended batch is not whole"
echo "the desktop program generated, saved, exported, printed, wrote a range, restored the code window, stopped a batch ($written files, the last $late ms after Esc), wrote a list and ended during a run ($ended_with files)"
