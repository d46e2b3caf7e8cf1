#!/usr/bin/env bash
# Loads the Windows plug-in under Wine the way the simulator's loader does
# (LoadLibraryEx from another folder, then XPluginStart, XPluginStop,
# FreeLibrary) beside a stand-in XPLM_64.dll made from our SDK headers, whose
# XPLMDebugString writes Log.txt and whose other functions do nothing. Without
# a GL context the start must still succeed, say so in the log, and unload.
# Usage: wine-start-test.sh PLUGIN.xpl REPO_ROOT
set -euo pipefail

xpl=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$2
wine=${WINE:-/usr/lib/wine/wine64}
cc=${CC_WIN:-x86_64-w64-mingw32-gcc-posix}
tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
cleanup() {
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

"$root/tools/win/xplm-def.sh" "$tmp/XPLM_64.def" "$root"/sdk/XPLM/*.h
{
    echo '#include <stdint.h>'
    echo '#include <stdio.h>'
    echo '__declspec(dllexport) void XPLMDebugString(const char *s)'
    echo '{ FILE *f = fopen("Log.txt", "a"); if (f) { fputs(s, f); fclose(f); } }'
    awk 'NR > 2 && $1 != "XPLMDebugString" { print "__declspec(dllexport) intptr_t " $1 "(void) { return 0; }" }' "$tmp/XPLM_64.def"
} > "$tmp/xplm_stub.c"
"$cc" -shared -o "$tmp/XPLM_64.dll" "$tmp/xplm_stub.c" -Wl,--exclude-all-symbols

cat > "$tmp/loader.c" <<'SRC'
#include <windows.h>
#include <stdio.h>
typedef int (*start_fn)(char *, char *, char *);
typedef void (*stop_fn)(void);
int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    HMODULE lib = LoadLibraryExA(argv[1], NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (lib == NULL) {
        printf("LoadLibraryEx failed: %lu\n", GetLastError());
        return 1;
    }
    start_fn start = (start_fn)(void (*)(void))GetProcAddress(lib, "XPluginStart");
    stop_fn stop = (stop_fn)(void (*)(void))GetProcAddress(lib, "XPluginStop");
    if (start == NULL || stop == NULL) {
        printf("entry points missing\n");
        return 1;
    }
    char name[256] = "", sig[256] = "", desc[256] = "";
    int started = start(name, sig, desc);
    printf("XPluginStart %d name=%s sig=%s\n", started, name, sig);
    stop();
    printf("FreeLibrary %d\n", FreeLibrary(lib) ? 1 : 0);
    return 0;
}
SRC
"$cc" -o "$tmp/loader.exe" "$tmp/loader.c"

out=$(cd "$tmp" && "$wine" ./loader.exe "Z:${xpl//\//\\}" 2>/dev/null) || true

passed=0
failed=0
expect_in() {
    local where=$1 text=$2 haystack=$3
    if grep -qF -- "$text" <<<"$haystack"; then
        echo "ok: $where has '$text'"
        passed=$((passed + 1))
    else
        echo "FAILED: $where lacks '$text'"
        failed=$((failed + 1))
    fi
}
log=$(cat "$tmp/Log.txt" 2>/dev/null || true)
expect_in "the loader's output" "XPluginStart 1 name=Corvanta G1000 Popups sig=qlb.VXRPopup" "$out"
expect_in "the loader's output" "FreeLibrary 1" "$out"
expect_in "Log.txt" "VXR V20 (QLB) POPUP[Main.cpp:" "$log"
expect_in "Log.txt" "Startup Completed" "$log"
expect_in "Log.txt" "XPLMStart Complete" "$log"
expect_in "Log.txt" "XPLMStop Complete" "$log"
if [ "$failed" -ne 0 ]; then
    echo "loader output:"; echo "$out" | sed 's/^/    /'
    echo "Log.txt:"; echo "$log" | sed 's/^/    /'
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
