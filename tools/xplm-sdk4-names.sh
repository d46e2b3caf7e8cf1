#!/usr/bin/env bash
# Prints the SDK functions that only X-Plane 12 has: every 'XPLM_API ... Name('
# declaration inside an '#if defined(XPLM4nn)' block of the given headers. A
# plug-in that must still load on X-Plane 11 may not import any of them.
# Usage: xplm-sdk4-names.sh HEADER...
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 HEADER..." >&2
    exit 2
fi

cat "$@" | awk '
    # A stack of the open #if blocks: 1 for an XPLM4nn block.
    /^[ \t]*#[ \t]*if/ { depth++; sdk4[depth] = ($0 ~ /defined[ \t]*\([ \t]*XPLM4[0-9][0-9][ \t]*\)/); next }
    /^[ \t]*#[ \t]*endif/ { if (depth > 0) depth--; next }
    /^[ \t]*XPLM_API[ \t]/ {
        inside = 0
        for (i = 1; i <= depth; i++) if (sdk4[i]) inside = 1
        if (inside && match($0, /[A-Za-z_][A-Za-z0-9_]*[ \t]*\(/)) {
            name = substr($0, RSTART, RLENGTH)
            sub(/[ \t]*\($/, "", name)
            print name
        }
    }
' | sort -u
