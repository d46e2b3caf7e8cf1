#!/usr/bin/env bash
# Loads the Linux plug-in of the release archive in DIST_DIR inside the
# Debian 11 root (glibc 2.31) that tools/lin/deb11-root.sh made: the archive
# unpacked there as a simulator folder, and tests/lin/load-check.sh run there
# with the libc-only program built in the root (xpl_load_check: dlopen with
# RTLD_NOW, then XPluginStart, XPluginEnable, XPluginDisable, XPluginStop), which
# also checks what the loading brought in. Exit 0 when everything held.
# Usage: deb11-load-check.sh DIST_DIR DEB11_ROOT
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 DIST_DIR DEB11_ROOT" "$@"
dist=$1
root=$2
archive=$(ls "$dist"/vxr_popups-*.zip | grep -v -- '-debug\.zip$')

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C "$@"
}

# Whole, then its first line: head would end ldd with SIGPIPE, a failure under pipefail.
libc=$(in_root ldd --version)
libc=${libc%%$'\n'*}
[[ "$libc" == *" 2.31" ]] && pass "the root's glibc: $libc" || fail "the root's glibc is not 2.31: $libc"

check=$root/vxr/check
rm -rf "$check"
mkdir -p "$check/xplane/Resources/plugins"
unzip -q "$archive" -d "$check/xplane/Resources/plugins"
cp "$(dirname "$0")/../lin/load-check.sh" "$check/"
if in_root /bin/bash /vxr/check/load-check.sh /vxr/build/xpl_load_check /vxr/check/xplane --libraries \
        >"$check/out.txt" 2>&1; then
    pass "load-check.sh in the root: $(grep -c '^ok: ' "$check/out.txt") findings held"
else
    fail "load-check.sh in the root:"
    grep -E 'FAILED|load-check:' "$check/out.txt" | sed 's/^/    /'
fi
grep -q '^load-check: XPluginStop returned' "$check/out.txt" &&
    pass "XPluginStart, XPluginEnable, XPluginDisable and XPluginStop ran" ||
    fail "the plug-in's life cycle did not run to XPluginStop"
rm -rf "$check"
finish
