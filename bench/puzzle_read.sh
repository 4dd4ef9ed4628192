#!/usr/bin/env bash
# Time and peak memory of picking puzzles out of a large puzzle table: writes a table of random
# but valid puzzles (random legal games cut into stretches), then reads it with the reader a run
# uses, filtered by rating and theme, which keeps about one row in 400 (10,000 of 4 million).
# Prints the median wall time and peak resident memory of several readings.
# Usage: bench/puzzle_read.sh [build folder] [rows] [runs]
set -euo pipefail
build=${1:-build/release}
rows=${2:-4000000}
runs=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

table=$work/puzzles.csv
start=$(date +%s.%N)
"$build/bench/tarnwick-puzzle-table" "$rows" > "$table"
awk -v s="$start" -v e="$(date +%s.%N)" -v r="$rows" -v b="$(stat -c %s "$table")" \
    'BEGIN {printf "table: %d rows, %.0f MB, written in %.1f s\n", r, b / 1e6, e - s}'

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
measure() {  # name, reader arguments...
    local name=$1; shift
    local times=() memory=() kept
    for ((r = 0; r < runs; r++)); do
        /usr/bin/time -f "%e %M" -o "$work/time" "$build/bench/tarnwick-puzzle-read" "$table" "$@" \
            > "$work/out"
        kept=$(sed -n 's/^kept //p' "$work/out")
        read -r seconds kilobytes < "$work/time"
        times+=("$seconds")
        memory+=("$kilobytes")
    done
    printf '%-28s kept %6s  %6.2f s  %6.1f MB peak (median of %d)\n' "$name" "$kept" \
        "$(printf '%s\n' "${times[@]}" | median)" \
        "$(printf '%s\n' "${memory[@]}" | median | awk '{print $1 / 1024}')" "$runs"
}

measure "--rating 1500-1799 --theme mateIn2" 1500-1799 mateIn2
measure "... --limit 10000" 1500-1799 mateIn2 10000
measure "--limit 10000 alone" - "" 10000
