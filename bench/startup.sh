#!/bin/bash
# Start-up of korbi-programmer against a bare Qt window (bench/bare_window.cpp), each started RUNS
# times by turns after one warm-up start that installs the data folder; startup-bench gives the
# medians of wall time and CPU time (user and system) per start, the largest resident memory and
# their ratios. Run by hand, in a build configured with -DKORBI_BENCH=ON (or with BARE and
# PROGRAM naming the two programs):
#   bench/startup.sh [BUILD_DIR] [RUNS]
# The platform is QT_QPA_PLATFORM's, offscreen when it is not set; with DISPLAY naming an X
# server that runs a window manager, QT_QPA_PLATFORM=xcb measures the start a user sees.
set -eu
build=${1:-build}
runs=${2:-40}
program=${PROGRAM:-$build/app/korbi-programmer}
bare=${BARE:-$build/bench/bare-window}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bench/startup-bench" --runs="$runs" -- "$bare" -- "$program" --exit-after-start
