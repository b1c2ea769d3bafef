#!/usr/bin/env bash
# Measures launch-to-splash time and peak resident memory at the main menu, median of 5 runs,
# for the program and for a bare Qt window (the floor), under Xvfb.
# Usage: build/bench/run-startup-bench.sh   (from a Release build directory's parent or anywhere)
set -euo pipefail
build=$(cd "$(dirname "$0")/.." && pwd)
program="$build/app/pimlotan"
floor="$build/bench/startup/bench-floor-window"
runs=${RUNS:-5}
display=:${BENCH_DISPLAY:-93}

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy

# A prepared user: settings copied and a data file remembered, so no question is asked.
home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/Documents/pimlotan"
cp "$build/app/Ini/"*.ini "$home/Documents/pimlotan/"
deck="$build/app/sample/sample.pml"
printf '"%s"\r\n' "$deck" > "$home/Documents/pimlotan/PML010.ini"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() { # program -> lines "splash_ms rss_kib"
  for _ in $(seq "$runs"); do
    out=$(HOME="$home" XDG_DOCUMENTS_DIR="$home/Documents" PIMLOTAN_PROBE_T0=$(date +%s%N) \
          timeout 30 "$@" 2>/dev/null || true)
    splash=$(sed -n 's/^splash_ms=//p' <<<"$out")
    rss=$(sed -n 's/^peak_rss_kib=//p' <<<"$out")
    echo "${splash:-nan} ${rss:-nan}"
  done
}

report() { # name, results
  local splash rss
  splash=$(cut -d' ' -f1 <<<"$2" | median)
  rss=$(cut -d' ' -f2 <<<"$2" | median)
  printf '%-22s launch-to-splash %7s ms   peak RSS %7s KiB\n' "$1" "$splash" "$rss"
}

floor_results=$(measure "$floor")
program_results=$(measure "$program")
report "bare Qt window" "$floor_results"
report "pimlotan" "$program_results"
