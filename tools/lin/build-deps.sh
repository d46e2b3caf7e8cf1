#!/usr/bin/env bash
# Builds the third-party libraries of the Linux plug-in (zlib, libpng, pixman,
# cairo, GLEW) as position-independent static libraries from Debian's source
# packages, into a prefix cached under build/lin-deps/, so that vxr_pop.xpl
# carries them inside and needs none of them from the user's system. A second
# run with the same inputs does nothing. The details go to build/lin-deps/build.log.
# Usage: tools/lin/build-deps.sh        (LIN_DEPS_DIR overrides build/lin-deps)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../deps/deb-deps.sh"

LABEL=lin-deps
DEPS=${LIN_DEPS_DIR:-$DEPS_ROOT/build/lin-deps}
PREFIX=$DEPS/prefix

TOOL_PACKAGES=(gcc make pkg-config dpkg-dev xz-utils bzip2)
SOURCE_PACKAGES=(zlib libpng1.6 pixman cairo glew)
BUILD_STEPS=(zlib libpng pixman cairo glew)
LIBRARIES=(libz.a libpng16.a libpixman-1.a libcairo.a libGLEW.a)

deps_key_extra() {
    gcc --version | head -n1
    ld --version | head -n1
}

# Sections per function let the plug-in's link drop what it never calls.
deps_env() {
    export CC=gcc AR=ar RANLIB=ranlib
    # Only the prefix's .pc files are seen: never the machine's own ones.
    export PKG_CONFIG=pkg-config PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
    export CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib"
    export CFLAGS="-O2 -fPIC -fvisibility=hidden -ffunction-sections -fdata-sections"
}

build_zlib() {
    (cd "$WORK/zlib" &&
        ./configure --static --prefix="$PREFIX" &&
        make -j"$JOBS" libz.a &&
        make install)
}

build_libpng() {
    settle_autotools "$WORK/libpng1.6"
    (cd "$WORK/libpng1.6" &&
        ./configure --prefix="$PREFIX" --disable-shared --enable-static --with-pic &&
        make -j"$JOBS" libpng16.la &&
        make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
             install-pkgconfigDATA install-header-links install-library-links install-libpng-pc)
}

# pixman keeps its thread-local caches (configure finds __thread): the plug-in's
# two renderers paint on two threads at once.
build_pixman() {
    settle_autotools "$WORK/pixman"
    (cd "$WORK/pixman" &&
        ./configure --prefix="$PREFIX" --disable-shared --enable-static --with-pic \
            --disable-gtk --disable-libpng --disable-openmp &&
        make -j"$JOBS" -C pixman &&
        make -C pixman install &&
        make install-pkgconfigDATA)
}

# The plug-in paints image surfaces and reads PNG files, and draws no text:
# no X, no fontconfig or FreeType, no vector surfaces.
build_cairo() {
    settle_autotools "$WORK/cairo"
    (cd "$WORK/cairo" &&
        ./configure --prefix="$PREFIX" --disable-shared --enable-static --with-pic \
            --enable-png \
            --disable-xlib --disable-xcb --disable-xlib-xrender --disable-ft --disable-fc \
            --disable-ps --disable-pdf --disable-svg --disable-script --disable-gobject \
            --disable-trace --disable-interpreter --disable-symbol-lookup --disable-valgrind \
            --disable-gtk-doc --disable-egl --disable-glx --disable-gl &&
        make -j"$JOBS" -C src &&
        make -C src install)
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

deps_main
