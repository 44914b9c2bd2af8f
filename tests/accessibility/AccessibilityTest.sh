#!/usr/bin/env bash
# The desktop program read by a screen reader's library: on a display of its own under openbox,
# with a private D-Bus session and accessibility bus, ScreenReader.py (pyatspi) reads every
# control and works the program through AT-SPI.
#
#   AccessibilityTest.sh QUILLMARK
set -euo pipefail

quillmark=$1
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb openbox xdotool xprop dbus-run-session "$launcher"; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed; scripts/bootstrap installs it"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2> /dev/null ||
  { echo "pyatspi is not installed; scripts/bootstrap installs python3-pyatspi"; exit 1; }

# A session bus of our own, which ends with the test: the accessibility bus launcher registers
# on it, and the program and the reader find the accessibility bus through it.
if [ -z "${QUILLMARK_PRIVATE_SESSION:-}" ]; then
  QUILLMARK_PRIVATE_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
# Polls a command for 30 s at most.
eventually() {
  for _ in $(seq 600); do "$@" 2> /dev/null && return 0; sleep 0.05; done
  return 1
}
eventually test -s "$work/display" || { echo "FAIL: Xvfb took no display"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox > /dev/null 2>&1 &
pids+=($!)
eventually xprop -root _NET_SUPPORTING_WM_CHECK > /dev/null || { echo "FAIL: openbox did not start"; exit 1; }

"$launcher" --launch-immediately > /dev/null 2>&1 &
pids+=($!)
# Qt talks AT-SPI only while a screen reader is said to run; nothing GTK-based joins the bus.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=1
# The program must use this display, even when the caller asked Qt for the offscreen platform.
unset QT_QPA_PLATFORM
export HOME="$work" XDG_RUNTIME_DIR="$work"
/usr/bin/python3 "$here/ScreenReader.py" "$quillmark" "$work"
