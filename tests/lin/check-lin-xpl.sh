#!/usr/bin/env bash
# Checks the installed Linux plug-in folder with objdump and nm: it holds one
# file, vxr_pop.xpl, an x86-64 shared object that exports exactly the five
# XPlugin entry points, needs no library but OpenGL's and glibc's (no C++
# runtime, no search path of its own, no glibc function bound to no library),
# and whose glibc needs are printed and
# stated in README as "needs glibc X.Y or later"; with MAX_GLIBC, X.Y is at most
# that and README states "needs glibc MAX_GLIBC or later". Prints each
# finding; exit 1 on any.
# Usage: check-lin-xpl.sh LIN_X64_DIR README [MAX_GLIBC]
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

if [ $# -eq 3 ]; then
    max=$3
    set -- "$1" "$2"
else
    max=""
fi
expect_args 2 "$0 LIN_X64_DIR README [MAX_GLIBC]" "$@"
dir=$1
readme=$2

# The loader's own libraries glibc splits out, and OpenGL.
ALLOWED_NEEDED="libGL.so.1 libc.so.6 libm.so.6 ld-linux-x86-64.so.2 libpthread.so.0 libdl.so.2 librt.so.1"

files=$(cd "$dir" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$files" = vxr_pop.xpl ]; then
    pass "$dir holds vxr_pop.xpl alone"
else
    fail "$dir holds '$files', expected vxr_pop.xpl alone"
fi

highest=""
for name in $files; do
    f=$dir/$name
    [ -f "$f" ] || continue
    if ! grep -q 'file format elf64-x86-64' <<<"$(objdump -f "$f" 2>/dev/null)"; then
        fail "$name is not an x86-64 ELF file"
        continue
    fi
    dump=$(objdump -p "$f")
    for lib in $(awk '$1 == "NEEDED" { print $2 }' <<<"$dump"); do
        if [[ " $ALLOWED_NEEDED " == *" $lib "* ]]; then
            pass "$name needs $lib"
        else
            fail "$name needs $lib"
        fi
    done
    search=$(awk '$1 == "RPATH" || $1 == "RUNPATH" { print $1, $2 }' <<<"$dump")
    if [ -z "$search" ]; then
        pass "$name has no library search path of its own"
    else
        fail "$name has $search"
    fi

    exports=$(nm -D --defined-only "$f" | awk '{ print $NF }' | sort | tr '\n' ' ' | sed 's/ $//')
    if [ "$exports" = "$ENTRY_POINTS" ]; then
        pass "$name exports exactly $ENTRY_POINTS"
    else
        fail "$name exports '$exports', expected '$ENTRY_POINTS'"
    fi

    # A function bound to no library's version is left to whatever the host
    # process offers: only the simulator's XPLM functions and libGL's
    # (unversioned) may be.
    loose=$(nm -D --undefined-only "$f" | awk '$1 == "U" && $2 !~ /@/ && $2 !~ /^(XPLM|gl)/ { print $2 }' |
            paste -sd' ')
    if [ -z "$loose" ]; then
        pass "$name binds every glibc function to a version"
    else
        fail "$name needs $loose from no library"
    fi

    # "Version References": "required from LIB:" then one line per version.
    versions=$(awk '/^Version References:/ { on = 1; next } on && /^$/ { on = 0 } on && NF == 4 { print $4 }' <<<"$dump")
    foreign=$(grep -v '^GLIBC_' <<<"$versions" | sort -u | tr '\n' ' ' || true)
    if [ -z "$foreign" ]; then
        pass "$name needs symbol versions of glibc only"
    else
        fail "$name needs symbol versions $foreign"
    fi
    top=$(grep '^GLIBC_[0-9]' <<<"$versions" | sed 's/^GLIBC_//' | sort -V | tail -n1 || true)
    if [ -n "$top" ] && { [ -z "$highest" ] || [ "$(printf '%s\n%s\n' "$highest" "$top" | sort -V | tail -n1)" = "$top" ]; }; then
        highest=$top
    fi
done

# With MAX_GLIBC, README promises that glibc (the oldest the plug-in is built
# and loaded with), and the plug-in's own needs must lie within it.
if [ -n "$highest" ]; then
    echo "needs glibc $highest or later"
    promise=${max:-$highest}
    if grep -q "needs glibc $promise or later" "$readme"; then
        pass "$readme states \"needs glibc $promise or later\""
    else
        fail "$readme does not state \"needs glibc $promise or later\" (it says: $(grep -o 'needs glibc [0-9.]* or later' "$readme" || echo nothing))"
    fi
    if [ -n "$max" ]; then
        if [ "$(printf '%s\n%s\n' "$highest" "$max" | sort -V | tail -n1)" = "$max" ]; then
            pass "glibc $highest is at most $max"
        else
            fail "needs glibc $highest, newer than $max"
        fi
    fi
else
    fail "no glibc version found"
fi

finish
