/*
 * Cursors on X11: libX11 and libXcursor are opened with dlopen when the first
 * cursor is read (the library links neither), one display connection serves
 * every cursor and is closed with the last one, and a cursor is made current
 * by defining it on the simulator's window under the pointer (its main
 * window, or a popped-out window, which is an X window of its own), and
 * given back (undefined there) when the pointer has left.
 */
#if !defined(_WIN32)

#include "cursor_os.h"

#include <dlfcn.h>
#include <cstdlib>
#include <X11/Xlib.h>
#include <X11/Xcursor/Xcursor.h>

#include <XPLMDataAccess.h>
#include <XPLMProcessing.h>
#include <acfutils/log.h>

namespace {

struct x11_api {
    Display *(*XOpenDisplay)(const char *);
    int (*XCloseDisplay)(Display *);
    Window (*XDefaultRootWindow)(Display *);
    int (*XDefineCursor)(Display *, Window, Cursor);
    int (*XUndefineCursor)(Display *, Window);
    int (*XFreeCursor)(Display *, Cursor);
    int (*XSync)(Display *, Bool);
    Bool (*XQueryPointer)(Display *, Window, Window *, Window *, int *, int *, int *, int *, unsigned int *);
    XErrorHandler (*XSetErrorHandler)(XErrorHandler);
    XcursorImage *(*XcursorImageCreate)(int, int);
    void (*XcursorImageDestroy)(XcursorImage *);
    Cursor (*XcursorImageLoadCursor)(Display *, const XcursorImage *);
};

enum class x11_state { untried, ready, off };

struct x11_session {
    x11_state state = x11_state::untried;
    void *libx11 = nullptr;
    void *libxcursor = nullptr;
    x11_api api = {};
    Display *display = nullptr;
    XPLMDataRef window_ref = nullptr;
    int cursors = 0;              // cursor_t records alive
    bool window_reported = false;
    bool error_reported = false;
    // The cursor defined last, the X window it was defined on, where the
    // caller said the pointer was, and the simulator's cycle it was asked for
    // in: asked again from the same place for the very next cycle, it is
    // still there.
    Cursor shown = None;
    Window shown_on = 0;
    const void *shown_window = nullptr;
    int shown_part = 0;
    int shown_cycle = 0;
    // The handler that was installed before ours, which ours passes on to.
    XErrorHandler previous_handler = nullptr;
};

x11_session x11;
int x_errors = 0;
int last_x_error = 0;

// Installed once while the display is open: errors on our connection are
// counted (and read after our own calls), errors on any other connection
// (the simulator's) go to the handler that was there before.
int count_x_error(Display *display, XErrorEvent *event)
{
    if (display != x11.display && x11.previous_handler != nullptr)
        return x11.previous_handler(display, event);
    x_errors++;
    last_x_error = event->error_code;
    return 0;
}

void install_error_handler()
{
    x11.previous_handler = x11.api.XSetErrorHandler(count_x_error);
}

// Puts the earlier handler back, unless someone installed another after ours.
void remove_error_handler()
{
    XErrorHandler current = x11.api.XSetErrorHandler(x11.previous_handler);
    if (current != count_x_error)
        x11.api.XSetErrorHandler(current);
    x11.previous_handler = nullptr;
}

template <typename F>
bool find(void *lib, const char *name, F *fn)
{
    *fn = reinterpret_cast<F>(dlsym(lib, name));
    return *fn != nullptr;
}

bool load_api()
{
    x11.libx11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (x11.libx11 == nullptr) {
        logMsg("Cursors are off: cannot load libX11.so.6 (%s)", dlerror());
        return false;
    }
    x11.libxcursor = dlopen("libXcursor.so.1", RTLD_NOW | RTLD_LOCAL);
    if (x11.libxcursor == nullptr) {
        logMsg("Cursors are off: cannot load libXcursor.so.1 (%s)", dlerror());
        return false;
    }
    x11_api &a = x11.api;
    bool found = find(x11.libx11, "XOpenDisplay", &a.XOpenDisplay) &&
                 find(x11.libx11, "XCloseDisplay", &a.XCloseDisplay) &&
                 find(x11.libx11, "XDefaultRootWindow", &a.XDefaultRootWindow) &&
                 find(x11.libx11, "XDefineCursor", &a.XDefineCursor) &&
                 find(x11.libx11, "XUndefineCursor", &a.XUndefineCursor) &&
                 find(x11.libx11, "XFreeCursor", &a.XFreeCursor) && find(x11.libx11, "XSync", &a.XSync) &&
                 find(x11.libx11, "XQueryPointer", &a.XQueryPointer) &&
                 find(x11.libx11, "XSetErrorHandler", &a.XSetErrorHandler) &&
                 find(x11.libxcursor, "XcursorImageCreate", &a.XcursorImageCreate) &&
                 find(x11.libxcursor, "XcursorImageDestroy", &a.XcursorImageDestroy) &&
                 find(x11.libxcursor, "XcursorImageLoadCursor", &a.XcursorImageLoadCursor);
    if (!found)
        logMsg("Cursors are off: libX11 or libXcursor lacks a function the cursors need");
    return found;
}

void unload_api()
{
    if (x11.libxcursor != nullptr)
        dlclose(x11.libxcursor);
    if (x11.libx11 != nullptr)
        dlclose(x11.libx11);
    x11.libx11 = x11.libxcursor = nullptr;
    x11.api = {};
}

bool open_display()
{
    if (x11.state != x11_state::untried)
        return x11.state == x11_state::ready;
    x11.state = x11_state::off;
    if (!load_api()) {
        unload_api();
        return false;
    }
    const char *name = getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        logMsg("Cursors are off: no X display (DISPLAY is not set)");
        unload_api();
        return false;
    }
    x11.display = x11.api.XOpenDisplay(name);
    if (x11.display == nullptr) {
        logMsg("Cursors are off: cannot open the X display %s", name);
        unload_api();
        return false;
    }
    install_error_handler();
    x11.state = x11_state::ready;
    return true;
}

