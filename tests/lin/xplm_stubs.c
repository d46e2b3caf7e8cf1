/*
 * The XPLM functions whose answers the plug-in reads back, with one monitor of
 * 1920x1080, windows that keep their geometry, and a log kept in memory.
 * Built with -fexceptions: a C++ hook may throw through these frames.
 */
#include "xplm_stubs.h"

#include <stdio.h>
#include <string.h>

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>
#include <XPLMMenus.h>
#include <XPLMPlugin.h>
#include <XPLMUtilities.h>

void (*xplm_stub_hook)(const char *function);

static char plugin_path[256];
static char log_text[64 * 1024];
static size_t log_len;

enum { screen_w = 1920, screen_h = 1080, max_windows = 16 };
static struct {
    int used, left, top, right, bottom;
} windows[max_windows];

static void enter(const char *function)
{
    if (xplm_stub_hook != NULL)
        xplm_stub_hook(function);
}

void xplm_stub_set_plugin_path(const char *path) { snprintf(plugin_path, sizeof(plugin_path), "%s", path); }
const char *xplm_stub_log(void) { return log_text; }
void xplm_stub_clear_log(void)
{
    log_len = 0;
    log_text[0] = '\0';
}

void XPLMDebugString(const char *s)
{
    enter("XPLMDebugString");
    size_t n = strlen(s);
    if (n > sizeof(log_text) - 1 - log_len)
        n = sizeof(log_text) - 1 - log_len;
    memcpy(log_text + log_len, s, n);
    log_len += n;
    log_text[log_len] = '\0';
}

XPLMPluginID XPLMFindPluginBySignature(const char *sig)
{
    enter("XPLMFindPluginBySignature");
    (void)sig;
    return 1;
}

void XPLMGetPluginInfo(XPLMPluginID id, char *name, char *path, char *sig, char *desc)
{
    enter("XPLMGetPluginInfo");
    (void)id;
    /* The SDK's buffers hold 256 bytes. */
    if (name != NULL)
        snprintf(name, 256, "vxr_pop");
    if (path != NULL)
        snprintf(path, 256, "%s", plugin_path);
    if (sig != NULL)
        snprintf(sig, 256, "stub");
    if (desc != NULL)
        snprintf(desc, 256, "stub");
}

void XPLMGetScreenSize(int *w, int *h)
{
    enter("XPLMGetScreenSize");
    if (w != NULL)
        *w = screen_w;
    if (h != NULL)
        *h = screen_h;
}

void XPLMGetMouseLocationGlobal(int *x, int *y)
{
    enter("XPLMGetMouseLocationGlobal");
    if (x != NULL)
        *x = 0;
    if (y != NULL)
        *y = 0;
}

void XPLMGetAllMonitorBoundsGlobal(XPLMReceiveMonitorBoundsGlobal_f cb, void *ref)
{
    enter("XPLMGetAllMonitorBoundsGlobal");
    cb(0, 0, screen_h, screen_w, 0, ref);
}

void XPLMGetAllMonitorBoundsOS(XPLMReceiveMonitorBoundsOS_f cb, void *ref)
{
    enter("XPLMGetAllMonitorBoundsOS");
    cb(0, 0, screen_h, screen_w, 0, ref);
}

/* Window ids are 1-based slot numbers. */
static int slot_of(XPLMWindowID id)
{
    long i = (long)(size_t)id - 1;
    return i >= 0 && i < max_windows && windows[i].used ? (int)i : -1;
}

XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t *p)
{
    enter("XPLMCreateWindowEx");
    for (int i = 0; i < max_windows; i++) {
        if (!windows[i].used) {
            windows[i].used = 1;
            windows[i].left = p->left;
            windows[i].top = p->top;
            windows[i].right = p->right;
            windows[i].bottom = p->bottom;
            return (XPLMWindowID)(size_t)(i + 1);
        }
    }
    return NULL;
}

void XPLMDestroyWindow(XPLMWindowID id)
{
    enter("XPLMDestroyWindow");
    int i = slot_of(id);
    if (i >= 0)
        windows[i].used = 0;
}

static void get_geometry(XPLMWindowID id, int *l, int *t, int *r, int *b)
{
    int i = slot_of(id);
    if (l != NULL)
        *l = i >= 0 ? windows[i].left : 0;
    if (t != NULL)
        *t = i >= 0 ? windows[i].top : 0;
    if (r != NULL)
        *r = i >= 0 ? windows[i].right : 0;
    if (b != NULL)
        *b = i >= 0 ? windows[i].bottom : 0;
}

static void set_geometry(XPLMWindowID id, int l, int t, int r, int b)
{
    int i = slot_of(id);
    if (i < 0)
        return;
    windows[i].left = l;
    windows[i].top = t;
    windows[i].right = r;
    windows[i].bottom = b;
}

void XPLMGetWindowGeometry(XPLMWindowID id, int *l, int *t, int *r, int *b)
{
    enter("XPLMGetWindowGeometry");
    get_geometry(id, l, t, r, b);
}

void XPLMGetWindowGeometryOS(XPLMWindowID id, int *l, int *t, int *r, int *b)
{
    enter("XPLMGetWindowGeometryOS");
    get_geometry(id, l, t, r, b);
}

void XPLMSetWindowGeometry(XPLMWindowID id, int l, int t, int r, int b)
{
    enter("XPLMSetWindowGeometry");
    set_geometry(id, l, t, r, b);
}

void XPLMSetWindowGeometryOS(XPLMWindowID id, int l, int t, int r, int b)
{
    enter("XPLMSetWindowGeometryOS");
    set_geometry(id, l, t, r, b);
}

/* Menus and commands: handles that are not null, as the simulator's never are. */
static int handles[4];

XPLMMenuID XPLMFindPluginsMenu(void)
{
    enter("XPLMFindPluginsMenu");
    return &handles[0];
}

XPLMMenuID XPLMCreateMenu(const char *name, XPLMMenuID parent, int item, XPLMMenuHandler_f handler, void *ref)
{
    enter("XPLMCreateMenu");
    (void)name, (void)parent, (void)item, (void)handler, (void)ref;
    return &handles[1];
}

XPLMCommandRef XPLMCreateCommand(const char *name, const char *desc)
{
    enter("XPLMCreateCommand");
    (void)name, (void)desc;
    return &handles[2];
}

XPLMCommandRef XPLMFindCommand(const char *name)
{
    enter("XPLMFindCommand");
    (void)name;
    return &handles[3];
}
