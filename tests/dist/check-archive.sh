#!/usr/bin/env bash
# Checks the release archive ./x dist left in DIST_DIR: its checksums hold; it
# unpacks to one popups/ folder with the two plug-ins, the repository's
# resources and the three texts, no settings; both plug-ins are stripped and
# name their debug files, which the debug archive holds; the Linux one passes
# check-lin-xpl.sh with glibc 2.31 at most; the notice says how cairo is used.
# Usage: check-archive.sh DIST_DIR REPO
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 DIST_DIR REPO" "$@"
dist=$1
repo=$2
version=$(sed -n 's/^static const char version_text\[\] = "\(.*\)";$/\1/p' "$repo/plugin/Main.cpp")
name=vxr_popups-$version

if (cd "$dist" && sha256sum --quiet -c "$name.sha256") &&
   [ "$(awk '{ print $2 }' "$dist/$name.sha256" | tr '\n' ' ')" = "$name.zip $name-debug.zip " ]; then
    pass "$name.sha256 holds for $name.zip and $name-debug.zip"
else
    fail "no $name.zip and $name-debug.zip that $name.sha256 holds for"
    finish
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$dist/$name.zip" -d "$tmp/rel"
unzip -q "$dist/$name-debug.zip" -d "$tmp/dbg"
files=$(cd "$tmp/rel" && find . -path './popups/resources/*' -prune -o -print | LC_ALL=C sort | tr '\n' ' ')
expected=". ./popups ./popups/LICENSE.txt ./popups/THIRD-PARTY-NOTICES.txt ./popups/USER-GUIDE.txt \
./popups/lin_x64 ./popups/lin_x64/vxr_pop.xpl ./popups/resources ./popups/win_x64 ./popups/win_x64/vxr_pop.xpl "
[ "$files" = "$expected" ] && pass "the archive holds popups/ alone, with no settings" ||
    fail "the archive holds '$files', expected '$expected'"
diff -r "$repo/plugin/resources" "$tmp/rel/popups/resources" >/dev/null &&
    pass "resources/ is the repository's plugin/resources" || fail "resources/ differs from plugin/resources"

for platform in lin_x64 win_x64; do
    xpl=$tmp/rel/popups/$platform/vxr_pop.xpl
    debug=$tmp/dbg/$platform/vxr_pop.xpl.debug
    objdump=objdump
    [ "$platform" = win_x64 ] && objdump=x86_64-w64-mingw32-objdump
    # Whole outputs into grep: a pipe into grep -q would end objdump with
    # SIGPIPE, which pipefail takes for a failure.
    sections=$($objdump -h "$xpl" | awk '$1 ~ /^[0-9]+$/ { print $2 }' | tr '\n' ' ')
    if [[ " $sections" == *" .gnu_debuglink "* && " $sections" != *" .debug_info "* &&
          " $sections" != *" .symtab "* ]] &&
       grep -q 'vxr_pop.xpl.deb' <<<"$($objdump -s -j .gnu_debuglink "$xpl")" &&
       grep -q ' \.debug_info ' <<<"$($objdump -h "$debug" 2>/dev/null)"; then
        pass "$platform/vxr_pop.xpl is stripped and names its debug file, which the debug archive holds"
    else
        fail "$platform/vxr_pop.xpl: sections $sections; or no debug information in $name-debug.zip"
    fi
done

if "$(dirname "$0")/../lin/check-lin-xpl.sh" "$tmp/rel/popups/lin_x64" "$repo/README.md" 2.31 >"$tmp/lin.txt"; then
    pass "check-lin-xpl.sh: glibc 2.31 at most, libGL and glibc alone, the five entry points"
else
    fail "check-lin-xpl.sh on lin_x64: $(grep FAILED "$tmp/lin.txt" | tr '\n' ' ')"
fi
grep -q 'cairo | .* | MPL 1.1 (chosen' "$tmp/rel/popups/THIRD-PARTY-NOTICES.txt" &&
    grep -q 'MOZILLA PUBLIC LICENSE' "$tmp/rel/popups/THIRD-PARTY-NOTICES.txt" &&
    pass "the notice takes cairo under the MPL 1.1 and holds its text" ||
    fail "the notice does not take cairo under the MPL 1.1 with its text"

finish
