#!/usr/bin/env bash
# Writes a C file with a stub for each XPLM function the plug-in PLUGIN.xpl
# imports and HANDWRITTEN.c does not define: it does nothing and returns zero
# (a null handle, a zero count). Only the stubs' names matter to the loader.
# Usage: xplm-stubs.sh PLUGIN.xpl HANDWRITTEN.c OUT.c
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 3 "$0 PLUGIN.xpl HANDWRITTEN.c OUT.c" "$@"
xpl=$1
handwritten=$2
out=$3

imported=$(nm -D --undefined-only "$xpl" | awk '{ sub(/@.*/, "", $NF); if ($NF ~ /^XPLM/) print $NF }' | sort -u)
if [ -z "$imported" ]; then
    echo "xplm-stubs: $xpl imports no XPLM function" >&2
    exit 1
fi
# Definitions start in the first column: "type name(" or "type *name(".
defined=$(grep -oE '^[A-Za-z_][A-Za-z0-9_ ]*[ *]XPLM[A-Za-z0-9_]+\(' "$handwritten" |
          grep -oE 'XPLM[A-Za-z0-9_]+\($' | tr -d '(' | sort -u)

# Plain files, not process substitution: the Debian 11 root that also runs
# this has no /proc, so no /dev/fd.
echo "$imported" > "$out.imported"
echo "$defined" > "$out.defined"
missing=$(comm -23 "$out.imported" "$out.defined")
rm -f "$out.imported" "$out.defined"
{
    echo "/* Written by xplm-stubs.sh from $(basename "$xpl")'s imports: do not edit. */"
    for name in $missing; do
        echo "long $name(void) { return 0; }"
    done
} > "$out.tmp"
mv "$out.tmp" "$out"