void close_display()
{
    if (x11.display != nullptr) {
        x11.api.XCloseDisplay(x11.display);
        remove_error_handler();
    }
    unload_api();
    x11 = x11_session();
}

// The simulator's main window: the two ints of system_window_64 hold the
// 64-bit handle, low half first. 0 when the simulator gives none.
Window main_window()
{
    if (x11.window_ref == nullptr)
        x11.window_ref = XPLMFindDataRef("sim/operation/windows/system_window_64");
    int halves[2] = {0, 0};
    if (x11.window_ref == nullptr || XPLMGetDatavi(x11.window_ref, halves, 0, 2) != 2)
        return 0;
    return static_cast<Window>(static_cast<uint32_t>(halves[0]) |
                               static_cast<uint64_t>(static_cast<uint32_t>(halves[1])) << 32);
}

// The deepest window under the pointer: the simulator's main window or one of
// its popped-out windows (or a child of one). 0 when the pointer is on no
// window of this screen.
Window window_under_pointer()
{
    Window root_return, child, found = 0;
    int root_x, root_y, x, y;
    unsigned int mask;
    Window at = x11.api.XDefaultRootWindow(x11.display);
    while (x11.api.XQueryPointer(x11.display, at, &root_return, &child, &root_x, &root_y, &x, &y, &mask) &&
           child != None) {
        found = child;
        at = child;
    }
    return found;
}

}  // namespace

void os_cursor_retain()
{
    x11.cursors++;
}

void os_cursor_release()
{
    if (x11.cursors > 0 && --x11.cursors == 0)
        close_display();
}

