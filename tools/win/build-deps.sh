#!/usr/bin/env bash
# Builds the third-party libraries of the Windows plug-in (zlib, libpng, pixman,
# cairo, GLEW) as static mingw-w64 libraries from Debian's source packages, into
# a prefix cached under build/win-deps/. A second run with the same inputs does
# nothing. The details go to build/win-deps/build.log; the terminal gets one line.
# Usage: tools/win/build-deps.sh        (WIN_DEPS_DIR overrides build/win-deps)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
DEPS=${WIN_DEPS_DIR:-$ROOT/build/win-deps}
PREFIX=$DEPS/prefix
LOG=$DEPS/build.log
STAMP=$DEPS/stamp
JOBS=${JOBS:-2}
HOST=x86_64-w64-mingw32

TOOL_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
               dpkg-dev make pkg-config xz-utils bzip2 cmake ninja-build)
SOURCE_PACKAGES=(zlib libpng1.6 pixman cairo glew)
LIBRARIES=(libz.a libpng16.a libpixman-1.a libcairo.a libglew32.a)

mkdir -p "$DEPS"
# One build at a time per cache: a second caller waits and then finds it done.
exec 9>"$DEPS/lock"
flock 9

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

install_tools() {
    local missing
    missing=$(missing_packages "${TOOL_PACKAGES[@]}")
    [ -z "$missing" ] && return 0
    echo "win-deps: installing $(echo $missing)"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null || true
    # shellcheck disable=SC2086
    apt-get install -y --no-install-recommends $missing >/dev/null
}

# What decides whether the cache is still good: this script, its helper and the
# compilers and binutils that built it.
inputs_key() {
    {
        cat "$HERE/build-deps.sh" "$HERE/deb-src-list.sh"
        "$HOST-gcc-posix" --version | head -n1
        "$HOST-ld" --version | head -n1
    } | sha256sum | cut -d' ' -f1
}

cache_complete() {
    local key=$1 lib
    [ -f "$STAMP" ] && [ "$(head -n1 "$STAMP")" = "inputs $key" ] || return 1
    for lib in "${LIBRARIES[@]}"; do
        [ -f "$PREFIX/lib/$lib" ] || return 1
    done
}

# --- fetching Debian source packages through a private apt configuration ---------

APT_DIR=$DEPS/apt
APT_OPTS=()

setup_private_apt() {
    mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial"
    "$HERE/deb-src-list.sh" > "$APT_DIR/deb-src.sources"
    if [ ! -s "$APT_DIR/deb-src.sources" ]; then
        echo "no Debian entry found in /etc/apt to make a deb-src twin of" >&2
        return 1
    fi
    APT_OPTS=(-o "Dir::Etc::SourceList=$APT_DIR/deb-src.sources"
              -o "Dir::Etc::SourceParts=-"
              -o "Dir::State::Lists=$APT_DIR/lists"
              -o "Dir::Cache=$APT_DIR/cache"
              -o "APT::Get::Only-Source=true")
    apt-get "${APT_OPTS[@]}" update
}

