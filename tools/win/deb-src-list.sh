#!/usr/bin/env bash
# Prints a deb822 source list that is the deb-src twin of this machine's Debian
# entries: the same archives, suites, components and signing keys, as 'deb-src'.
# It lets the Windows dependency build fetch Debian source packages through a
# private list while the machine's own apt configuration stays untouched.
# Usage: deb-src-list.sh [APT_ETC_DIR] [CODENAME]   (defaults: /etc/apt, this release)
set -euo pipefail

etc=${1:-/etc/apt}
codename=${2:-}
if [ -z "$codename" ]; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
fi
if [ -z "$codename" ]; then
    echo "deb-src-list: cannot tell this machine's Debian release" >&2
    exit 1
fi

# The files apt itself reads (files with other extensions are ignored by apt).
files=()
[ -f "$etc/sources.list" ] && files+=("$etc/sources.list")
for f in "$etc"/sources.list.d/*.list "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
done
[ ${#files[@]} -gt 0 ] || exit 0

for f in "${files[@]}"; do
    case "$f" in
        *.sources) format=deb822 ;;
        *) format=oneline ;;
    esac
    awk -v format="$format" -v codename="$codename" '
        # A suite belongs to this Debian release: "bookworm", "bookworm-updates", ...
        function ours(suite) { return suite == codename || index(suite, codename "-") == 1 }
        function emit(uris, suites, comps, key,    n, s, i, kept) {
            n = split(suites, s, /[ \t]+/)
            kept = ""
            for (i = 1; i <= n; i++)
                if (s[i] != "" && ours(s[i])) kept = kept (kept == "" ? "" : " ") s[i]
            if (kept == "" || uris == "") return
            printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n", uris, kept, comps
            if (key != "") printf "Signed-By:%s\n", key
            printf "\n"
        }
        function reset() { types = uris = suites = comps = key = enabled = ""; field = "" }
        function flush() {
            if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) != "no")
                emit(uris, suites, comps, key)
            reset()
        }
        BEGIN { reset() }
        format == "oneline" {
            sub(/#.*/, "")
            if ($1 != "deb") next
            line = $0
            sub(/^[ \t]*deb[ \t]+/, "", line)
            opts = ""
            if (line ~ /^\[/) {
                opts = substr(line, 2, index(line, "]") - 2)
                line = substr(line, index(line, "]") + 1)
            }
            n = split(line, w, /[ \t]+/)
            j = 0
            for (i = 1; i <= n; i++) if (w[i] != "") words[++j] = w[i]
            if (j < 3) next
            comps = words[3]
            for (i = 4; i <= j; i++) comps = comps " " words[i]
            key = ""
            m = split(opts, o, /[ \t]+/)
            for (i = 1; i <= m; i++)
                if (tolower(o[i]) ~ /^signed-by=/) key = " " substr(o[i], 11)
            emit(words[1], words[2], comps, key)
            next
        }
        /^#/ { next }
        /^[ \t]*$/ { flush(); next }
        /^[ \t]/ {
            # A continuation line: only a multi-line Signed-By (an inline key) has them.
            if (field == "signed-by") key = key "\n" $0
            next
        }
        {
            name = tolower(substr($0, 1, index($0, ":") - 1))
            value = substr($0, index($0, ":") + 1)
            field = name
            if (name == "signed-by") { key = value; next }
            gsub(/^[ \t]+|[ \t]+$/, "", value)
            if (name == "types") types = value
            else if (name == "uris") uris = value
            else if (name == "suites") suites = value
            else if (name == "components") comps = value
            else if (name == "enabled") enabled = value
        }
        END { if (format == "deb822") flush() }
    ' "$f"
done
