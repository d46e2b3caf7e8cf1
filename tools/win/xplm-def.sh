#!/usr/bin/env bash
# Writes the module-definition file of XPLM_64.dll from our SDK declarations:
# one export per 'XPLM_API <type> XPLMName(' line of the given headers, so the
# import library made from it can never offer a name the headers don't declare.
# Usage: xplm-def.sh OUT.def HEADER...
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 OUT.def HEADER..." >&2
    exit 2
fi
out=$1
shift

names=$(cat "$@" | awk '
    /^[ \t]*XPLM_API[ \t]/ {
        line = $0
        if (match(line, /[A-Za-z_][A-Za-z0-9_]*[ \t]*\(/)) {
            name = substr(line, RSTART, RLENGTH)
            sub(/[ \t]*\($/, "", name)
            print name
        } else {
            print "cannot read a function name from: " line > "/dev/stderr"
            bad = 1
        }
    }
    END { exit bad }
' | sort -u)

if [ -z "$names" ]; then
    echo "$0: no XPLM_API declarations in $*" >&2
    exit 1
fi

{
    echo "LIBRARY XPLM_64.dll"
    echo "EXPORTS"
    printf '    %s\n' $names
} > "$out.tmp"
mv "$out.tmp" "$out"
