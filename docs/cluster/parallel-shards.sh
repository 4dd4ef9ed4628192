#!/bin/bash
# Tests a suite in shards with GNU parallel, on this machine or on several ssh hosts, then
# reports on the whole suite.
#
# Usage: parallel-shards.sh TARNWICK SUITE SHARDS OUTDIR [tarnwick options] ENGINE [ARGS...]
#   e.g. parallel-shards.sh ./tarnwick wac.epd 8 out /u /t 5 /usr/games/stockfish
#
# Environment:
#   HOSTS   ssh logins for parallel -S, comma-separated (":" is this machine). Unset: this
#           machine only.
#   SHARED  1 when TARNWICK, SUITE and OUTDIR lie in folders every host sees at the same
#           paths (NFS); otherwise each job copies the suite and its result file to a scratch
#           folder on its host and brings the result back (rsync on both sides), and
#           TARNWICK and the engine must be installed at the same paths on every host.
#   JOBS    engines at once on each host (parallel -j). Default: one per core; make it
#           cores / engine threads for engines that search with several threads.
#
# Shard K writes OUTDIR/part-K.epd (its output in OUTDIR/part-K.log); OUTDIR/merged.epd is
# their concatenation, which the final report reads. Running the script again resumes every
# shard where it stopped.
set -euo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 TARNWICK SUITE SHARDS OUTDIR [tarnwick options] ENGINE [ARGS...]" >&2
    exit 2
fi
tarnwick=$1 suite=$2 shards=$3 out=$4
shift 4
engine=("$@")

mkdir -p "$out"
# Absolute paths: the jobs may run in another folder, or on another host.
out=$(cd "$out" && pwd)
suite="$(cd "$(dirname "$suite")" && pwd)/$(basename "$suite")"
if [[ $tarnwick == */* ]]; then
    tarnwick="$(cd "$(dirname "$tarnwick")" && pwd)/$(basename "$tarnwick")"
fi

# An empty result file for every shard, so that a copy to another host always has one to
# resume from.
shard_numbers=$(seq 0 $((shards - 1)))
for k in $shard_numbers; do
    [ -e "$out/part-$k.epd" ] || : >"$out/part-$k.epd"
done

# A failed shard stops the others soon; its result file keeps what it finished.
options=(--halt "soon,fail=1" --results "$out/part-{}.log")
[ -n "${JOBS:-}" ] && options+=(-j "$JOBS")
if [ -z "${HOSTS:-}" ] || [ "${SHARED:-0}" = 1 ]; then
    # Every job reads and writes the paths as they are here.
    [ -n "${HOSTS:-}" ] && options+=(-S "$HOSTS" --workdir "$out")
    # shellcheck disable=SC2086  # the shard numbers are words
    parallel "${options[@]}" -q \
        "$tarnwick" --shard "{}/$shards" /i "$suite" /o "$out/part-{}.epd" "${engine[@]}" \
        ::: $shard_numbers
else
    # Each job runs in a scratch folder of its host (removed afterwards); the suite and the
    # result file go there under their own names and the result comes back (/./ marks
    # where the path below the scratch folder starts).
    options+=(-S "$HOSTS" --workdir ... --cleanup
        --transferfile "$(dirname "$suite")/./$(basename "$suite")"
        --transferfile "$out/./part-{}.epd" --return "$out/./part-{}.epd")
    # shellcheck disable=SC2086
    parallel "${options[@]}" -q \
        "$tarnwick" --shard "{}/$shards" /i "$(basename "$suite")" /o "part-{}.epd" \
        "${engine[@]}" ::: $shard_numbers
fi

# A job that never started prints nothing, and parallel may still count it a success (a
# host without SHELL in its login environment, for one): say so rather than report on half
# a suite.
missing=0
for k in $shard_numbers; do
    if [ ! -s "$out/part-$k.log" ]; then
        echo "$0: shard $k printed nothing, so it never started (a host whose ssh" \
            "sessions have no SHELL is one cause)" >&2
        missing=1
    fi
done
[ $missing = 0 ] || exit 1

# The time per position the shards were given, so that the report counts a wrong answer as
# that time: the first /t, -t or --time among the options.
time=()
for ((i = 0; i < ${#engine[@]}; i++)); do
    case ${engine[i]} in
        /t | -t | --time) time=(/t "${engine[i + 1]:-}") ;;
        --time=*) time=(/t "${engine[i]#--time=}") ;;
        --) break ;;
        *) continue ;;
    esac
    break
done

# Every shard has finished: the whole suite's report, its positions in suite order.
for k in $shard_numbers; do cat "$out/part-$k.epd"; done >"$out/merged.epd"
"$tarnwick" /i "$suite" /o "$out/merged.epd" "${time[@]}"
