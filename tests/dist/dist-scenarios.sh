#!/usr/bin/env bash
# Runs scenarios on the release archive in DIST_DIR as a user installs it:
# for each script a fresh simulator folder with nothing but the archive
# unpacked into Resources/plugins/ (no settings folder: the plug-in makes it),
# and the stand-in (build/bin/simhost, or tools/win/simhost-win.sh) run there.
# Each must pass, with the plug-in running from that folder and leaving the
# settings it wrote there.
# Usage: dist-scenarios.sh DIST_DIR SIMHOST WORK_DIR SCRIPT...
set -uo pipefail
. "$(dirname "$0")/../support/findings.sh"

if [ $# -lt 4 ]; then
    echo "usage: $0 DIST_DIR SIMHOST WORK_DIR SCRIPT..." >&2
    exit 2
fi
dist=$1 simhost=$2 work=$3
shift 3
archive=$(ls "$dist"/vxr_popups-*.zip | grep -v -- '-debug\.zip$')

rm -rf "$work"
for script in "$@"; do
    scn=$(basename "$script" .scn)
    root=$work/$scn/xplane
    mkdir -p "$root/Resources/plugins" || exit 2
    unzip -q "$archive" -d "$root/Resources/plugins" || exit 2
    "$simhost" --root "$root" --script "$script" --out "$work/$scn/out"
    rc=$?
    [ "$rc" -eq 0 ] && pass "$scn passed on the unpacked archive" || fail "$scn exited with $rc"
    # The plug-in logs its folder: the unpacked one, not the build's.
    grep -F "$root/Resources/plugins/popups/" "$work/$scn/out/Log.txt" >/dev/null &&
        pass "$scn: the plug-in ran from the unpacked folder" ||
        fail "$scn: the log does not name $root/Resources/plugins/popups/"
    [ -s "$root/Resources/plugins/popups/settings/popups.cfg" ] &&
        pass "$scn: the plug-in made settings/popups.cfg" ||
        fail "$scn: no settings/popups.cfg after the run"
done
finish
