# The part both third-party builds share (tools/win/build-deps.sh and
# tools/lin/build-deps.sh source it): Debian source packages fetched through a
# private apt configuration into one download folder, the builds of zlib,
# libpng, pixman and most of cairo, and a cache folder that a second run with
# the same inputs leaves alone. A build script sets DEPS, PREFIX, LABEL,
# TOOL_PACKAGES, SOURCE_PACKAGES, BUILD_STEPS, LIBRARIES, CONFIGURE_TARGET and
# ZLIB_CHOST, defines deps_key_extra (what else decides the cache: compilers,
# binutils), deps_env, deps_verify and the build_<step> functions not given
# here (from the sources unpacked under $WORK), then calls deps_main.

DEPS_COMMON=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
DEPS_ROOT=$(cd "$DEPS_COMMON/../.." && pwd)
# Downloads and apt lists, shared by every target's build.
DEB_SRC_DIR=${DEB_SRC_DIR:-$DEPS_ROOT/build/deb-src}
JOBS=${JOBS:-2}

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
    echo "$LABEL: installing $(echo $missing)"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null || true
    # shellcheck disable=SC2086
    apt-get install -y --no-install-recommends $missing >/dev/null
}

# --- fetching Debian source packages through a private apt configuration ---------

APT_DIR=$DEB_SRC_DIR/apt
DOWNLOADS=$DEB_SRC_DIR/downloads
APT_OPTS=()

