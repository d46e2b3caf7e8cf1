/*
 * Loads a vxr_pop.xpl the way the simulator does (dlopen, every symbol bound
 * at once) into a program that links nothing but libc and defines the XPLM
 * functions itself, and runs it through start, enable, a message, disable and
 * stop. Prints each step; exit 0 when the library loaded and started and
 * enabled. Run by load-check.sh under LD_DEBUG=files.
 * Usage: xpl_load_check PLUGIN.xpl
 */
#include "xplm_stubs.h"

#include <dlfcn.h>
#include <stdio.h>

typedef int (*start_fn)(char *, char *, char *);
typedef int (*enable_fn)(void);
typedef void (*void_fn)(void);
typedef void (*message_fn)(int, int, void *);

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s PLUGIN.xpl\n", argv[0]);
        return 2;
    }
    xplm_stub_set_plugin_path(argv[1]);
    printf("load-check: dlopen %s\n", argv[1]);
    fflush(stdout);
    void *lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (lib == NULL) {
        printf("load-check: FAILED: %s\n", dlerror());
        return 1;
    }
    start_fn start = (start_fn)dlsym(lib, "XPluginStart");
    enable_fn enable = (enable_fn)dlsym(lib, "XPluginEnable");
    message_fn message = (message_fn)dlsym(lib, "XPluginReceiveMessage");
    void_fn disable = (void_fn)dlsym(lib, "XPluginDisable");
    void_fn stop = (void_fn)dlsym(lib, "XPluginStop");
    if (!start || !enable || !message || !disable || !stop) {
        printf("load-check: FAILED: an entry point is missing\n");
        return 1;
    }

    char name[256] = "", sig[256] = "", desc[256] = "";
    int started = start(name, sig, desc);
    printf("load-check: XPluginStart returned %d (\"%s\", \"%s\")\n", started, name, sig);
    int enabled = started ? enable() : 0;
    printf("load-check: XPluginEnable returned %d\n", enabled);
    /* XPLM_MSG_PLANE_LOADED from the simulator, for the user's aircraft. */
    message(0, 102, NULL);
    printf("load-check: XPluginReceiveMessage returned\n");
    if (enabled)
        disable();
    printf("load-check: XPluginDisable returned\n");
    if (started)
        stop();
    printf("load-check: XPluginStop returned\n");
    fflush(stdout);
    if (dlclose(lib) != 0)
        printf("load-check: dlclose: %s\n", dlerror());
    if (!started || !enabled || sig[0] == '\0') {
        printf("load-check: FAILED: the plug-in did not start and enable; its log:\n%s", xplm_stub_log());
        return 1;
    }
    printf("load-check: passed\n");
    return 0;
}
