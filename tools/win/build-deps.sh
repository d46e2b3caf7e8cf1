#!/usr/bin/env bash
# Builds the third-party libraries of the Windows plug-in (zlib, libpng, pixman,
# cairo, GLEW) as static mingw-w64 libraries from Debian's source packages, into
# a prefix cached under build/win-deps/. A second run with the same inputs does
# nothing. The details go to build/win-deps/build.log; the terminal gets one line.
# Usage: tools/win/build-deps.sh        (WIN_DEPS_DIR overrides build/win-deps)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../deps/deb-deps.sh"

LABEL=win-deps
DEPS=${WIN_DEPS_DIR:-$DEPS_ROOT/build/win-deps}
PREFIX=$DEPS/prefix
HOST=x86_64-w64-mingw32

TOOL_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
               dpkg-dev make pkg-config xz-utils bzip2 cmake ninja-build)
SOURCE_PACKAGES=(zlib libpng1.6 pixman cairo glew)
BUILD_STEPS=(zlib libpng pixman cairo glew)
LIBRARIES=(libz.a libpng16.a libpixman-1.a libcairo.a libglew32.a)
CONFIGURE_TARGET=(--host=$HOST)
ZLIB_CHOST=$HOST

deps_key_extra() {
    "$HOST-gcc-posix" --version | head -n1
    "$HOST-ld" --version | head -n1
}

deps_env() {
    export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib
    export NM=$HOST-nm STRIP=$HOST-strip OBJDUMP=$HOST-objdump DLLTOOL=$HOST-dlltool
    # Only the prefix's .pc files are seen: never the machine's Linux ones.
    export PKG_CONFIG=pkg-config PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
    export CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib" CFLAGS="-O2"
}

# CAIRO_WIN32_STATIC_BUILD: without a DllMain of its own, cairo sets up its
# mutexes on first use (every surface creation does that).
build_cairo() {
    configure_cairo --enable-win32 --disable-pthread \
        CFLAGS="$CFLAGS -DPIXMAN_NO_TLS -DCAIRO_WIN32_STATIC_BUILD"
    install_cairo
}

build_glew() {
    (cd "$WORK/glew" &&
        "$CC" $CFLAGS -DGLEW_STATIC -Iinclude -c src/glew.c -o glew.o &&
        "$AR" rcs "$PREFIX/lib/libglew32.a" glew.o &&
        mkdir -p "$PREFIX/include/GL" &&
        cp include/GL/glew.h include/GL/wglew.h "$PREFIX/include/GL/")
}

deps_verify() {
    local lib formats
    for lib in "${LIBRARIES[@]}"; do
        formats=$("$OBJDUMP" -f "$PREFIX/lib/$lib" | sed -n 's/.*file format //p' | sort -u)
        if [ "$formats" != pe-x86-64 ]; then
            echo "$lib is not an x86-64 Windows library: $formats" >&2
            return 1
        fi
    done
}

deps_main
