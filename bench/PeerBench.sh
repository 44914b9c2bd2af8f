#!/usr/bin/env bash
# quillmark-cli side by side with zint, the command-line generator users would pick instead, in
# one hyperfine run per case on tmpfs: one label per call as PNG and as SVG, and a batch of 2,000
# numbered PNG files. Prints each median, the processor time (user + system) and the ratio
# Quillmark / zint, with the machine's load before and after. Skips when zint or hyperfine is
# missing.
# Usage: PeerBench.sh QUILLMARK_CLI [RUNS]
set -euo pipefail

cli=$(realpath "$1")
runs=${2:-100}
for tool in zint hyperfine; do
  if ! command -v "$tool" > /dev/null; then
    echo "PeerBench: $tool is not installed; skipped"
    exit 0
  fi
done

# On tmpfs, so that the disk does not decide: /dev/shm where it is one.
parent=/tmp
[ "$(stat -f -c %T /dev/shm 2> /dev/null)" = tmpfs ] && parent=/dev/shm
work=$(mktemp -d "$parent/quillmark-peer-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# Runs the two commands in one hyperfine run and prints the medians, the processor time of each
# run and the ratios. Extra hyperfine options come first.
compare() {
  local title=$1 files=$2 zint=$3 quillmark=$4
  shift 4
  hyperfine -N --style none --export-csv "$work/times.csv" "$@" -n zint "$zint" \
    -n quillmark "$quillmark" > /dev/null
  # command,mean,stddev,median,user,system,min,max
  awk -F, -v title="$title" -v files="$files" '
    NR > 1 { median[$1] = $4; cpu[$1] = $5 + $6 }
    END {
      printf "%s\n", title
      for (tool in median) {
        printf "  %-9s median %8.3f ms, cpu %8.3f ms", tool, median[tool] * 1000, cpu[tool] * 1000
        if (files > 1) printf " (%.3f ms a file)", cpu[tool] * 1000 / files
        printf "\n"
      }
      printf "  ratio     median %.2f, cpu %.2f (quillmark / zint; at most 1 is the goal)\n",
        median["quillmark"] / median["zint"], cpu["quillmark"] / cpu["zint"]
    }' "$work/times.csv"
}

compare "One EAN-13 with its text line as PNG per call" 1 \
  "zint -b EANX -d 123456789012 -o $work/z.png" \
  "$cli --data 123456789012 --single --output $work/q.png" \
  --warmup 10 --runs "$runs"

compare "One Code 128 \"Hello World\" as SVG per call" 1 \
  "zint -b CODE128 -d 'Hello World' -o $work/z.svg" \
  "$cli --type 'Code 128' --data 'Hello World' --single --output $work/q.svg" \
  --warmup 10 --runs "$runs"

# The same 2,000 numbers: zint reads them from a file, zero-padded to the 12 digits that make its
# EANX an EAN-13 (Quillmark pads a shorter number itself), Quillmark counts them; one copy each,
# with its text line, each batch into an empty directory.
seq -f '%012g' 100000 101999 > numbers.txt
compare "2,000 numbered EAN-13 files as PNG" 2000 \
  "zint -b EANX --batch -i $work/numbers.txt -o $work/z/~~~~.png" \
  "$cli --type 'Code EAN13' --single --format png --from 100000 --to 101999 --dir $work/q" \
  --warmup 1 --runs 10 --prepare "sh -c 'rm -rf $work/z $work/q; mkdir $work/z'"

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
