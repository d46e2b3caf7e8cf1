#!/usr/bin/env bash
# Builds the released Linux plug-in in the Debian 11 root (tools/lin/
# deb11-root.sh): its third-party libraries there (tools/lin/build-deps.sh with
# DEB11_ROOT), then lin/ with Debian 11's CMake, compiler and C++ runtime, and
# the libc-only loading program of tests/lin, built there too. The sources are
# copied into the root at fixed paths, so a build does not depend on where the
# repository lies. Leaves build/deb11/root/vxr/build/lin_x64/vxr_pop.xpl (with
# its debug information) and .../xpl_load_check.
# Usage: tools/lin/deb11-build.sh [--clean]   (--clean: from an empty build folder)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
DIR=${DEB11_DIR:-$REPO/build/deb11}
ROOT=$DIR/root
JOBS=${JOBS:-2}

"$HERE/deb11-root.sh"
DEB11_ROOT=$ROOT JOBS=$JOBS "$HERE/build-deps.sh"

in_root() {
    chroot "$ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C "$@"
}

src=$ROOT/vxr/src
rm -rf "$src"
mkdir -p "$src/tests"
cp -a "$REPO/cmake" "$REPO/sdk" "$REPO/acfutils" "$REPO/plugin" "$REPO/lin" "$src/"
cp -a "$REPO/tests/lin" "$REPO/tests/support" "$src/tests/"
[ "${1:-}" = --clean ] && rm -rf "$ROOT/vxr/build"

# The banner's date is the commit's, in UTC, as the compiler's date macros print it.
date=$(cd "$REPO" && LC_ALL=C TZ=UTC git log -1 --format=%cd --date=format-local:'%b %e %Y %H:%M:%S')
in_root cmake -S /vxr/src/lin -B /vxr/build -G Ninja -DVXR_LIN_DEPS_DIR=/vxr/deps \
    "-DVXR_SOURCE_DATE=$date" >/dev/null
in_root cmake --build /vxr/build -j"$JOBS"
echo "deb11-build: $ROOT/vxr/build/lin_x64/vxr_pop.xpl"
