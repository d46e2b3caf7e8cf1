#!/usr/bin/env bash
# Shows that the Windows plug-in checks catch what they are for: small DLLs are
# cross-compiled against our SDK headers and an XPLM_64 import library made by
# xplm-def.sh; check-xpl.sh must pass the well-formed one and fail each faulty
# one for the right reason. Also checks xplm-def.sh on a small header.
# Usage: check-xpl-selftest.sh REPO_ROOT
set -euo pipefail

root=$1
cc=${CC_WIN:-x86_64-w64-mingw32-gcc-posix}
dlltool=${DLLTOOL:-x86_64-w64-mingw32-dlltool}
check=$root/tests/win/check-xpl.sh
makedef=$root/tools/win/xplm-def.sh
sdk=$root/sdk/XPLM
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

cat > "$tmp/plugin.c" <<'SRC'
#ifdef SDK4_IMPORT
#define XPLM400 1
#define XPLM410 1
#include "XPLMDisplay.h"
#endif
#include "XPLMDefs.h"
#include "XPLMUtilities.h"
#ifdef UNDECLARED_XPLM
__declspec(dllimport) void XPLMNotInTheHeaders(void);
#endif
#ifdef FOREIGN_DLL
#include <objbase.h>
#endif
#ifdef EXTRA_EXPORT
__declspec(dllexport) int helper_left_exported(void) { return 7; }
#endif
PLUGIN_API int XPluginStart(char *name, char *sig, char *desc)
{
    (void)sig; (void)desc;
#ifndef NO_XPLM
    XPLMDebugString(name);
#endif
#ifdef UNDECLARED_XPLM
    XPLMNotInTheHeaders();
#endif
#ifdef FOREIGN_DLL
    CoUninitialize();
#endif
#ifdef SDK4_IMPORT
    if (XPLMIsAvionicsBound(0))
        return 0;
#endif
    return 1;
}
#ifndef NO_STOP
PLUGIN_API void XPluginStop(void) {}
#endif
PLUGIN_API int XPluginEnable(void) { return 1; }
PLUGIN_API void XPluginDisable(void) {}
PLUGIN_API void XPluginReceiveMessage(XPLMPluginID from, int msg, void *param)
{
    (void)from; (void)msg; (void)param;
}
SRC

"$makedef" "$tmp/XPLM_64.def" "$sdk"/*.h
"$dlltool" -d "$tmp/XPLM_64.def" -l "$tmp/libXPLM_64.a" -D XPLM_64.dll
# An import library that also offers a name the headers don't declare.
{ cat "$tmp/XPLM_64.def"; echo "    XPLMNotInTheHeaders"; } > "$tmp/wider.def"
"$dlltool" -d "$tmp/wider.def" -l "$tmp/libwider.a" -D XPLM_64.dll

# build NAME IMPORTLIB [DEFINE [LIBRARY]]
build() {
    local name=$1 implib=$2 define=${3:+-D$3} lib=${4:-}
    "$cc" -shared -static -O1 -DAPL=0 -DIBM=1 -DLIN=0 -DXPLM200=1 -I"$sdk" $define \
        -o "$tmp/$name.xpl" "$tmp/plugin.c" "$implib" $lib -Wl,--exclude-all-symbols
}

# expect NAME pass|fail [TEXT]: check-xpl.sh's verdict, and TEXT in a failure line.
expect() {
    local name=$1 verdict=$2 text=${3:-} out rc=0
    out=$("$check" "$tmp/$name.xpl" "$sdk") || rc=$?
    if [ "$verdict" = pass ] && [ $rc -eq 0 ]; then
        pass "$name passes"
    elif [ "$verdict" = fail ] && [ $rc -ne 0 ] && grep '^FAILED' <<<"$out" | grep -q -- "$text"; then
        pass "$name fails: $(grep -m1 '^FAILED' <<<"$out")"
    else
        fail "$name: expected $verdict${text:+ ($text)}, check-xpl.sh said (exit $rc):"
        echo "$out" | sed 's/^/    /'
    fi
}

build good "$tmp/libXPLM_64.a"
build extra_export "$tmp/libXPLM_64.a" EXTRA_EXPORT
build no_stop "$tmp/libXPLM_64.a" NO_STOP
build foreign_dll "$tmp/libXPLM_64.a" FOREIGN_DLL -lole32
build undeclared "$tmp/libwider.a" UNDECLARED_XPLM
build no_xplm "$tmp/libXPLM_64.a" NO_XPLM
build sdk4_import "$tmp/libXPLM_64.a" SDK4_IMPORT

expect good pass
expect extra_export fail "helper_left_exported"
expect no_stop fail "expected 'XPluginDisable"
expect foreign_dll fail "imports from ole32.dll"
expect undeclared fail "not declared with XPLM_API in $sdk: XPLMNotInTheHeaders"
expect no_xplm fail "imports nothing from XPLM_64.dll"
expect sdk4_import fail "SDK 4.x functions, which X-Plane 11 lacks: XPLMIsAvionicsBound"
if out=$("$check" "$tmp/missing.xpl" "$sdk"); then
    fail "a missing plug-in passed"
else
    pass "a missing plug-in fails"
fi

# xplm-def.sh: pointer returns, a space before '(', the macro's own #define and
# other lines; and a declaration it cannot read is an error, not a silent gap.
mkdir -p "$tmp/hdr"
cat > "$tmp/hdr/A.h" <<'HDR'
#    define XPLM_API __declspec(dllimport)
typedef void *XPLMThing;
XPLM_API void *XPLMGetThing(XPLMThing inThing);
XPLM_API int   XPLMCountThings (void);
  XPLM_API void XPLMDoThing(int inA,
                            int inB);
static int not_exported(void);
HDR
printf 'LIBRARY XPLM_64.dll\nEXPORTS\n    XPLMCountThings\n    XPLMDoThing\n    XPLMGetThing\n' > "$tmp/expected.def"
if "$makedef" "$tmp/small.def" "$tmp/hdr/A.h" && cmp -s "$tmp/small.def" "$tmp/expected.def"; then
    pass "xplm-def.sh writes one export per declaration"
else
    fail "xplm-def.sh output differs:"
    diff "$tmp/expected.def" "$tmp/small.def" | sed 's/^/    /' || true
fi
printf 'XPLM_API int\nXPLMSplitDeclaration(void);\n' > "$tmp/hdr/B.h"
if "$makedef" "$tmp/split.def" "$tmp/hdr/B.h" 2>/dev/null; then
    fail "xplm-def.sh accepted a declaration whose name it cannot read"
else
    pass "xplm-def.sh rejects a declaration whose name it cannot read"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
