#!/usr/bin/env bash
# Makes the Debian 11 (bullseye) root the Linux plug-in is built in, so that it
# runs on every system with glibc 2.31 or later: debootstrap from the Debian
# archive this machine's apt uses (DEB11_MIRROR overrides it), with
# bullseye's own compiler, C++ runtime, CMake and headers, cached under
# build/deb11/root. A second run with the same packages and mirror does nothing.
# Usage: tools/lin/deb11-root.sh      (DEB11_DIR overrides build/deb11)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
DIR=${DEB11_DIR:-$REPO/build/deb11}
ROOT=$DIR/root
MIRROR=${DEB11_MIRROR:-$("$HERE/apt-mirror.sh")}
# What the plug-in's build needs there: the compiler, the build tools of the
# third-party libraries, CMake and Ninja, the GL and X11 headers; libgl1 and
# Mesa's software driver let the check program load the plug-in in the root.
PACKAGES=(g++ make cmake ninja-build pkg-config dpkg-dev xz-utils bzip2 file
          libgl-dev mesa-common-dev libx11-dev libxcursor-dev libgl1 libgl1-mesa-dri)

# The root depends on what is installed there and from where.
key=$(printf '%s\n' bullseye minbase "$MIRROR" "${PACKAGES[@]}" | sha256sum | cut -d' ' -f1)
mkdir -p "$DIR"
exec 9>"$DIR/lock"
flock 9
if [ -f "$DIR/stamp" ] && [ "$(cat "$DIR/stamp")" = "$key" ] && [ -x "$ROOT/usr/bin/g++" ]; then
    echo "deb11-root: up to date in $ROOT"
    exit 0
fi
if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap >/dev/null
fi
# debootstrap mounts /proc and /sys in the root while it works; one that
# failed may have left them there: those mounts are left alone.
rm -rf --one-file-system "$ROOT" "$DIR/stamp"
start=$SECONDS
echo "deb11-root: debootstrap bullseye from $MIRROR into $ROOT (log: $DIR/debootstrap.log)"
if ! debootstrap --variant=minbase --include="$(IFS=,; echo "${PACKAGES[*]}")" \
        bullseye "$ROOT" "$MIRROR" >"$DIR/debootstrap.log" 2>&1; then
    echo "deb11-root: debootstrap FAILED; the end of $DIR/debootstrap.log:" >&2
    tail -n 20 "$DIR/debootstrap.log" >&2
    exit 1
fi
# Nothing the build needs is downloaded in the root afterwards.
rm -rf "$ROOT"/var/cache/apt/archives/*.deb
echo "$key" > "$DIR/stamp"
echo "deb11-root: made in $((SECONDS - start)) s: $(chroot "$ROOT" g++ --version | sed -n 1p), $(chroot "$ROOT" cmake --version | sed -n 1p)"
