/*
 * A stand-in simulator small enough to link only libc: the XPLM functions whose
 * answers the plug-in uses (its path, the screen, windows, the log), for the
 * programs that load the built vxr_pop.xpl. Every other XPLM function it
 * imports gets a generated stub that does nothing and returns zero.
 */
#ifndef XPLM_STUBS_H
#define XPLM_STUBS_H

#ifdef __cplusplus
extern "C" {
#endif

/* The path XPLMGetPluginInfo reports for the plug-in. */
void xplm_stub_set_plugin_path(const char *path);
/* Everything written through XPLMDebugString since the start, or the last clear. */
const char *xplm_stub_log(void);
void xplm_stub_clear_log(void);
/* Called with its own name on entry to each of the stubs above; may throw
 * when the caller is C++. */
extern void (*xplm_stub_hook)(const char *function);

#ifdef __cplusplus
}
#endif
#endif
