#!/usr/bin/env bash
# Checks the release archive that ./x dist left in DIST_DIR against the
# repository: its checksum file holds; it unpacks to one popups/ folder with
# exactly the two plug-ins, the resources as the repository has them, the
# guide, the licence and the notice, and no settings; both plug-ins are
# stripped and name their debug files, which the debug archive holds; the
# Linux plug-in passes check-lin-xpl.sh with glibc 2.31 at most; the notice
# names every library and cairo's licence. Prints each finding; exit 1 on any.
# Usage: check-archive.sh DIST_DIR REPO
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 DIST_DIR REPO" "$@"
dist=$1
repo=$2

zips=$(cd "$dist" && ls vxr_popups-*.zip | grep -v -- '-debug\.zip$' || true)
if [ "$(wc -w <<<"$zips")" -ne 1 ]; then
    fail "$dist holds '$zips', expected one release archive"
    finish
fi
name=${zips%.zip}
version=$(sed -n 's/^static const char version_text\[\] = "\(.*\)";$/\1/p' "$repo/plugin/Main.cpp")
[ "$name" = "vxr_popups-$version" ] && pass "the archive is named for version $version" ||
    fail "the archive is $name.zip, the version is $version"

if (cd "$dist" && sha256sum --quiet -c "$name.sha256") &&
   [ "$(awk '{ print $2 }' "$dist/$name.sha256" | tr '\n' ' ')" = "$name.zip $name-debug.zip " ]; then
    pass "$name.sha256 holds for $name.zip and $name-debug.zip"
else
    fail "$name.sha256 does not hold for both archives"
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$dist/$name.zip" -d "$tmp/rel"
unzip -q "$dist/$name-debug.zip" -d "$tmp/dbg"
top=$(ls -A "$tmp/rel" | tr '\n' ' ')
[ "$top" = "popups " ] && pass "one folder at the top: popups/" || fail "at the top: $top"
p=$tmp/rel/popups
files=$(cd "$p" && find . -path './resources/*' -prune -o -print | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
expected=". LICENSE.txt THIRD-PARTY-NOTICES.txt USER-GUIDE.txt lin_x64 lin_x64/vxr_pop.xpl resources win_x64 win_x64/vxr_pop.xpl "
[ "$files" = "$expected" ] && pass "popups/ holds the two plug-ins, resources/ and the three texts, no settings" ||
    fail "popups/ holds '$files', expected '$expected'"
if diff -r "$repo/plugin/resources" "$p/resources" >/dev/null; then
    pass "resources/ is the repository's plugin/resources"
else
    fail "resources/ differs from plugin/resources"
fi

for platform in lin_x64 win_x64; do
    xpl=$p/$platform/vxr_pop.xpl
    debug=$tmp/dbg/$platform/vxr_pop.xpl.debug
    if [ "$platform" = lin_x64 ]; then objdump=objdump; else objdump=x86_64-w64-mingw32-objdump; fi
    sections=$($objdump -h "$xpl" | awk '$1 ~ /^[0-9]+$/ { print $2 }')
    if grep -qE '^\.(debug_info|symtab)$' <<<"$sections"; then
        fail "$platform/vxr_pop.xpl carries debug information or a symbol table"
    else
        pass "$platform/vxr_pop.xpl is stripped"
    fi
    link=$($objdump -s -j .gnu_debuglink "$xpl" 2>/dev/null | grep -c 'vxr_pop.xpl.deb' || true)
    [ "$link" -ge 1 ] && pass "$platform/vxr_pop.xpl names vxr_pop.xpl.debug" ||
        fail "$platform/vxr_pop.xpl has no .gnu_debuglink to vxr_pop.xpl.debug"
    # Not a pipe into grep -q: its early exit would end objdump with SIGPIPE,
    # which pipefail takes for a failure.
    if [ -f "$debug" ] && grep -q ' \.debug_info ' <<<"$($objdump -h "$debug")"; then
        pass "the debug archive holds $platform/vxr_pop.xpl.debug with its debug information"
    else
        fail "no debug information for $platform in $name-debug.zip"
    fi
done
[ -x "$p/lin_x64/vxr_pop.xpl" ] && pass "lin_x64/vxr_pop.xpl unpacks executable" ||
    fail "lin_x64/vxr_pop.xpl unpacks without its executable bit"

if "$(dirname "$0")/../lin/check-lin-xpl.sh" "$p/lin_x64" "$repo/README.md" 2.31 >"$tmp/lin.txt"; then
    pass "check-lin-xpl.sh: lin_x64 needs glibc 2.31 at most, libGL and glibc alone, exports the five entry points"
else
    fail "check-lin-xpl.sh on lin_x64:"
    grep FAILED "$tmp/lin.txt"
fi

notice=$p/THIRD-PARTY-NOTICES.txt
for text in '| cairo |' '| pixman |' '| libpng |' '| zlib |' '| GLEW |' '| GCC runtime, Linux' \
            '| GCC runtime, Windows' '| MinGW-w64 runtime' 'MPL 1.1 (chosen' 'MOZILLA PUBLIC LICENSE' 'GCC RUNTIME LIBRARY EXCEPTION' 'GNU GENERAL PUBLIC LICENSE'; do
    if grep -qF "$text" "$notice"; then
        pass "the notice has \"$text\""
    else
        fail "the notice lacks \"$text\""
    fi
done
grep -q "Version $version" "$p/USER-GUIDE.txt" && pass "the guide names version $version" ||
    fail "the guide does not name version $version"

finish
