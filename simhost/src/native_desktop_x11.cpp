/*
 * The real desktop on an X server (Xvfb in the tests): override-redirect
 * windows for the covered monitors (the one on monitor 0 is the main window)
 * and the operating-system windows (popped out, or full screen on a monitor
 * the simulator does not cover), the pointer warped
 * with XWarpPointer, the cursor read back with XFixes, and the cursors other
 * clients (the plug-in) hold counted with the X-Resource extension.
 */
#if !defined(_WIN32)

#include "native_desktop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/Xfixes.h>

namespace simhost {
namespace {

// The simulator keeps going whatever the server says of its requests (a
// window a plug-in destroyed, a client gone while it was counted).
int ignore_x_error(Display *, XErrorEvent *) { return 0; }

struct NativeWindow {
    ::Window id = 0;
    Rect os;
};

}  // namespace

struct NativeDesktop::Impl {
    Display *display = nullptr;
    ::Window root = 0;
    Rect origin;                  // the OS-pixel bounds the screen's top-left corner stands for
    NativeWindow main;                          // full screen on monitor 0
    std::vector<NativeWindow> screens;          // [i]: full screen on covered monitor i > 0
    std::map<const Window *, NativeWindow> os_windows;
    Cursor arrow = 0, blank = 0;
    bool fixes = false, xres = false;

    ::Window create(const Rect &os)
    {
        XSetWindowAttributes attributes = {};
        attributes.override_redirect = True;
        attributes.background_pixel = 0;
        ::Window id = XCreateWindow(display, root, 0, 0, 1, 1, 0, CopyFromParent, InputOutput, CopyFromParent,
                                    CWOverrideRedirect | CWBackPixel, &attributes);
        NativeWindow placed{id, Rect{}};
        place(&placed, os);
        XMapRaised(display, id);
        return id;
    }

    void place(NativeWindow *window, const Rect &os)
    {
        if (window->os.left == os.left && window->os.top == os.top && window->os.right == os.right &&
            window->os.bottom == os.bottom)
            return;
        window->os = os;
        XMoveResizeWindow(display, window->id, os.left - origin.left, origin.top - os.top,
                          static_cast<unsigned>(std::max(1, os.width())), static_cast<unsigned>(std::max(1, os.height())));
    }

