#!/usr/bin/env bash
# End-to-end checks of the packages, registered with ctest (exit 77: skipped).
#   package_test.sh deb BUILD_DIR VERSION   packages that build with cpack, installs the .deb,
#                                           runs what it installed from another folder, removes it
#   package_test.sh zip ZIP_FILE VERSION     unzips the Windows zip and runs it under Wine
set -euo pipefail
kind=$1 target=$2 version=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

skip() {
    echo "Skipped: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    exit 1
}

work=$(mktemp -d)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

# A run of one position the bundled engine solves at once, a mate in one.
grep -m1 -v '^;' "$root/examples/sample.epd" >"$work/one.epd"
check_run() {
    local output=$1
    grep -Eq '^Number with full score: +1$' <<<"$output" ||
        fail "the one-position run did not solve its position:"$'\n'"$output"
}

case $kind in
deb)
    [ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
    for tool in dpkg dpkg-deb dpkg-shlibdeps cpack man; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    # Never replace, and then remove, a tarnwick that someone installed.
    if dpkg-query -W -f='${Status}' tarnwick 2>/dev/null | grep -q "ok installed"; then
        skip "a tarnwick package is installed already"
    fi
    (cd "$target" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
        fail "cpack did not make the package: $(cat "$work/cpack.log")"
    deb=$work/package/tarnwick_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "cpack made no $(basename "$deb"): $(ls "$work/package")"

    dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
    trap 'dpkg -r tarnwick >/dev/null 2>&1; cleanup' EXIT
    cd "$work"
    # A user's PATH has /usr/games; root's does not.
    tarnwick=$(PATH=/usr/games:$PATH command -v tarnwick) || fail "tarnwick is not on the PATH"
    "$tarnwick" --version | grep -q "^Tarnwick ${version%.*}" || fail "tarnwick --version: $("$tarnwick" --version)"
    page=$(man -w tarnwick) || fail "man -w tarnwick found no page"
    [ "$page" = /usr/share/man/man1/tarnwick.1.gz ] || fail "the man page is at $page"
    docs=/usr/share/doc/tarnwick
    for file in copyright changelog.gz README.md examples/sample.epd examples/engines/stockfish.eng; do
        [ -f "$docs/$file" ] || fail "$docs/$file is not installed"
    done
    [ -f /usr/share/bash-completion/completions/tarnwick ] || fail "the bash completion is not installed"
    engine=/usr/libexec/tarnwick/tarnwick-testengine
    [ -x "$engine" ] || fail "the bundled engine is not installed at $engine"
    grep -m1 -v '^;' "$docs/examples/sample.epd" >"$work/one.epd"
    output=$("$tarnwick" /u /t 1 /a 0 /i one.epd "$engine" --search 2>&1) ||
        fail "the run exited with $?:"$'\n'"$output"
    check_run "$output"

    dpkg -r tarnwick >"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$work/dpkg.log")"
    trap cleanup EXIT
    [ ! -e "$tarnwick" ] || fail "$tarnwick is left after the package was removed"
    echo "The .deb installs, runs from $work and removes cleanly."
    ;;
zip)
    [ -f "$target" ] || skip "$target has not been built (scripts/package builds it)"
    wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
    [ -x "$wine" ] || skip "Wine is not installed"
    command -v unzip >/dev/null || skip "unzip is not installed"
    unzip -q "$target" -d "$work"
    folder=$(ls -d "$work"/tarnwick-*-win64)
    for file in tarnwick.exe tarnwick-testengine.exe README.txt examples/sample.epd; do
        [ -f "$folder/$file" ] || fail "the zip has no $file"
    done
    # The prefix the Windows tests made, when there is one: making a new one takes long.
    prefix=$root/build/win/wineprefix
    [ -d "$prefix" ] || prefix=$(dirname "$target")/wineprefix
    export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$prefix}
    cp "$work/one.epd" "$folder/one.epd"
    cd "$folder"
    "$wine" tarnwick.exe --version >/dev/null 2>&1 || skip "Wine cannot start programs here"
    output=$("$wine" tarnwick.exe /u /t 1 /a 0 /i one.epd tarnwick-testengine.exe --search 2>&1 |
        tr -d '\r') || fail "the run under Wine failed:"$'\n'"$output"
    check_run "$output"
    echo "The zip's tarnwick.exe solves a position under Wine."
    ;;
*)
    fail "unknown check $kind"
    ;;
esac
