# What the checks of the built plug-in files share (they source it): their
# argument check, the five entry points a plug-in exports, and the findings
# they print as "ok: ..." or "FAILED: ..." and count.

ENTRY_POINTS="XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart XPluginStop"

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

# Exits 2 with the usage line unless the script was given COUNT arguments.
# Usage: expect_args COUNT "USAGE" "$@"
expect_args() {
    local count=$1 usage=$2
    shift 2
    if [ $# -ne "$count" ]; then
        echo "usage: $usage" >&2
        exit 2
    fi
}

# The tally, and the script's status: 0 when nothing failed.
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
