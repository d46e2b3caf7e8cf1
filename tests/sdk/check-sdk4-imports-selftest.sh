#!/usr/bin/env bash
# Shows that check-sdk4-imports.sh catches what it is for: a small shared
# object that calls XPLMIsAvionicsBound directly fails it, one that looks the
# function up with XPLMFindSymbol passes.
# Usage: check-sdk4-imports-selftest.sh REPO_ROOT
set -euo pipefail

root=$1
cc=${CC:-cc}
check=$root/tests/sdk/check-sdk4-imports.sh
sdk=$root/sdk/XPLM
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cat > "$tmp/plugin.c" <<'SRC'
#include "XPLMDisplay.h"
#include "XPLMUtilities.h"
int probe(void *handle)
{
    XPLMDebugString("probe\n");
#ifdef DIRECT
    return XPLMIsAvionicsBound(handle);
#else
    int (*bound)(void *) = (int (*)(void *))XPLMFindSymbol("XPLMIsAvionicsBound");
    return bound != 0 ? bound(handle) : 0;
#endif
}
SRC
build() {
    "$cc" -shared -fPIC -DAPL=0 -DIBM=0 -DLIN=1 -DXPLM200=1 -DXPLM400=1 -DXPLM410=1 -I"$sdk" $2 \
        -o "$tmp/$1.xpl" "$tmp/plugin.c"
}
build looked_up ""
build direct -DDIRECT

failed=0
if out=$("$check" "$tmp/looked_up.xpl" "$sdk"); then
    echo "ok: a plug-in that looks the function up passes"
else
    echo "FAILED: a plug-in that looks the function up: $out"
    failed=1
fi
if out=$("$check" "$tmp/direct.xpl" "$sdk"); then
    echo "FAILED: a plug-in that calls XPLMIsAvionicsBound directly passed: $out"
    failed=1
elif grep -q 'imports SDK 4.x functions: XPLMIsAvionicsBound' <<<"$out"; then
    echo "ok: a plug-in that calls XPLMIsAvionicsBound directly fails"
else
    echo "FAILED: the direct call failed for another reason: $out"
    failed=1
fi
exit $failed
