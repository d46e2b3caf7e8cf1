#!/usr/bin/env bash
# Runs scenarios with the simulator folder, and the output, at a path with
# spaces, a Latin letter outside ASCII and letters outside every single-byte
# code page, as a user's folder may be named. Each scenario must pass there,
# and the files must land under those names: the log names the plug-in's
# folder in the simulator's native form, the settings are in the plug-in's
# own settings folder, and nothing was made under a garbled name beside it.
# Usage: unicode_root.sh SIMHOST TEMPLATE_DIR WORK_DIR SCRIPT...
#   SIMHOST       the stand-in (build/bin/simhost, or tools/win/simhost-win.sh)
#   TEMPLATE_DIR  the built simulator-like folder to copy
#   WORK_DIR      emptied and used for the folder and the output
set -uo pipefail
export LC_ALL=C.UTF-8

simhost=$1 template=$2 work=$3
shift 3
name='X-Plane 12 Jürgen 飞行'
root="$work/$name"
out="$work/out $name"
plugin_rel=Resources/plugins/popups
failures=0
skipped=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work" "$out" || exit 2
cp -R "$template/." "$root" || exit 2
rm -f "$root/Log.txt"

for script in "$@"; do
    scn=$(basename "$script" .scn)
    rm -rf "$root/$plugin_rel/settings"
    mkdir -p "$root/$plugin_rel/settings"
    rm -f "$root/Log.txt"
    echo "== $scn"
    "$simhost" --root "$root" --script "$script" --out "$out/$scn"
    rc=$?
    # 77: every check that could be made held; some (cursors) could not here.
    if [ "$rc" -eq 77 ]; then
        skipped=$((skipped + 1))
    elif [ "$rc" -ne 0 ]; then
        fail "$scn exited with $rc"
    fi
    [ -f "$out/$scn/report.md" ] || fail "$scn: no report.md in $out/$scn"
    # Log.txt is copied into the output folder from the simulator folder; the
    # plug-in's own lines name its folder as the simulator handed it over.
    if [ ! -f "$out/$scn/Log.txt" ]; then
        fail "$scn: no Log.txt in $out/$scn"
    # Not grep -q: quitting at the first match would end the first grep with
    # SIGPIPE, which pipefail takes for a failure.
    elif ! grep -v '^simhost: ' "$out/$scn/Log.txt" | grep -F "$name/$plugin_rel/" >/dev/null; then
        fail "$scn: the log does not name the plug-in's folder as $name/$plugin_rel/"
        grep -F "$plugin_rel" "$out/$scn/Log.txt" | head -3
    fi
    if grep -q '^shot ' "$script"; then
        ls "$out/$scn"/*-monitor0.png >/dev/null 2>&1 || fail "$scn: no screenshots in $out/$scn"
        [ -f "$out/$scn/contact-sheet.png" ] || fail "$scn: no contact sheet in $out/$scn"
    fi
    # A scenario that saves a placement leaves it in the file on disk.
    if grep -q '^expect cfg pfd_nbzl_popup_at_start 1' "$script" &&
        ! grep -q 'pfd_nbzl_popup_at_start *= *1' "$root/$plugin_rel/settings/popups.cfg" 2>/dev/null; then
        fail "$scn: $root/$plugin_rel/settings/popups.cfg does not hold the saved placement"
    fi
done

# Only the two folders made above: a narrow file call would have made its
# own folder or file under the name read in another code page.
extra=$(find "$work" -mindepth 1 -maxdepth 1 ! -name "$name" ! -name "out $name")
[ -z "$extra" ] || fail "files under other names beside the folder: $extra"
extra=$(find "$root/$plugin_rel/settings" -mindepth 1 ! -name popups.cfg 2>/dev/null)
[ -z "$extra" ] || fail "other files in the settings folder: $extra"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
if [ "$skipped" -ne 0 ]; then
    echo "passed under $root, with checks skipped in $skipped scenario(s)"
    exit 77
fi
echo "all passed under $root"
