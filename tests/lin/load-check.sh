#!/usr/bin/env bash
# Runs PROGRAM (xpl_load_check or xpl_throw_check) on a copy of the plug-in
# folder in XPLANE_DIR, so that the settings it writes stay out of the build's
# simulator folder. With --libraries, also checks what the loading brought in:
# PROGRAM itself needs only glibc, and the libraries loaded on the plug-in's
# behalf (its NEEDED entries and what it opens itself), as LD_DEBUG=files
# reports them, are within the list below. Prints each finding; exit 1 on any.
# Usage: load-check.sh PROGRAM XPLANE_DIR [--libraries]
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 PROGRAM XPLANE_DIR [--libraries]" >&2
    exit 2
fi
program=$1
xplane=$2
libraries=${3:-}

# The loader's own libraries glibc splits out, and OpenGL.
ALLOWED_NEEDED="libGL.so.1 libc.so.6 libm.so.6 ld-linux-x86-64.so.2 libpthread.so.0 libdl.so.2 librt.so.1"
# The cursor code opens these itself when it runs on X11, and does without them.
ALLOWED_OPENED="libX11.so.6 libXcursor.so.1"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/Resources/plugins"
cp -r "$xplane/Resources/plugins/popups" "$tmp/Resources/plugins/"
xpl=$tmp/Resources/plugins/popups/lin_x64/vxr_pop.xpl

if [ "$libraries" != --libraries ]; then
    exec "$program" "$xpl"
fi

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

# glibc before 2.34 (Debian 11's 2.31) keeps dlopen in libdl.so.2, its own part.
own=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' | sort | tr '\n' ' ')
if [ "$own" = "libc.so.6 " ] || [ "$own" = "libc.so.6 libdl.so.2 " ]; then
    pass "$(basename "$program") needs only glibc: $own"
else
    fail "$(basename "$program") needs $own"
fi

set +e
LD_DEBUG=files LD_DEBUG_OUTPUT=$tmp/ld "$program" "$xpl"
rc=$?
set -e
if [ $rc -eq 0 ]; then
    pass "$(basename "$program") loaded, started, enabled, disabled and stopped the plug-in"
else
    fail "$(basename "$program") exited with $rc"
fi

# Lines "file=NAME [0];  needed by PATH [0]" and "... dynamically loaded by PATH [0]".
debug=$(cat "$tmp"/ld.* 2>/dev/null || true)
if grep -q "file=$xpl \[0\];  dynamically loaded by" <<<"$debug"; then
    pass "LD_DEBUG=files saw the plug-in loaded"
else
    fail "LD_DEBUG=files did not report the plug-in's loading"
fi
needed=$(awk -v x="$xpl" '$0 ~ "needed by " x " " { sub(/.*file=/, ""); print $1 }' <<<"$debug" | sort -u)
opened=$(awk -v x="$xpl" '$0 ~ "dynamically loaded by " x " " { sub(/.*file=/, ""); print $1 }' <<<"$debug" | sort -u)
echo "loaded for the plug-in: $(echo $needed) (needed), $(echo $opened) (opened by it)"
for lib in $needed; do
    if [[ " $ALLOWED_NEEDED " == *" $lib "* ]]; then
        pass "loaded as needed by the plug-in: $lib"
    else
        fail "loaded as needed by the plug-in: $lib"
    fi
done
for lib in $opened; do
    if [[ " $ALLOWED_OPENED " == *" $(basename "$lib") "* ]]; then
        pass "opened by the plug-in: $lib"
    else
        fail "opened by the plug-in: $lib"
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
