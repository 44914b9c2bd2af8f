#!/usr/bin/env bash
# The desktop program in a real window on its own X display, used as a person uses it: both
# windows appear, new data goes into the data field, Generate draws it, Save writes it and says
# where. The file must hold the bytes quillmark-cli writes for the same data, and a reader must
# decode it: twelve digits, to which EAN-13 adds its check digit 7.
# Usage: DesktopProgram.sh QUILLMARK QUILLMARK_CLI
set -euo pipefail

quillmark=$1
cli=$2
for tool in Xvfb xdotool zbarimg; do
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
pids+=($!)

# Prints the window whose whole title matches, once it is shown.
window() {
  timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1
}
main=$(window '^Quillmark ver 2\.0') || fail "the main window did not appear"
window '^Code window$' > /dev/null || fail "the code window did not appear"

# Client positions of the main window: the data field, Generate, Save.
click() {
  xdotool mousemove --window "$main" "$1" "$2" click 1
}
click 80 75
xdotool key ctrl+a type 590123412345
click 200 80
click 477 75
window '^Quillmark$' > /dev/null || fail "Save did not confirm"
xdotool key Return

"$cli" --data 590123412345 --output "$work/expected.bmp"
cmp "$work/output.bmp" "$work/expected.bmp" || fail "Save wrote other bytes than quillmark-cli"
decoded=$(zbarimg --quiet --raw "$work/output.bmp" 2> /dev/null | sort -u)
[ "$decoded" = "5901234123457" ] || fail "zbarimg read '$decoded'"
echo "the desktop program generated and saved 5901234123457"
