#!/usr/bin/env bash
# CPU time the tester spends per engine line: a shell-script UCI engine answers the handshake
# and, on "go", writes N info lines (stockfish's keys) and a bestmove. Two floods: the same
# 20-move variation on every line, and a fresh random 20-move variation on every line (the
# worst case: nothing is shared from line to line).
# Runs tarnwick (and polyglot's epd-test, when installed) with each flood and without, and
# prints (CPU with flood - CPU without) / N, as the median of several runs.
# Usage: bench/flood_cost.sh [build folder] [lines] [runs]
set -euo pipefail
build=${1:-build/release}
lines=${2:-20000}
runs=${3:-5}
tarnwick=$build/tarnwick
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fen="r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -"
echo "$fen bm O-O; id \"flood\";" > "$work/s.epd"
info="info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1234567 nps 1500000 hashfull 301 tbhits 0 time 823 pv e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4 b1c3 f6e4 d4d5 b4c3 b2c3 c6e7 f1e1 e4c3 d1d3 c3d5 c4d5 e7d5"
: > "$work/none.txt"
for ((i = 0; i < lines; i++)); do echo "$info"; done > "$work/repeated.txt"
"$build/bench/tarnwick-flood-lines" "$fen" "$lines" 20 > "$work/random.txt"
for flood in none repeated random; do
    echo "bestmove e1g1" >> "$work/$flood.txt"
    cat > "$work/$flood.sh" <<SCRIPT
#!/bin/sh
while read -r cmd rest; do
  case "\$cmd" in
    uci) echo "id name flood"; echo "uciok" ;;
    isready) echo "readyok" ;;
    go) cat "$work/$flood.txt" ;;
    quit) exit 0 ;;
  esac
done
SCRIPT
    chmod +x "$work/$flood.sh"
done

# CPU seconds (user + sys) of a command's own process tree: the engine script's share differs
# between floods only by cat's, so the difference is the reader's work per line.
cpu() { /usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null | tail -1 | awk '{print $1 + $2}'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
medianCpu() {  # flood, command prefix...
    local flood=$1; shift
    for ((r = 0; r < runs; r++)); do rm -f "$work/r.epd"; cpu "$@" "$work/$flood.sh"; done | median
}

measure() {  # name, command prefix...
    local name=$1; shift
    local without flood with
    without=$(medianCpu none "$@")
    for flood in repeated random; do
        with=$(medianCpu "$flood" "$@")
        awk -v n="$name" -v f="$flood" -v a="$with" -v b="$without" -v l="$lines" \
            'BEGIN {printf "%-10s %-9s %.2f us per line (CPU %.3f s with flood, %.3f s without)\n", n, f, (a - b) * 1e6 / l, a, b}'
    done
}

measure tarnwick "$tarnwick" /u /i "$work/s.epd" /o "$work/r.epd" /t 60 /a 0
polyglot=$(command -v polyglot || echo /usr/games/polyglot)
if [ -x "$polyglot" ]; then
    measure polyglot "$polyglot" epd-test -noini -epd "$work/s.epd" -max-time 60 -ec
fi
