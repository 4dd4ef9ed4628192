# Sourced by the scripts: installs with apt-get what a build needs, when it is missing and we are root.
# Usage: ensure_packages pkg...
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]} (run as root to install them with apt-get)" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null || true
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev)
# Real engines the end-to-end tests run; the tests skip an engine that is missing.
TEST_ENGINE_PACKAGES=(stockfish gnuchess fairymax phalanx sjeng hoichess polyglot)
# Tools the end-to-end tests drive: the cluster recipes (GNU parallel, a one-node Slurm), the
# chart's rendering (and libpng to read its picture), the package checks, tab completion and a
# PGN reader for the games; a test skips when its tool is missing.
TEST_TOOL_PACKAGES=(parallel rsync slurm-wlm munge chromium libpng-dev lintian bash-completion
    dpkg-dev file man-db unzip pgn-extract)
# What scripts/package needs beyond a build: CPack's Debian dependency scan and lintian.
PACKAGING_PACKAGES=(dpkg-dev file lintian)
# The fuzz targets are built with clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The Windows cross build and Wine to run it.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64)

# ccache keeps what each build compiled, so the next build of the same code, another clone of it
# included, takes seconds instead of minutes. It is a help, not a need: without it (not root,
# nothing installed) the builds run as they are. CMake takes the launcher from the environment on
# a build folder's first configuration; paths below the checkout are hashed as relative ones, and
# the precompiled test header is cached too.
use_compiler_cache() {
    ensure_packages ccache >/dev/null 2>&1 || true
    command -v ccache >/dev/null 2>&1 || return 0
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR=true
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
}
