#!/usr/bin/env bash
# Checks a built Windows plug-in with objdump: an x86-64 DLL that exports exactly
# the five XPlugin entry points and imports only from Windows' own DLLs,
# OpenGL and XPLM_64.dll, and from XPLM_64.dll only functions that the SDK
# headers in SDK_DIR declare with XPLM_API, none of them one that X-Plane 11
# lacks (SDK 4.x: those are looked up at run time). Prints each finding; exit
# 1 on any.
# Usage: check-xpl.sh PLUGIN.xpl SDK_DIR
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 PLUGIN.xpl SDK_DIR" "$@"
xpl=$1
sdk=$2
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

# Compared case-insensitively: import tables spell DLL names as the libraries did.
ALLOWED_DLLS="kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll opengl32.dll msimg32.dll xplm_64.dll"

if [ ! -f "$xpl" ]; then
    fail "no plug-in at $xpl"
    finish || exit
fi
dump=$("$objdump" -p "$xpl")

if grep -q 'file format pei-x86-64' <<<"$dump" &&
   grep -E '^Characteristics' -A12 <<<"$dump" | grep -qw 'DLL'; then
    pass "an x86-64 Windows DLL"
else
    fail "not an x86-64 Windows DLL: $(grep -m1 'file format' <<<"$dump")"
fi

# The export name table: lines "[   n] Name" after "[Ordinal/Name Pointer] Table".
exports=$(awk '
    /^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
    table && /^[ \t]*\[ *[0-9]+\] / { sub(/^[ \t]*\[ *[0-9]+\] /, ""); print $1; next }
    table { table = 0 }
' <<<"$dump" | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$exports" = "$ENTRY_POINTS" ]; then
    pass "exports exactly $ENTRY_POINTS"
else
    fail "exports '$exports', expected '$ENTRY_POINTS'"
fi

# The import tables: "DLL Name: X" followed by "vma  hint  name" lines.
imports=$(awk '
    /^[ \t]*DLL Name:/ { dll = $3; next }
    dll != "" && /^[ \t]*vma:/ { next }
    dll != "" && /^[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll, $3; next }
    dll != "" && /^[ \t]*$/ { dll = "" }
' <<<"$dump")
dlls=$(cut -d' ' -f1 <<<"$imports" | sort -u)
if [ -z "$dlls" ]; then
    fail "no import table found"
fi
for dll in $dlls; do
    lower=$(tr 'A-Z' 'a-z' <<<"$dll")
    if [[ " $ALLOWED_DLLS " == *" $lower "* ]]; then
        pass "imports from $dll"
    else
        fail "imports from $dll: $(awk -v d="$dll" '$1 == d { printf "%s ", $2 }' <<<"$imports")"
    fi
done

xplm_names=$(awk 'tolower($1) == "xplm_64.dll" { print $2 }' <<<"$imports")
if [ -z "$xplm_names" ]; then
    fail "imports nothing from XPLM_64.dll"
fi
undeclared=""
for name in $xplm_names; do
    if ! grep -Eq "^[[:space:]]*XPLM_API[[:space:]].*[^A-Za-z0-9_]$name[[:space:]]*\(" "$sdk"/*.h; then
        undeclared="$undeclared $name"
    fi
done
if [ -n "$xplm_names" ] && [ -z "$undeclared" ]; then
    pass "all $(wc -w <<<"$xplm_names") XPLM_64.dll imports are declared in $sdk"
elif [ -n "$undeclared" ]; then
    fail "XPLM_64.dll imports not declared with XPLM_API in $sdk:$undeclared"
fi

sdk4=$("$(dirname "$0")/../../tools/xplm-sdk4-names.sh" "$sdk"/*.h)
sdk4_imported=$(comm -12 <(echo "$sdk4" | sort -u) <(echo "$xplm_names" | sort -u) | tr '\n' ' ' | sed 's/ $//')
if [ -n "$sdk4_imported" ]; then
    fail "XPLM_64.dll imports of SDK 4.x functions, which X-Plane 11 lacks: $sdk4_imported"
elif [ -n "$sdk4" ]; then
    pass "no XPLM_64.dll import is an SDK 4.x function"
fi

finish