setup_private_apt() {
    mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial"
    "$DEPS_ROOT/tools/win/deb-src-list.sh" > "$APT_DIR/deb-src.sources"
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

# Downloads a source package into $DOWNLOADS (apt skips files already there)
# and unpacks it as $WORK/$pkg. The newest version whose files the archive
# serves wins; when only its upstream tarball can be had (an archive mirror may
# lack a Debian diff), the upstream source is built as it is. Notes
# "pkg version (how)" in $WORK/built.
fetch_source() {
    local pkg=$1 ver how="" dsc orig upstream
    mkdir -p "$DOWNLOADS"
    for ver in $(source_versions "$pkg"); do
        if (cd "$DOWNLOADS" && apt-get "${APT_OPTS[@]}" source --download-only "$pkg=$ver"); then
            how=debian
            break
        fi
    done
    if [ -z "$how" ]; then
        for ver in $(source_versions "$pkg"); do
            if (cd "$DOWNLOADS" && apt-get "${APT_OPTS[@]}" source --download-only --tar-only "$pkg=$ver"); then
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
        dsc=$DOWNLOADS/${pkg}_${ver#*:}.dsc
        dpkg-source -x "$dsc" "$WORK/$pkg"
    else
        orig=$(ls "$DOWNLOADS/${pkg}_${upstream}.orig.tar."* | head -n1)
        mkdir -p "$WORK/$pkg"
        tar -xf "$orig" -C "$WORK/$pkg" --strip-components=1
    fi
    echo "$pkg $ver ($how)" >> "$WORK/built"
}

# Every source package, fetched and unpacked before anything is built. The
# download folder is shared: one target's build fetches at a time.
fetch_all() {
    local pkg
    mkdir -p "$DEB_SRC_DIR"
    exec 8>"$DEB_SRC_DIR/lock"
    flock 8
    setup_private_apt
    for pkg in "${SOURCE_PACKAGES[@]}"; do
        fetch_source "$pkg"
    done
    flock -u 8
}

# Debian's patches to configure.ac and Makefile.am only matter to autoreconf,
# which these builds do not run; stamping the generated files with one time
# keeps make from trying to regenerate them with autotools we don't have.
settle_autotools() {
    local t
    t=$(date +%s)
    find "$1" -path "$1/.pc" -prune -o \
        \( -name Makefile.in -o -name configure -o -name aclocal.m4 -o -name config.h.in \) \
        -print0 | xargs -0 touch -d "@$t"
}

# --- the libraries both targets build alike --------------------------------------
# CONFIGURE_TARGET holds what a target adds to every autotools configure line
# (the cross compiler's --host, or --with-pic); ZLIB_CHOST names zlib's cross
# compiler prefix, empty for a native build.

build_zlib() {
    (cd "$WORK/zlib" &&
        CHOST=$ZLIB_CHOST ./configure --static --prefix="$PREFIX" &&
        make -j"$JOBS" libz.a &&
        make install)
}

build_libpng() {
    settle_autotools "$WORK/libpng1.6"
    (cd "$WORK/libpng1.6" &&
        ./configure "${CONFIGURE_TARGET[@]}" --prefix="$PREFIX" --disable-shared --enable-static &&
        make -j"$JOBS" libpng16.la &&
        make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
             install-pkgconfigDATA install-header-links install-library-links install-libpng-pc)
}

# pixman keeps its thread-local caches (configure finds __thread): the plug-in's
# two renderers paint on two threads at once.
build_pixman() {
    settle_autotools "$WORK/pixman"
    (cd "$WORK/pixman" &&
        ./configure "${CONFIGURE_TARGET[@]}" --prefix="$PREFIX" --disable-shared --enable-static \
            --disable-gtk --disable-libpng --disable-openmp &&
        make -j"$JOBS" -C pixman &&
        make -C pixman install &&
        make install-pkgconfigDATA)
}

# cairo from its sources, for image surfaces and PNG files and no text: no X,
# no fontconfig or FreeType, no vector surfaces. The target's own options follow.
configure_cairo() {
    settle_autotools "$WORK/cairo"
    (cd "$WORK/cairo" &&
        ./configure "${CONFIGURE_TARGET[@]}" --prefix="$PREFIX" --disable-shared --enable-static \
            --enable-png \
            --disable-xlib --disable-xcb --disable-ft --disable-fc --disable-ps --disable-pdf \
            --disable-svg --disable-script --disable-gobject --disable-trace \
            --disable-interpreter --disable-symbol-lookup --disable-valgrind \
            --disable-gtk-doc "$@")
}

install_cairo() {
    (cd "$WORK/cairo" &&
        make -j"$JOBS" -C src &&
        make -C src install)
}

# --- the cache -----------------------------------------------------------------------

# What decides whether the cache is still good: the build script, this file,
# the source list helper and what the build script adds (its compilers).
inputs_key() {
    {
        cat "$0" "$DEPS_COMMON/deb-deps.sh" "$DEPS_ROOT/tools/win/deb-src-list.sh"
        deps_key_extra
    } | sha256sum | cut -d' ' -f1
}

cache_complete() {
    local key=$1 lib
    [ -f "$STAMP" ] && [ "$(head -n1 "$STAMP")" = "inputs $key" ] || return 1
    for lib in "${LIBRARIES[@]}"; do
        [ -f "$PREFIX/lib/$lib" ] || return 1
    done
}

# Each step "build_<name>" of BUILD_STEPS in turn, its time noted beside the
# version fetch_source recorded for it.
build_steps() {
    local step t n=0
    deps_env
    for step in "${BUILD_STEPS[@]}"; do
        t=$SECONDS
        "build_$step"
        n=$((n + 1))
        sed -i "${n}s/\$/ in $((SECONDS - t)) s/" "$WORK/built"
    done
    deps_verify
}

# The sources are fetched here; DEPS_BUILD names what builds them (build_steps,
# or a build script's own function that runs them in another root).
run_build() {
    fetch_all
    rm -rf "$PREFIX" "$STAMP"
    mkdir -p "$PREFIX/lib/pkgconfig" "$PREFIX/include"
    "${DEPS_BUILD:-build_steps}"
}

# Builds into $PREFIX unless the cache is up to date. The details go to
# $DEPS/build.log; the terminal gets one line.
deps_main() {
    local key start secs rc
    LOG=$DEPS/build.log
    STAMP=$DEPS/stamp
    mkdir -p "$DEPS"
    # One build at a time per cache: a second caller waits and then finds it done.
    exec 9>"$DEPS/lock"
    flock 9
    install_tools
    key=$(inputs_key)
    if cache_complete "$key"; then
        echo "$LABEL: up to date in $PREFIX"
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
        echo "$LABEL: FAILED after ${secs} s; the end of $LOG:" >&2
        tail -n 25 "$LOG" >&2
        return 1
    fi
    {
        echo "inputs $key"
        sed 's/^/built /' "$WORK/built"
        echo "seconds $secs"
    } > "$STAMP"
    echo "$LABEL: built $(cut -d' ' -f1 "$WORK/built" | paste -sd, | sed 's/,/, /g') in ${secs} s into $PREFIX (versions: $STAMP, log: $LOG)"
    rm -rf "$WORK"
}
