#!/usr/bin/env bash
# deb-src-list.sh on a made-up apt configuration: it must twin exactly this
# release's 'deb' entries (one-line and deb822, with their signing keys, inline
# keys too), and leave out other releases, foreign archives, disabled entries,
# existing deb-src lines, comments and files apt does not read.
# Usage: deb-src-list-test.sh PATH/TO/deb-src-list.sh
set -euo pipefail

script=$1
etc=$(mktemp -d)
trap 'rm -rf "$etc"' EXIT
mkdir -p "$etc/sources.list.d"

cat > "$etc/sources.list" <<'LIST'
# deb http://commented.example/debian bookworm main
deb [arch=amd64 signed-by=/keys/debian.gpg] http://mirror.example/debian bookworm main contrib
deb http://mirror.example/debian bookworm-updates main   # trailing comment
deb-src http://mirror.example/debian bookworm main
deb http://foreign.example/repo stable main
deb http://mirror.example/debian trixie main
LIST

cat > "$etc/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://deb.example/debian
Suites: bookworm bookworm-updates trixie
Components: main non-free-firmware
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

# The security archive.
Types: deb deb-src
URIs: http://deb.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://off.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://vendor.example/apt
Suites: nodistro
Components: main
SOURCES

cat > "$etc/sources.list.d/inline.sources" <<'SOURCES'
Types: deb
URIs: http://inline.example/debian
Suites: bookworm-backports
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGOtestkeyline
 -----END PGP PUBLIC KEY BLOCK-----
SOURCES

echo "deb http://ignored.example/debian bookworm main" > "$etc/sources.list.d/old.list.disabled"

cat > "$etc/expected" <<'EXPECTED'
Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm
Components: main contrib
Signed-By: /keys/debian.gpg

Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm-updates
Components: main

Types: deb-src
URIs: http://deb.example/debian
Suites: bookworm bookworm-updates
Components: main non-free-firmware
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://inline.example/debian
Suites: bookworm-backports
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGOtestkeyline
 -----END PGP PUBLIC KEY BLOCK-----

EXPECTED

failed=0
if "$script" "$etc" bookworm > "$etc/actual" && cmp -s "$etc/expected" "$etc/actual"; then
    echo "ok: the deb-src twin of the bookworm entries"
else
    echo "FAILED: deb-src-list.sh output differs from the expected list:"
    diff "$etc/expected" "$etc/actual" || true
    failed=1
fi

rm -f "$etc/sources.list" "$etc"/sources.list.d/*
if [ -z "$("$script" "$etc" bookworm)" ]; then
    echo "ok: nothing for a configuration without entries"
else
    echo "FAILED: output for an empty configuration"
    failed=$((failed + 1))
fi

echo "$((2 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
