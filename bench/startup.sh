#!/bin/bash
# Start-up of korbi-programmer against a bare Qt window (bench/bare_window.cpp): wall time and
# CPU time (user and system) of RUNS starts each (after one warm-up start that installs the data
# folder) and the largest resident memory, from /usr/bin/time -v. On a busy machine the wall
# time includes waiting for other processes; the CPU time stays close to what a start costs.
# Run by hand, in a build configured with -DKORBI_BENCH=ON (or with BARE and PROGRAM naming the
# two programs):
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-20}
program=${PROGRAM:-$build/app/korbi-programmer}
bare=${BARE:-$build/bench/bare-window}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# The CPU seconds, user and system together, that the ended children of this shell have used.
# times runs in this shell: in a command substitution it would see only the subshell's children.
children_cpu() {
    times >"$home/times.txt"
    awk 'NR == 2 { split($1, u, "m"); split($2, s, "m")
                   printf "%.3f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$home/times.txt"
}

measure() {  # name command...: mean milliseconds per start, wall and CPU, and the largest RSS
    local name=$1
    shift
    "$@" >/dev/null 2>&1
    local start end cpu0 cpu1 rss=0 r
    children_cpu >"$home/cpu0"
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    children_cpu >"$home/cpu1"
    cpu0=$(cat "$home/cpu0")
    cpu1=$(cat "$home/cpu1")
    for ((i = 0; i < 5; i++)); do
        /usr/bin/time -v -o "$home/time.txt" "$@" >/dev/null 2>&1
        r=$(awk '/Maximum resident set size/ {print $6}' "$home/time.txt")
        ((r > rss)) && rss=$r
    done
    printf '%-18s %6.1f ms  %6.1f ms CPU  %7d kB\n' "$name" \
        "$(echo "($end - $start) / $runs / 1000000" | bc -l)" \
        "$(echo "($cpu1 - $cpu0) * 1000 / $runs" | bc -l)" "$rss"
}

measure bare-window "$bare"
measure korbi-programmer "$program" --exit-after-start
