#!/usr/bin/env bash
# CPU time the tester spends per engine line: a shell-script UCI engine answers the handshake
# and, on "go", writes N info lines (20-move variations, stockfish's keys) and a bestmove.
# Runs tarnwick (and polyglot's epd-test, when installed) with and without the flood and prints
# (CPU with flood - CPU without) / N, as the median of several runs.
# Usage: bench/flood_cost.sh [tarnwick binary] [lines] [runs]
set -euo pipefail
tarnwick=${1:-build/release/tarnwick}
lines=${2:-20000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

info="info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1234567 nps 1500000 hashfull 301 tbhits 0 time 823 pv e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4 b1c3 f6e4 d4d5 b4c3 b2c3 c6e7 f1e1 e4c3 d1d3 c3d5 c4d5 e7d5"
for count in 0 "$lines"; do
    { for ((i = 0; i < count; i++)); do echo "$info"; done; echo "bestmove e1g1"; } > "$work/flood$count.txt"
    cat > "$work/engine$count.sh" <<SCRIPT
#!/bin/sh
while read -r cmd rest; do
  case "\$cmd" in
    uci) echo "id name flood"; echo "uciok" ;;
    isready) echo "readyok" ;;
    go) cat "$work/flood$count.txt" ;;
    quit) exit 0 ;;
  esac
done
SCRIPT
    chmod +x "$work/engine$count.sh"
done
echo 'r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - bm O-O; id "flood";' > "$work/s.epd"

# CPU seconds (user + sys) of a command's own process tree, minus nothing: the engine script's
# share is the same with both floods' cat, so the difference is the reader's work per line.
cpu() { /usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null | tail -1 | awk '{print $1 + $2}'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

measure() {  # name, command prefix...
    local name=$1; shift
    local with without
    with=$(for ((r = 0; r < runs; r++)); do rm -f "$work/r.epd"; cpu "$@" "$work/engine$lines.sh"; done | median)
    without=$(for ((r = 0; r < runs; r++)); do rm -f "$work/r.epd"; cpu "$@" "$work/engine0.sh"; done | median)
    awk -v n="$name" -v a="$with" -v b="$without" -v l="$lines" \
        'BEGIN {printf "%-10s %.2f us per line (CPU %.3f s with flood, %.3f s without)\n", n, (a - b) * 1e6 / l, a, b}'
}

measure tarnwick "$tarnwick" /u /i "$work/s.epd" /o "$work/r.epd" /t 60 /a 0
polyglot=$(command -v polyglot || echo /usr/games/polyglot)
if [ -x "$polyglot" ]; then
    measure polyglot "$polyglot" epd-test -noini -epd "$work/s.epd" -max-time 60 -ec
fi
