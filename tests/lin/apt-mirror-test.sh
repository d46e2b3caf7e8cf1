#!/usr/bin/env bash
# apt-mirror.sh on made-up apt configurations: the archive of this release's
# own suite is found in a one-line list and in a deb822 file, whichever comes
# first in apt's order; security, updates, disabled and foreign entries are
# passed over; no entry is an error; DEB11_MIRROR overrides in deb11-root.sh;
# and no file of the project names an archive's host.
# Usage: apt-mirror-test.sh REPO
set -euo pipefail

repo=$1
script=$repo/tools/lin/apt-mirror.sh
etc=$(mktemp -d)
trap 'rm -rf "$etc"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

mkdir -p "$etc/one/sources.list.d" "$etc/deb822/sources.list.d" "$etc/none/sources.list.d"
cat > "$etc/one/sources.list" <<'LIST'
# deb http://commented.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb [signed-by=/keys/d.gpg] http://one.example/debian bookworm main
LIST
cat > "$etc/deb822/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://off.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://updates.example/debian
Suites: bookworm-updates
Components: main

Types: deb deb-src
URIs: http://deb822.example/debian
Suites: bookworm bookworm-updates
Components: main
SOURCES
echo "deb http://vendor.example/apt nodistro main" > "$etc/none/sources.list"

[ "$("$script" "$etc/one" bookworm)" = http://one.example/debian ] || fail "one-line list"
[ "$("$script" "$etc/deb822" bookworm)" = http://deb822.example/debian ] || fail "deb822 file"
if "$script" "$etc/none" bookworm 2>/dev/null; then fail "no entry for the release gave a mirror"; fi
[ -z "$("$script" "$etc/one" trixie 2>/dev/null || true)" ] || fail "another release's entry was taken"

# deb11-root.sh takes the machine's mirror unless DEB11_MIRROR names one.
grep -q 'MIRROR=${DEB11_MIRROR:-$("$HERE/apt-mirror.sh")}' "$repo/tools/lin/deb11-root.sh" ||
    fail "deb11-root.sh does not take its mirror from apt-mirror.sh with DEB11_MIRROR as override"
# No file of the project names a package archive's host.
if git -C "$repo" ls-files -z | (cd "$repo" && xargs -0 grep -IlE '(deb|ftp|snapshot|security|archive|httpredir)\.(debian|ubuntu)\.(org|com)'); then
    fail "the files above name a package archive's host"
fi
echo "apt-mirror: all cases hold"
