#!/usr/bin/env bash
# Start-up time of the desktop program, from launch until the code window is shown with the
# default code drawn, against a bare Qt window with a menu bar and a button reaching the screen,
# both on one Xvfb display, in alternating rounds. Prints the medians and their ratio.
# Usage: StartupTime.sh QUILLMARK BARE_WINDOW [ROUNDS]
set -euo pipefail

quillmark=$1
bare=$2
rounds=${3:-15}

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# -noreset: the server does not reset when its last client leaves, which would refuse the next
# program that connects meanwhile.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export HOME="$work"

now() { date +%s%N; }

# Milliseconds since start once a window of the title is viewable, and the window; fails after
# 20 s. Polls every 5 ms, so that the polling does not take a core from the program on a small
# machine.
await() {
  local window
  until window=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1) &&
    [ -n "$window" ]; do
    if [ $(($(now) - $2)) -gt 20000000000 ]; then
      echo "no window '$1' within 20 s" >&2
      exit 1
    fi
    sleep 0.005
  done
  echo $((($(now) - $2) / 1000000)) "$window"
}

# Launches a program and prints the milliseconds until each window is viewable (titles: regular
# expressions without spaces, separated by one), the last window and the program's process.
launch() {
  local titles=$1
  shift
  local start ms window times=""
  start=$(now)
  "$@" > /dev/null 2>&1 &
  local pid=$!
  for title in $titles; do
    read -r ms window < <(await "$title" "$start")
    times+="$ms "
  done
  echo "$times$window $pid"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

for _ in $(seq "$rounds"); do
  read -r main ms window pid < <(launch '^Quillmark ^Code' "$quillmark")
  echo "$main" >> "$work/main"
  # The default code must be there: the first bar's column is black.
  pixel=$(import -window "$window" -crop 1x1+6+50 txt:- | tail -1)
  case "$pixel" in *"#000000"*) ;; *) echo "the code window showed no code: $pixel"; exit 1 ;; esac
  echo "$ms" >> "$work/quillmark"
  kill "$pid"
  wait "$pid" 2> /dev/null || true

  read -r ms window pid < <(launch '^Bare' "$bare")
  echo "$ms" >> "$work/bare"
  kill "$pid"
  wait "$pid" 2> /dev/null || true
done

q=$(median < "$work/quillmark")
m=$(median < "$work/main")
b=$(median < "$work/bare")
echo "start-up, median of $rounds: quillmark ${q} ms (its main window ${m} ms)," \
  "bare Qt window ${b} ms, ratio $(awk -v q="$q" -v b="$b" 'BEGIN { printf "%.2f", q / b }')"
