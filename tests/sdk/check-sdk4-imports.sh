#!/usr/bin/env bash
# Checks that a built Linux plug-in leaves no SDK 4.x function undefined: on
# X-Plane 11 the loader would not find it and the plug-in would not load. The
# names come from the SDK headers in SDK_DIR (tools/xplm-sdk4-names.sh).
# Prints each finding; exit 1 on any.
# Usage: check-sdk4-imports.sh PLUGIN.xpl SDK_DIR
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 PLUGIN.xpl SDK_DIR" "$@"
xpl=$1
sdk=$2
here=$(cd "$(dirname "$0")" && pwd)
names_of_sdk4=$here/../../tools/xplm-sdk4-names.sh
nm=${NM:-nm}

if [ ! -f "$xpl" ]; then
    echo "FAILED: no plug-in at $xpl"
    exit 1
fi
sdk4=$("$names_of_sdk4" "$sdk"/*.h)
if [ -z "$sdk4" ]; then
    echo "FAILED: no SDK 4.x function declared in $sdk"
    exit 1
fi
undefined=$("$nm" -D --undefined-only "$xpl" | awk '{ sub(/@.*/, "", $NF); print $NF }' | sort -u)
if ! grep -qx 'XPLMDebugString' <<<"$undefined"; then
    echo "FAILED: $xpl leaves no XPLM function undefined: is it a plug-in?"
    exit 1
fi
found=$(comm -12 <(echo "$sdk4") <(echo "$undefined") | tr '\n' ' ' | sed 's/ $//')
if [ -n "$found" ]; then
    echo "FAILED: $xpl imports SDK 4.x functions: $found"
    exit 1
fi
echo "ok: $xpl imports none of the $(wc -l <<<"$sdk4") SDK 4.x functions"