# The versions of a source package the private lists offer, newest first.
source_versions() {
    local pkg=$1 v sorted=() i j
    while read -r v; do
        sorted+=("$v")
    done < <(apt-cache "${APT_OPTS[@]}" showsrc "$pkg" | awk '/^Version:/ { print $2 }' | sort -u)
    for ((i = 1; i < ${#sorted[@]}; i++)); do
        for ((j = i; j > 0; j--)); do
            dpkg --compare-versions "${sorted[j-1]}" lt "${sorted[j]}" || break
            v=${sorted[j-1]}; sorted[j-1]=${sorted[j]}; sorted[j]=$v
        done
    done
    printf '%s\n' "${sorted[@]}"
}

# Downloads a source package into $DEPS/downloads and unpacks it as $WORK/$pkg.
# The newest version whose files the archive serves wins; when only its upstream
# tarball can be had (an archive mirror may lack a Debian diff), the upstream
# source is built as it is. Notes "pkg version (how)" in $WORK/built.
fetch_source() {
    local pkg=$1 ver how="" dsc orig upstream
    mkdir -p "$DEPS/downloads"
    for ver in $(source_versions "$pkg"); do
        if (cd "$DEPS/downloads" && apt-get "${APT_OPTS[@]}" source --download-only "$pkg=$ver"); then
            how=debian
            break
        fi
    done
    if [ -z "$how" ]; then
        for ver in $(source_versions "$pkg"); do
            if (cd "$DEPS/downloads" && apt-get "${APT_OPTS[@]}" source --download-only --tar-only "$pkg=$ver"); then
                how=upstream
                break
            fi
        done
    fi
    if [ -z "$how" ]; then
        echo "cannot download the source of $pkg" >&2
        return 1
    fi
    upstream=${ver#*:}
    upstream=${upstream%-*}
    rm -rf "${WORK:?}/$pkg"
    if [ "$how" = debian ]; then
        dsc=$DEPS/downloads/${pkg}_${ver#*:}.dsc
        dpkg-source -x "$dsc" "$WORK/$pkg"
    else
        orig=$(ls "$DEPS/downloads/${pkg}_${upstream}.orig.tar."* | head -n1)
        mkdir -p "$WORK/$pkg"
        tar -xf "$orig" -C "$WORK/$pkg" --strip-components=1
    fi
    echo "$pkg $ver ($how)" >> "$WORK/built"
}

# Debian's patches to configure.ac and Makefile.am only matter to autoreconf,
# which this build does not run; stamping the generated files with one time
# keeps make from trying to regenerate them with autotools we don't have.
settle_autotools() {
    local t
    t=$(date +%s)
    find "$1" -path "$1/.pc" -prune -o \
        \( -name Makefile.in -o -name configure -o -name aclocal.m4 -o -name config.h.in \) \
        -print0 | xargs -0 touch -d "@$t"
}

# --- the libraries -----------------------------------------------------------------

cross_env() {
    export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib
    export NM=$HOST-nm STRIP=$HOST-strip OBJDUMP=$HOST-objdump DLLTOOL=$HOST-dlltool
    # Only the prefix's .pc files are seen: never the machine's Linux ones.
    export PKG_CONFIG=pkg-config PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
    export CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib" CFLAGS="-O2"
}

build_zlib() {
    fetch_source zlib
    (cd "$WORK/zlib" &&
        CHOST=$HOST ./configure --static --prefix="$PREFIX" &&
        make -j"$JOBS" libz.a &&
        make install)
}

build_libpng() {
    fetch_source libpng1.6
    settle_autotools "$WORK/libpng1.6"
    (cd "$WORK/libpng1.6" &&
        ./configure --host=$HOST --prefix="$PREFIX" --disable-shared --enable-static &&
        make -j"$JOBS" libpng16.la &&
        make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
             install-pkgconfigDATA install-header-links install-library-links install-libpng-pc)
}

# pixman keeps its thread-local caches (configure finds __thread): the plug-in's
# two renderers paint on two threads at once.
build_pixman() {
    fetch_source pixman
    settle_autotools "$WORK/pixman"
    (cd "$WORK/pixman" &&
        ./configure --host=$HOST --prefix="$PREFIX" --disable-shared --enable-static \
            --disable-gtk --disable-libpng --disable-openmp &&
        make -j"$JOBS" -C pixman &&
        make -C pixman install &&
        make install-pkgconfigDATA)
}

# CAIRO_WIN32_STATIC_BUILD: without a DllMain of its own, cairo sets up its
# mutexes on first use (every surface creation does that).
build_cairo() {
    fetch_source cairo
    settle_autotools "$WORK/cairo"
    (cd "$WORK/cairo" &&
        ./configure --host=$HOST --prefix="$PREFIX" --disable-shared --enable-static \
            --enable-win32 --enable-png \
            --disable-xlib --disable-xcb --disable-ft --disable-fc --disable-ps --disable-pdf \
            --disable-svg --disable-script --disable-gobject --disable-trace \
            --disable-interpreter --disable-symbol-lookup --disable-valgrind \
            --disable-gtk-doc --disable-pthread \
            CFLAGS="$CFLAGS -DPIXMAN_NO_TLS -DCAIRO_WIN32_STATIC_BUILD" &&
        make -j"$JOBS" -C src &&
        make -C src install)
}

build_glew() {
    fetch_source glew
    (cd "$WORK/glew" &&
        "$CC" $CFLAGS -DGLEW_STATIC -Iinclude -c src/glew.c -o glew.o &&
        "$AR" rcs "$PREFIX/lib/libglew32.a" glew.o &&
        mkdir -p "$PREFIX/include/GL" &&
        cp include/GL/glew.h include/GL/wglew.h "$PREFIX/include/GL/")
}

run_build() {
    local lib formats step t
    setup_private_apt
    rm -rf "$PREFIX" "$STAMP"
    mkdir -p "$PREFIX/lib/pkgconfig" "$PREFIX/include"
    cross_env
    for step in zlib libpng pixman cairo glew; do
        t=$SECONDS
        "build_$step"
        sed -i "\$s/\$/ in $((SECONDS - t)) s/" "$WORK/built"
    done
    for lib in "${LIBRARIES[@]}"; do
        formats=$("$OBJDUMP" -f "$PREFIX/lib/$lib" | sed -n 's/.*file format //p' | sort -u)
        if [ "$formats" != pe-x86-64 ]; then
            echo "$lib is not an x86-64 Windows library: $formats" >&2
            return 1
        fi
    done
}

main() {
    local key start secs rc
    install_tools
    key=$(inputs_key)
    if cache_complete "$key"; then
        echo "win-deps: up to date in $PREFIX"
        return 0
    fi
    start=$(date +%s)
    WORK=$DEPS/work
    rm -rf "$WORK"
    mkdir -p "$WORK"
    : > "$LOG"
    # Not in an 'if': errexit has to stay in force inside the build.
    set +e
    (set -ex; run_build) >>"$LOG" 2>&1
    rc=$?
    set -e
    secs=$(($(date +%s) - start))
    if [ $rc -ne 0 ]; then
        echo "win-deps: FAILED after ${secs} s; the end of $LOG:" >&2
        tail -n 25 "$LOG" >&2
        return 1
    fi
    {
        echo "inputs $key"
        sed 's/^/built /' "$WORK/built"
        echo "seconds $secs"
    } > "$STAMP"
    echo "win-deps: built $(cut -d' ' -f1 "$WORK/built" | paste -sd, | sed 's/,/, /g') in ${secs} s into $PREFIX (versions: $STAMP, log: $LOG)"
    rm -rf "$WORK"
}

main "$@"
