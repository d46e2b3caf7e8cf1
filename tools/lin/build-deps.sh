#!/usr/bin/env bash
# Builds the third-party libraries of the Linux plug-in (zlib, libpng, pixman,
# cairo, GLEW) as position-independent static libraries from Debian's source
# packages, into a prefix cached under build/lin-deps/, so that vxr_pop.xpl
# carries them inside and needs none of them from the user's system. A second
# run with the same inputs does nothing. The details go to build/lin-deps/build.log.
# With DEB11_ROOT (tools/lin/deb11-root.sh's root), the same libraries are built
# inside that root with Debian 11's compiler, into DEB11_ROOT/vxr/deps, from the
# sources fetched here: the released plug-in's, for glibc 2.31 and later.
# Usage: tools/lin/build-deps.sh        (LIN_DEPS_DIR overrides build/lin-deps)
#        DEB11_ROOT=DIR tools/lin/build-deps.sh
#        tools/lin/build-deps.sh --steps  (inside the root: the build steps alone)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../deps/deb-deps.sh"

# Where the root sees its copy of tools/ and its libraries' folder.
ROOT_VXR=/vxr
if [ -n "${DEB11_ROOT:-}" ]; then
    LABEL=deb11-deps
    DEPS=$DEB11_ROOT$ROOT_VXR/deps
else
    LABEL=lin-deps
    DEPS=${LIN_DEPS_DIR:-$DEPS_ROOT/build/lin-deps}
fi
PREFIX=$DEPS/prefix

TOOL_PACKAGES=(gcc make pkg-config dpkg-dev xz-utils bzip2)
SOURCE_PACKAGES=(zlib libpng1.6 pixman cairo glew)
BUILD_STEPS=(zlib libpng pixman cairo glew)
LIBRARIES=(libz.a libpng16.a libpixman-1.a libcairo.a libGLEW.a)
CONFIGURE_TARGET=(--with-pic)
ZLIB_CHOST=

in_root() {
    chroot "$DEB11_ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C \
        JOBS="$JOBS" "$@"
}

# First lines by sed, which reads to the end: head would end the tool with
# SIGPIPE now and then, and pipefail would fail the whole build for it.
deps_key_extra() {
    if [ -n "${DEB11_ROOT:-}" ]; then
        in_root gcc --version | sed -n 1p
        in_root ld --version | sed -n 1p
    else
        gcc --version | sed -n 1p
        ld --version | sed -n 1p
    fi
}

# The fetched sources lie in the root already ($DEPS is inside it); the steps
# run there on a fresh copy of these scripts.
build_in_root() {
    rm -rf "$DEB11_ROOT$ROOT_VXR/tools"
    mkdir -p "$DEB11_ROOT$ROOT_VXR/tools"
    cp -a "$DEPS_ROOT/tools/deps" "$DEPS_ROOT/tools/lin" "$DEPS_ROOT/tools/win" "$DEB11_ROOT$ROOT_VXR/tools/"
    in_root LIN_DEPS_DIR=$ROOT_VXR/deps /bin/bash -e $ROOT_VXR/tools/lin/build-deps.sh --steps
}

# Sections per function let the plug-in's link drop what it never calls.
deps_env() {
    export CC=gcc AR=ar RANLIB=ranlib
    # Only the prefix's .pc files are seen: never the machine's own ones.
    export PKG_CONFIG=pkg-config PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
    export CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib"
    export CFLAGS="-O2 -fPIC -fvisibility=hidden -ffunction-sections -fdata-sections"
}

# No GL surfaces either: the plug-in uploads cairo's pixels itself.
build_cairo() {
    configure_cairo --disable-xlib-xrender --disable-egl --disable-glx --disable-gl
    install_cairo
}

# GLEW as Debian builds it for Linux: entry points through glXGetProcAddressARB.
build_glew() {
    (cd "$WORK/glew" &&
        "$CC" $CFLAGS -DGLEW_STATIC -DGLEW_NO_GLU -Iinclude -c src/glew.c -o glew.o &&
        "$AR" rcs "$PREFIX/lib/libGLEW.a" glew.o &&
        mkdir -p "$PREFIX/include/GL" &&
        cp include/GL/glew.h include/GL/glxew.h "$PREFIX/include/GL/")
}

deps_verify() {
    local lib formats
    for lib in "${LIBRARIES[@]}"; do
        formats=$(objdump -f "$PREFIX/lib/$lib" | sed -n 's/.*file format //p' | sort -u)
        if [ "$formats" != elf64-x86-64 ]; then
            echo "$lib is not an x86-64 ELF library: $formats" >&2
            return 1
        fi
    done
}

if [ "${1:-}" = --steps ]; then
    WORK=$DEPS/work
    set -x
    build_steps
elif [ -n "${DEB11_ROOT:-}" ]; then
    DEPS_BUILD=build_in_root
    deps_main
else
    deps_main
fi
