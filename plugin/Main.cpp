/*
 * The plug-in's entry points: identity, logging, cairo and GLEW warm-up, the
 * plug-in's folder, and the order in which the settings, the popup system, the
 * capture callback and the start-up flight loop are brought up and taken down.
 */
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <cairo.h>
#include <XPLMDisplay.h>
#include <XPLMPlugin.h>
#include <XPLMProcessing.h>
#include <XPLMUtilities.h>
#include <acfutils/assert.h>
#include <acfutils/glew.h>
#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "config.h"
#include "guard.h"
#include "plugin_dir.h"
#include "startup.h"
#include "Capture/popup_capture.h"
#include "Popups/popupSystem.h"

static const char plugin_name[] = "Corvanta G1000 Popups";
static const char plugin_signature[] = "qlb.VXRPopup";
static const char version_text[] = "3.1.1e";

// The build passes the date of the commit it builds (cmake/source_date.cmake),
// as the compiler's date and time macros would print it, so that two builds of
// one commit are the same file; a build outside a repository says when it ran.
#ifndef VXR_SOURCE_DATE
#define VXR_SOURCE_DATE __DATE__ " " __TIME__
#endif
static const std::string version_banner =
    std::string("Version ") + version_text + " | Compiled On: " + VXR_SOURCE_DATE;

// The simulator hands back the library's path here; the plug-in's folder,
// with its trailing separator, is the root of settings/ and resources/.
static char plugin_file_path[512];
static char plugin_dir[512];

// The simulator's buffers for the identity strings.
static const size_t identity_buffer_size = 256;

static void log_sink(const char *line)
{
    XPLMDebugString(line);
    // The line already ends in a newline, so it is written as it is.
    fputs(line, stdout);
}

#ifdef _WIN32
static const char glew_ctx_slot_write[] = "TlsSetValue(lacf_glew_ctx_key, (void *)ctx)";
#else
static const char glew_ctx_slot_write[] = "pthread_setspecific(lacf_glew_ctx_key, (void *)ctx)";
#endif

static void set_up_glew()
{
    lacf_glew_ctx_t *ctx = lacf_glew_ctx_get();
    if (ctx == nullptr) {
        ctx = static_cast<lacf_glew_ctx_t *>(lacf_malloc(sizeof(*ctx)));
        ctx->initialized = false;
        // Without its context slot the capture could not reach the GL
        // functions at all: a programming error, not a user's. The line names
        // the call the utility library's GLEW header makes on this system.
        if (!lacf_glew_ctx_set(ctx))
            lacf_assert_fail("glew.h", __LINE__, "assertion \"%s\" failed: %s", glew_ctx_slot_write, "");
    }
    if (glewContextInit(ctx) != GLEW_OK)
        logMsg("GLEW could not load the framebuffer functions: the displays will not be captured");
}

static void start(char *name, char *sig, char *desc)
{
    // The logger first, so that a failure of any later step reaches the simulator's log.
    log_init(log_sink, "VXR V20 (QLB) POPUP");
    startup_frame = 0;
    XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
    snprintf(name, identity_buffer_size, "%s", plugin_name);
    snprintf(sig, identity_buffer_size, "%s", plugin_signature);
    snprintf(desc, identity_buffer_size, "%s", plugin_name);
    logMsg("This is custom window popups for X-Plane for Corvanta created by Hollowmere");
    logMsg("%s", version_banner.c_str());
    logMsg("Start Drawing Processes");
    cairo_surface_destroy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10));
    logMsg("Startup Completed");
    logMsg("Starting GLEW");
    set_up_glew();
    logMsg("XPLMStart Complete");
}

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc)
{
    return guarded("XPluginStart", 0, [=] {
        start(name, sig, desc);
        return 1;
    });
}

// True when plugin_dir holds the plug-in's folder.
static bool find_plugin_dir()
{
    XPLMPluginID self = XPLMFindPluginBySignature(plugin_signature);
    memset(plugin_file_path, 0, sizeof(plugin_file_path));
    XPLMGetPluginInfo(self, nullptr, plugin_file_path, nullptr, nullptr);

    switch (derive_plugin_dir(plugin_file_path, sizeof(plugin_file_path), plugin_dir, sizeof(plugin_dir))) {
    case plugin_dir_result::ok:
        return true;
    case plugin_dir_result::too_few_components:
        logMsg("The plug-in's path \"%s\" has no folder above its platform folder: running without settings",
            plugin_file_path);
        return false;
    case plugin_dir_result::too_long:
        logMsg("The plug-in's path is longer than %d characters: running without settings",
            static_cast<int>(sizeof(plugin_dir) - 1));
        return false;
    }
    return false;
}

static void enable()
{
    logMsg("XPLMEnable");
    bool have_dir = find_plugin_dir();
    logMsg("%s", plugin_dir);
    logMsg("Settings and Failures");
    if (have_dir) {
        char *settings_dir = mkpathname(plugin_dir, "settings", nullptr);
        popup_pref_registry.init(settings_dir, "popups.cfg");
        lacf_free(settings_dir);
    }
    logMsg("G1000 Popup Init");
    popups_init(plugin_dir);
    capture_sources_init();
    startup_frame = 0;
    XPLMRegisterFlightLoopCallback(startup_flight_loop, -1.0f, nullptr);
    logMsg("XPLMEnable Complete");
}

// One step of the disable, taken whatever became of the steps before it: a
// callback left registered would be called into a library that may be gone.
template <typename Step>
static void disable_step(Step step)
{
    guarded("XPluginDisable", step);
}

PLUGIN_API void XPluginDisable(void)
{
    disable_step([] { logMsg("XPLMDisable"); });
    disable_step([] { logMsg("Unregistering FLC - EF"); });
    disable_step([] { XPLMUnregisterFlightLoopCallback(startup_flight_loop, nullptr); });
    disable_step(startup_remove_menu_and_swap);
    disable_step([] { logMsg("Unregistering G1000 Popups"); });
    disable_step(capture_sources_fini);
    disable_step(popups_fini);
    disable_step([] { logMsg("Unregistering Draw Callbacks"); });
    disable_step([] { popup_pref_registry.destroy(); });
    disable_step([] { logMsg("XPLMDisable Complete"); });
}

PLUGIN_API int XPluginEnable(void)
{
    guard_forget_failures();
    if (guarded("XPluginEnable", [] { enable(); }))
        return 1;
    // The simulator does not disable a plug-in that failed to enable: take
    // down whatever was brought up.
    XPluginDisable();
    return 0;
}

PLUGIN_API void XPluginStop(void)
{
    guarded("XPluginStop", [] {
        logMsg("XPLMStop");
        logMsg("XPLMStop Complete");
    });
}

// The user's aircraft (plane 0, the parameter itself) may use the stock
// G1000 or not: the displays' sources are chosen again. X-Plane may bind the
// devices some frames later, and the last aircraft's binding may still hold:
// a line is said only for a source that changes, and the watch on the
// devices says the rest when the binding changes.
static void receive_message(int message, void *param)
{
    if (message == XPLM_MSG_PLANE_LOADED && reinterpret_cast<intptr_t>(param) == 0)
        popups_choose_sources(source_telling::changes);
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int message, void *param)
{
    guarded("XPluginReceiveMessage", [&] { receive_message(message, param); });
}
