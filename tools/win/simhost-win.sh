#!/usr/bin/env bash
# Runs the Windows stand-in (simhost.exe beside XPLM_64.dll) under Wine on a
# virtual X display, with the arguments simhost takes. Linux paths work: the
# program starts in the caller's folder, which Wine sees on its Z: drive.
# Environment: SIMHOST_WIN_BIN (default <repo>/build/bin-win), WINEPREFIX
# (default <repo>/build/wine-prefix), WINE (default /usr/lib/wine/wine64).
# Exits with simhost's own code: 0, 1 (an expectation failed), 2 (bad input).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BIN=${SIMHOST_WIN_BIN:-$ROOT/build/bin-win}
WINE=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine-prefix}
export WINEDEBUG=-all
# Wine reads the arguments and the Linux file names in the locale's character
# set: UTF-8, so that a folder named in any script reaches the program intact.
export LC_ALL=C.UTF-8
# Mesa runs on the Linux side of Wine and reads these before the context is
# made: llvmpipe on the calling thread only and no shader-cache thread, so the
# process's threads are the plug-in's and Wine's own.
export LP_NUM_THREADS=${LP_NUM_THREADS:-0}
export MESA_SHADER_CACHE_DISABLE=${MESA_SHADER_CACHE_DISABLE:-true}

missing=()
[ -x "$WINE" ] || missing+=(wine64)
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xauth >/dev/null || missing+=(xauth)
if [ ${#missing[@]} -ne 0 ]; then
    echo "simhost-win: installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null || true
    apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ ! -f "$BIN/simhost.exe" ] || [ ! -f "$BIN/XPLM_64.dll" ]; then
    echo "simhost-win: no simhost.exe and XPLM_64.dll in $BIN (run ./x build-win)" >&2
    exit 2
fi
mkdir -p "$WINEPREFIX"

# Inside the virtual display: the program, then the prefix's wineserver is
# ended, so the next run starts its Wine processes on its own display.
# shellcheck disable=SC2016
exec xvfb-run -a -s "-screen 0 6400x2400x24" bash -c '
    "$1" "$2" "${@:4}"
    rc=$?
    "$3" -k 2>/dev/null || true
    exit $rc' wine-run "$WINE" "$BIN/simhost.exe" "$(dirname "$WINE")/wineserver" "$@"
