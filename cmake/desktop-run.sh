#!/bin/sh
# Runs a command on a desktop of its own: a private Xvfb (the server picks a
# free display number), DISPLAY set to it, and the server stopped when the
# command ends, also when it fails or is killed: ./desktop-run.sh PROGRAM [ARGUMENTS...]
# Without Xvfb it fails: the checks it exists for would all be skipped.
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "desktop-run: Xvfb is missing: install the package xvfb (./x setup does)" >&2
    exit 1
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/vxr-desktop.XXXXXX") || exit 1
# Large enough for the monitors the tests lay out side by side.
Xvfb -displayfd 3 -screen 0 6400x2400x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
stop() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$dir"
}
trap 'stop; exit 143' INT TERM HUP
# -displayfd writes the number once the server accepts connections.
tries=0
while [ ! -s "$dir/display" ] || ! grep -q '^[0-9][0-9]*$' "$dir/display"; do
    if ! kill -0 "$server" 2>/dev/null || [ $tries -ge 3000 ]; then
        echo "desktop-run: Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        stop
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.01
done
DISPLAY=:$(cat "$dir/display") "$@"
code=$?
stop
exit $code