    // The deepest window under the pointer, 0 over none.
    ::Window under_pointer() const
    {
        ::Window root_return, child, found = 0, at = root;
        int root_x, root_y, x, y;
        unsigned int mask;
        while (XQueryPointer(display, at, &root_return, &child, &root_x, &root_y, &x, &y, &mask) && child != None) {
            found = child;
            at = child;
        }
        return found;
    }
};

NativeDesktop::NativeDesktop() : impl_(std::make_unique<Impl>())
{
    const char *name = getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0')
        return;
    Impl &x = *impl_;
    x.display = XOpenDisplay(name);
    if (x.display == nullptr)
        return;
    XSetErrorHandler(ignore_x_error);
    x.root = DefaultRootWindow(x.display);
    int event_base, error_base;
    x.fixes = XFixesQueryExtension(x.display, &event_base, &error_base);
    x.xres = XResQueryExtension(x.display, &event_base, &error_base);
    x.arrow = XCreateFontCursor(x.display, XC_left_ptr);
    char nothing = 0;
    Pixmap empty = XCreateBitmapFromData(x.display, x.root, &nothing, 1, 1);
    XColor black = {};
    x.blank = XCreatePixmapCursor(x.display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(x.display, empty);
    x.main.id = x.create(Rect{0, 1, 1, 0});
    XSync(x.display, False);
}

NativeDesktop::~NativeDesktop()
{
    Impl &x = *impl_;
    if (x.display == nullptr)
        return;
    for (auto &entry : x.os_windows)
        XDestroyWindow(x.display, entry.second.id);
    for (NativeWindow &screen : x.screens) {
        if (screen.id != 0)
            XDestroyWindow(x.display, screen.id);
    }
    XDestroyWindow(x.display, x.main.id);
    XFreeCursor(x.display, x.arrow);
    XFreeCursor(x.display, x.blank);
    XCloseDisplay(x.display);
}

bool NativeDesktop::present() const { return impl_->display != nullptr; }

uint64_t NativeDesktop::main_handle() const { return impl_->main.id; }

void NativeDesktop::follow(const Desktop &layout, const WindowList &windows)
{
    Impl &x = *impl_;
    if (x.display == nullptr)
        return;
    Rect bounds = layout.os_bounds();
    if (bounds.left != x.origin.left || bounds.top != x.origin.top) {
        // Every window stands somewhere else on the screen now.
        x.origin = bounds;
        x.main.os = Rect{};
        for (NativeWindow &screen : x.screens)
            screen.os = Rect{};
        for (auto &entry : x.os_windows)
            entry.second.os = Rect{};
    }
    // The simulator's full-screen windows: the main one, and one on every
    // other monitor it covers.
    x.place(&x.main, layout.os(0));
    for (size_t i = static_cast<size_t>(layout.count()); i < x.screens.size(); i++) {
        if (x.screens[i].id != 0)
            XDestroyWindow(x.display, x.screens[i].id);
    }
    x.screens.resize(static_cast<size_t>(layout.count()));
    for (int i = 1; i < layout.count(); i++) {
        NativeWindow &screen = x.screens[static_cast<size_t>(i)];
        if (!layout.covered(i)) {
            if (screen.id != 0)
                XDestroyWindow(x.display, screen.id);
            screen = NativeWindow();
        } else if (screen.id == 0) {
            screen.id = x.create(layout.os(i));
            screen.os = layout.os(i);
        } else {
            x.place(&screen, layout.os(i));
        }
    }

    // Operating-system windows above them, back to front.
    const std::vector<std::pair<const Window *, Rect>> wanted = windows.os_windows_back_to_front(layout);
    std::map<const Window *, NativeWindow> shown;
    for (const auto &[window, os] : wanted) {
        auto found = x.os_windows.find(window);
        NativeWindow native;
        if (found == x.os_windows.end()) {
            native.id = x.create(os);
            native.os = os;
        } else {
            native = found->second;
            x.os_windows.erase(found);
            x.place(&native, os);
        }
        XRaiseWindow(x.display, native.id);
        shown[window] = native;
    }
    for (auto &gone : x.os_windows)
        XDestroyWindow(x.display, gone.second.id);
    x.os_windows = shown;
    XSync(x.display, False);
}

void NativeDesktop::warp_pointer(const Desktop &layout, int os_x, int os_y)
{
    Impl &x = *impl_;
    if (x.display == nullptr)
        return;
    Rect bounds = layout.os_bounds();
    XWarpPointer(x.display, None, x.root, 0, 0, 0, 0, os_x - bounds.left, bounds.top - os_y);
    // Answered only once the server has moved the pointer: the plug-in's own
    // connection finds it there.
    XSync(x.display, False);
}

void NativeDesktop::show_simulator_cursor(XPLMCursorStatus status)
{
    Impl &x = *impl_;
    if (x.display == nullptr)
        return;
    ::Window target = x.under_pointer();
    XDefineCursor(x.display, target != 0 ? target : x.main.id, status == xplm_CursorHidden ? x.blank : x.arrow);
    XSync(x.display, False);
}

bool NativeDesktop::read_cursor(DesktopCursor *out) const
{
    const Impl &x = *impl_;
    if (x.display == nullptr || !x.fixes || x.under_pointer() == 0)
        return false;
    XFixesCursorImage *image = XFixesGetCursorImage(x.display);
    if (image == nullptr)
        return false;
    out->width = image->width;
    out->height = image->height;
    out->hot_x = image->xhot;
    out->hot_y = image->yhot;
    out->argb.resize(static_cast<size_t>(image->width) * image->height);
    // Xlib hands the 32-bit pixels over in unsigned longs.
    for (size_t i = 0; i < out->argb.size(); i++)
        out->argb[i] = static_cast<uint32_t>(image->pixels[i]);
    XFree(image);
    return true;
}

int NativeDesktop::foreign_cursors() const
{
    const Impl &x = *impl_;
    if (x.display == nullptr || !x.xres)
        return 0;
    Atom cursor_type = XInternAtom(x.display, "CURSOR", False);
    XResClient *clients = nullptr;
    int count = 0;
    if (!XResQueryClients(x.display, &count, &clients))
        return 0;
    int cursors = 0;
    for (int i = 0; i < count; i++) {
        XID base = clients[i].resource_base;
        // Our own resources, and the server's.
        if (base == 0 || (x.main.id & ~clients[i].resource_mask) == base)
            continue;
        XResType *types = nullptr;
        int type_count = 0;
        if (!XResQueryClientResources(x.display, base, &type_count, &types))
            continue;
        for (int t = 0; t < type_count; t++) {
            if (types[t].resource_type == cursor_type)
                cursors += static_cast<int>(types[t].count);
        }
        XFree(types);
    }
    XFree(clients);
    return cursors;
}

}  // namespace simhost

#endif
