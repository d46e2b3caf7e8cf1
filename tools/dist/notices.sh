#!/usr/bin/env bash
# Writes the third-party notice of the release archive: for each library linked
# into the plug-ins, the version built (from the dependency builds' stamps and
# the compilers), its licence, where its exact source is, and the licence texts
# themselves, taken from the very source packages built and from the files the
# Debian packages of the compilers carry.
# Usage: notices.sh OUT LIN_STAMP WIN_STAMP DOWNLOADS DEB11_ROOT
set -euo pipefail

if [ $# -ne 5 ]; then
    echo "usage: $0 OUT LIN_STAMP WIN_STAMP DOWNLOADS DEB11_ROOT" >&2
    exit 2
fi
out=$1 lin_stamp=$2 win_stamp=$3 downloads=$4 root=$5

# "built cairo 1.16.0-7 (debian) in 22 s" -> 1.16.0-7 (Debian's version, epoch left out).
built_version() {
    local pkg=$1 stamp=$2 v
    v=$(awk -v p="$pkg" '$1 == "built" && $2 == p { print $3 }' "$stamp")
    if [ -z "$v" ]; then
        echo "notices: $stamp names no build of $pkg" >&2
        return 1
    fi
    echo "${v#*:}"
}

# The source package's version must be the same for both plug-ins: one notice.
version() {
    local pkg=$1 lin win
    lin=$(built_version "$pkg" "$lin_stamp")
    win=$(built_version "$pkg" "$win_stamp")
    if [ "$lin" != "$win" ]; then
        echo "notices: $pkg is $lin in the Linux build and $win in the Windows one" >&2
        return 1
    fi
    echo "$lin"
}

# One licence file out of a source package's upstream tarball.
from_tarball() {
    local pattern=$1 file=$2 tarball
    tarball=$(ls "$downloads"/$pattern)
    tar -xOf "$tarball" --wildcards "*/$file"
}

# The source package a Debian binary package was built from, as NAME/VERSION.
source_of() { dpkg-query -W -f='${source:Package}/${source:Version}' "$1"; }
root_source_of() { chroot "$root" dpkg-query -W -f='${source:Package}/${source:Version}' "$1"; }

section() {
    printf '\n%s\n%s\n\n' "$1" "$(printf '%s' "$1" | tr -c '\n' '=')"
}

zlib=$(version zlib)
png=$(version libpng1.6)
pixman=$(version pixman)
cairo=$(version cairo)
glew=$(version glew)
lin_gcc=$(root_source_of libstdc++-10-dev)
win_gcc=$(source_of g++-mingw-w64-x86-64-posix)
win_gcc_upstream=$(dpkg-query -W -f="\${Version}" g++-mingw-w64-x86-64-posix | sed "s/-.*//")
mingw=$(source_of mingw-w64-x86-64-dev)

{
cat <<TXT
THIRD-PARTY SOFTWARE IN VXR G1000 BEZEL-LESS POPUPS
===================================================

Both plug-in files, lin_x64/vxr_pop.xpl and win_x64/vxr_pop.xpl, carry the
libraries below linked in statically and unmodified, each built from the
Debian source package named, at the version named (upstream source with
Debian's patches), which Debian's archive keeps. The Linux plug-in's C++
runtime is Debian 11's GCC's, the Windows plug-in's Debian 12's MinGW-w64
GCC's. Our own code is under the
MIT licence (LICENSE.txt).

| Library | Version | Licence | Debian source package and version |
|---|---|---|---|
| cairo | $cairo | MPL 1.1 (chosen; also offered under LGPL 2.1) | cairo $cairo |
| pixman | $pixman | MIT | pixman $pixman |
| libpng | $png | libpng/PNG Reference Library Licence | libpng1.6 $png |
| zlib | $zlib | zlib licence | zlib $zlib |
| GLEW | $glew | Modified BSD, Mesa 3-D (MIT), Khronos (MIT) | glew $glew |
| GCC runtime, Linux (libstdc++, libgcc) | GCC ${lin_gcc#*/} (Debian 11) | GPL 3 with the GCC Runtime Library Exception | ${lin_gcc%/*} ${lin_gcc#*/} |
| GCC runtime, Windows (libstdc++, libgcc, libssp) | GCC $win_gcc_upstream (Debian gcc-mingw-w64 ${win_gcc#*/}) | GPL 3 with the GCC Runtime Library Exception | ${win_gcc%/*} ${win_gcc#*/} |
| MinGW-w64 runtime and winpthreads, Windows | ${mingw#*/} | ZPL 2.1, MIT and others (below) | ${mingw%/*} ${mingw#*/} |

pixman: Debian's archive served only its upstream tarball (of the version
named), which was built as it is, without Debian's patches.

cairo: why MPL 1.1, and what it asks of us
------------------------------------------
cairo may be used under the GNU LGPL 2.1 or the Mozilla Public Licence 1.1,
at the user's choice. We link it statically into the plug-in, and use it
under the MPL 1.1. The LGPL 2.1 would ask of a statically linked program that
its users can relink it with a changed cairo (our object files or sources on
offer); the MPL 1.1 is a per-file licence and asks instead that:

- the source code of the cairo files we distribute in executable form, with
  any changes made to them, is available to everyone who receives the
  plug-in, for at least twelve months after the release (MPL 1.1, 3.2). We
  change none: the source is exactly Debian's source package named above,
  at its version, which Debian's archive keeps, and we hand the same files to anyone who asks
  for them with the release's version;
- this notice tells where that source is and that cairo's code is under the
  MPL 1.1 (3.6), with cairo's copyright and licence notices kept (3.5);
- the MPL's terms are not changed for cairo's code. The rest of the plug-in
  is our own work under our own licence (3.7, a Larger Work).

Its licence files, from cairo's source:
TXT
section "cairo: COPYING"
from_tarball 'cairo_*.orig.tar.*' COPYING
section "cairo: COPYING-MPL-1.1"
from_tarball 'cairo_*.orig.tar.*' COPYING-MPL-1.1
section "pixman: COPYING"
from_tarball 'pixman_*.orig.tar.*' COPYING
section "libpng: LICENSE"
from_tarball 'libpng1.6_*.orig.tar.*' LICENSE
section "zlib: LICENSE"
from_tarball 'zlib_*.orig.tar.*' LICENSE
section "GLEW: LICENSE.txt"
from_tarball 'glew_*.orig.tar.*' LICENSE.txt
section "GCC runtime: the GCC Runtime Library Exception (from Debian's gcc-10-base)"
# From its title to the end of its last clause, "2. No Weakening of GCC Copyleft."
awk '/^GCC RUNTIME LIBRARY EXCEPTION/ { on = 1 } on { print } on && /copyleft$/ { exit }' \
    "$root/usr/share/doc/gcc-10-base/copyright"
echo "The GNU General Public Licence, version 3, follows at the end of this file."
section "MinGW-w64 runtime and winpthreads (Debian's copyright file of mingw-w64-x86-64-dev)"
cat /usr/share/doc/mingw-w64-x86-64-dev/copyright
section "GNU General Public Licence, version 3"
cat "$root/usr/share/common-licenses/GPL-3"
} > "$out.tmp"
mv "$out.tmp" "$out"
