#!/usr/bin/env bash
# Prints the Debian archive this machine's apt takes its packages from: the
# first enabled 'deb' entry for this release's own suite (not its updates or
# security suites), one-line or deb822. The Debian 11 root is made from it.
# Usage: apt-mirror.sh [APT_ETC_DIR] [CODENAME]   (defaults: /etc/apt, this release)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
etc=${1:-/etc/apt}
codename=${2:-}
if [ -z "$codename" ]; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
fi

# deb-src-list.sh reads apt's files as apt does and keeps this release's
# entries, one stanza each, in apt's order.
mirror=$("$HERE/../win/deb-src-list.sh" "$etc" "$codename" | awk -v codename="$codename" '
    /^URIs:/ { uris = $2 }
    /^Suites:/ {
        for (i = 2; i <= NF; i++)
            if ($i == codename) { print uris; exit }
    }')
if [ -z "$mirror" ]; then
    echo "apt-mirror: no 'deb' entry for $codename in $etc/sources.list or $etc/sources.list.d/" >&2
    exit 1
fi
echo "$mirror"
