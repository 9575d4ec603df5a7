#!/bin/bash
# Start-up of korbi-programmer against a bare Qt window (bench/bare_window.cpp): wall time of
# RUNS starts each (after one warm-up start that installs the data folder) and the largest
# resident memory, from /usr/bin/time -v. Run by hand, in a build configured with
# -DKORBI_BENCH=ON (or with BARE and PROGRAM naming the two programs):
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-20}
program=${PROGRAM:-$build/app/korbi-programmer}
bare=${BARE:-$build/bench/bare-window}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

measure() {  # name command...: mean milliseconds per start and the largest RSS in kB
    local name=$1
    shift
    "$@" >/dev/null 2>&1
    local start end rss=0 r
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    for ((i = 0; i < 5; i++)); do
        /usr/bin/time -v -o "$home/time.txt" "$@" >/dev/null 2>&1
        r=$(awk '/Maximum resident set size/ {print $6}' "$home/time.txt")
        ((r > rss)) && rss=$r
    done
    printf '%-18s %6.1f ms  %7d kB\n' "$name" "$(echo "($end - $start) / $runs / 1000000" | bc -l)" "$rss"
}

measure bare-window "$bare"
measure korbi-programmer "$program" --exit-after-start