uintptr_t os_cursor_create(const uint32_t *argb, int w, int h, int hot_x, int hot_y, const char *name)
{
    if (!open_display())
        return 0;
    XcursorImage *image = x11.api.XcursorImageCreate(w, h);
    if (image == nullptr) {
        logMsg("Cannot make cursor %s: the desktop refused it", name);
        return 0;
    }
    image->xhot = static_cast<XcursorDim>(hot_x);
    image->yhot = static_cast<XcursorDim>(hot_y);
    for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); i++)
        image->pixels[i] = argb[i];
    int errors_before = x_errors;
    Cursor cursor = x11.api.XcursorImageLoadCursor(x11.display, image);
    // Made on the server, or refused, before the cursor is handed out.
    x11.api.XSync(x11.display, False);
    if (x_errors != errors_before)
        cursor = None;
    x11.api.XcursorImageDestroy(image);
    if (cursor == None)
        logMsg("Cannot make cursor %s: the desktop refused it", name);
    return cursor;
}

// The window our cursor is defined on shows the simulator's (its parent's)
// again.
static void give_back()
{
    if (x11.shown_on != 0) {
        x11.api.XUndefineCursor(x11.display, x11.shown_on);
        // A window gone meanwhile refuses it: nothing to give back then.
        x11.api.XSync(x11.display, False);
    }
    x11.shown = None;
    x11.shown_on = 0;
    x11.shown_window = nullptr;
}

bool os_cursor_show(uintptr_t handle, const void *window, int part)
{
    if (x11.state != x11_state::ready)
        return false;
    // The simulator asks once a frame while the pointer rests in a zone: the
    // cursor defined for the frame before, from the same place, still shows,
    // and asking the server where the pointer is (Xlib allocates for every
    // reply) is left out. Another place (the pointer in another window, or
    // in another native window of this one), a frame without the question
    // or a second question in one frame defines it afresh.
    const int cycle = XPLMGetCycleNumber();
    if (x11.shown == static_cast<Cursor>(handle) && x11.shown_window == window && x11.shown_part == part &&
        cycle == x11.shown_cycle + 1) {
        x11.shown_cycle = cycle;
        return true;
    }
    x11.shown = None;
    Window main = main_window();
    if (main == 0) {
        if (!x11.window_reported)
            logMsg("Cursors are off: the simulator gives no window handle");
        x11.window_reported = true;
        return false;
    }
    int errors_before = x_errors;
    Window target = window_under_pointer();
    if (target == 0)
        target = main;
    // The window left behind shows the simulator's cursor again.
    if (x11.shown_on != 0 && x11.shown_on != target)
        give_back();
    x11.api.XDefineCursor(x11.display, target, static_cast<Cursor>(handle));
    // XSync rather than XFlush: the cursor is on the screen when this returns
    // (another client reading it back finds it), and an error for this very
    // definition (a window gone meanwhile) reaches our handler here.
    x11.api.XSync(x11.display, False);
    if (x_errors == errors_before) {
        x11.shown = static_cast<Cursor>(handle);
        x11.shown_on = target;
        x11.shown_window = window;
        x11.shown_part = part;
        x11.shown_cycle = cycle;
        return true;
    }
    x11.shown_on = 0;
    if (!x11.error_reported)
        logMsg("Cursor not shown: the X server refused it on window 0x%lx (error %d)",
               static_cast<unsigned long>(target), last_x_error);
    x11.error_reported = true;
    return false;
}

void os_cursor_give_back()
{
    if (x11.state == x11_state::ready && x11.shown_on != 0)
        give_back();
}

void os_cursor_give_back_unasked()
{
    // Asked in this cycle or the one before: the pointer is still on it.
    if (x11.state == x11_state::ready && x11.shown_on != 0 && XPLMGetCycleNumber() > x11.shown_cycle + 1)
        give_back();
}

void os_cursor_destroy(uintptr_t handle)
{
    if (x11.state != x11_state::ready)
        return;
    if (x11.shown == static_cast<Cursor>(handle))
        give_back();
    x11.api.XFreeCursor(x11.display, static_cast<Cursor>(handle));
    x11.api.XSync(x11.display, False);
}

#endif
