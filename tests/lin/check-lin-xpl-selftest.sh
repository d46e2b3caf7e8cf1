#!/usr/bin/env bash
# Shows that check-lin-xpl.sh tells a self-contained plug-in folder from broken
# ones: small libraries built here with gcc, one fault each (an extra export,
# the shared C++ runtime, a system library, a file beside it, a search path, a
# glibc newer than the highest allowed, a function bound to no library), and
# a README that does or does not state the glibc the library needs.
# Usage: check-lin-xpl-selftest.sh CHECKER EXPORTS_SCRIPT
set -euo pipefail
. "$(dirname "$0")/../support/findings.sh"

expect_args 2 "$0 CHECKER EXPORTS_SCRIPT" "$@"
checker=$1
exports=$2

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cat > "$tmp/entry.c" <<'C'
#include <stdio.h>
int helper_api(char *out) { return snprintf(out, 256, "%s", "vxr"); }
int XPluginStart(char *name, char *sig, char *desc) { helper_api(sig); helper_api(desc); return helper_api(name) > 0; }
void XPluginStop(void) {}
int XPluginEnable(void) { return 1; }
void XPluginDisable(void) {}
void XPluginReceiveMessage(int from, int msg, void *param) { (void)from; (void)msg; (void)param; }
C
cat > "$tmp/cxx.cpp" <<'C'
#include <string>
static std::string held;
extern "C" int XPluginStart(char *, char *, char *) { held = std::string(40, 'x'); return held.size() > 1; }
extern "C" void XPluginStop(void) {}
extern "C" int XPluginEnable(void) { return 1; }
extern "C" void XPluginDisable(void) {}
extern "C" void XPluginReceiveMessage(int, int, void *) {}
C
cat > "$tmp/zlib.c" <<'C'
const char *zlibVersion(void);
int XPluginStart(char *name, char *sig, char *desc) { (void)name; (void)sig; (void)desc; return zlibVersion() != 0; }
void XPluginStop(void) {}
int XPluginEnable(void) { return 1; }
void XPluginDisable(void) {}
void XPluginReceiveMessage(int from, int msg, void *param) { (void)from; (void)msg; (void)param; }
C

# folder NAME: a fresh lin_x64/ folder for one case.
folder() {
    rm -rf "$tmp/$1"
    mkdir -p "$tmp/$1/lin_x64"
    echo "$tmp/$1/lin_x64"
}

# expect NAME STATUS PATTERN README [MAX_GLIBC]: the checker exits with STATUS
# (0 or 1) on folder NAME, and its output matches PATTERN.
expect() {
    local name=$1 status=$2 pattern=$3 readme=$4 max=${5:-} out rc
    set +e
    out=$("$checker" "$tmp/$name/lin_x64" "$readme" $max 2>&1)
    rc=$?
    set -e
    if [ "$rc" -eq "$status" ] && grep -Eq "$pattern" <<<"$out"; then
        pass "$name (exit $rc, /$pattern/)"
    else
        fail "$name: exit $rc (expected $status), /$pattern/ in:"
        sed 's/^/    /' <<<"$out"
    fi
}

no_line=$tmp/README-without
echo "Installing: copy the folder." > "$no_line"

dir=$(folder good)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/entry.c" -Wl,--version-script="$exports"
expect good 1 "does not state \"needs glibc [0-9.]+ or later\"" "$no_line"
version_line=$("$checker" "$dir" "$no_line" | grep -E '^needs glibc [0-9.]+ or later$' || true)
with_line=$tmp/README-with
printf 'Installing:\nthe plug-in %s.\n' "$version_line" > "$with_line"
expect good 0 "^[0-9]+ passed, 0 failed" "$with_line"

promise_line=$tmp/README-promise
echo "The released plug-in needs glibc 2.31 or later." > "$promise_line"
expect good 0 "ok: glibc [0-9.]+ is at most 2\.31" "$promise_line" 2.31
expect good 1 "does not state \"needs glibc 2\.31 or later\"" "$with_line" 2.31

# __libc_single_threaded came with glibc 2.32: too new for a 2.31 system.
cat > "$tmp/newer.c" <<'C'
extern char __libc_single_threaded;
int XPluginStart(char *name, char *sig, char *desc) { (void)name; (void)sig; (void)desc; return __libc_single_threaded; }
void XPluginStop(void) {}
int XPluginEnable(void) { return 1; }
void XPluginDisable(void) {}
void XPluginReceiveMessage(int from, int msg, void *param) { (void)from; (void)msg; (void)param; }
C
dir=$(folder newer_glibc)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/newer.c" -Wl,--version-script="$exports"
expect newer_glibc 1 "FAILED: needs glibc 2\.3[2-9], newer than 2\.31" "$promise_line" 2.31

# Linked without libc: dlopen is left for the host process to offer.
cat > "$tmp/loose.c" <<'C'
void *dlopen(const char *file, int mode);
int XPluginStart(char *name, char *sig, char *desc) { (void)name; (void)sig; (void)desc; return dlopen("x", 1) != 0; }
void XPluginStop(void) {}
int XPluginEnable(void) { return 1; }
void XPluginDisable(void) {}
void XPluginReceiveMessage(int from, int msg, void *param) { (void)from; (void)msg; (void)param; }
C
dir=$(folder loose_function)
gcc -shared -fPIC -nostdlib -o "$dir/vxr_pop.xpl" "$tmp/loose.c" -Wl,--version-script="$exports"
expect loose_function 1 "FAILED: vxr_pop.xpl needs dlopen from no library" "$with_line"

dir=$(folder extra_export)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/entry.c"
expect extra_export 1 "FAILED: vxr_pop.xpl exports '.*helper_api" "$with_line"

dir=$(folder shared_cxx_runtime)
g++ -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/cxx.cpp" -Wl,--version-script="$exports"
expect shared_cxx_runtime 1 "FAILED: vxr_pop.xpl needs libstdc\+\+\.so\.6" "$with_line"
expect shared_cxx_runtime 1 "FAILED: vxr_pop.xpl needs symbol versions .*GLIBCXX_" "$with_line"

dir=$(folder system_zlib)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/zlib.c" -Wl,--version-script="$exports" -lz
expect system_zlib 1 "FAILED: vxr_pop.xpl needs libz\.so\.1" "$with_line"

dir=$(folder library_beside)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/entry.c" -Wl,--version-script="$exports"
cp "$dir/vxr_pop.xpl" "$dir/libacfutils.so"
expect library_beside 1 "FAILED: .* holds 'libacfutils.so vxr_pop.xpl'" "$with_line"

dir=$(folder search_path)
gcc -shared -fPIC -o "$dir/vxr_pop.xpl" "$tmp/entry.c" -Wl,--version-script="$exports" \
    -Wl,--enable-new-dtags -Wl,-rpath,'$ORIGIN'
expect search_path 1 "FAILED: vxr_pop.xpl has RUNPATH" "$with_line"

finish
