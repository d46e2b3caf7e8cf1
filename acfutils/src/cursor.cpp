/*
 * Cursors: a PNG read with cairo into ARGB32 pixels, handed to the desktop's
 * cursor functions, which the host program provides.
 */
#include <acfutils/cursor.h>

#include <cstring>
#include <vector>
#include <cairo.h>
#if defined(_WIN32)
#include <windows.h>
#endif

#include <acfutils/helpers.h>
#include <acfutils/log.h>

struct cursor {
    void *os_cursor;
};

namespace {

typedef void *(*os_cursor_create_fn)(const uint32_t *argb, int w, int h, const char *name);
typedef void (*os_cursor_handle_fn)(void *os_cursor);

struct os_cursor_hooks {
    os_cursor_create_fn create;
    os_cursor_handle_fn show;
    os_cursor_handle_fn destroy;
};

#if defined(_WIN32)
// The stand-in program exports the hooks; the simulator does not, and then
// cursors load but are never shown.
os_cursor_hooks hooks()
{
    HMODULE exe = GetModuleHandle(NULL);
    return {
        // Through void (*)(), the one function type GCC lets any other be cast from.
        reinterpret_cast<os_cursor_create_fn>(reinterpret_cast<void (*)()>(GetProcAddress(exe, "lacf_os_cursor_create"))),
        reinterpret_cast<os_cursor_handle_fn>(reinterpret_cast<void (*)()>(GetProcAddress(exe, "lacf_os_cursor_show"))),
        reinterpret_cast<os_cursor_handle_fn>(reinterpret_cast<void (*)()>(GetProcAddress(exe, "lacf_os_cursor_destroy"))),
    };
}
#else
os_cursor_hooks hooks()
{
    return {lacf_os_cursor_create, lacf_os_cursor_show, lacf_os_cursor_destroy};
}
#endif

// The image as ARGB32 whatever format the PNG loaded in, rows packed top to bottom.
std::vector<uint32_t> argb_pixels(cairo_surface_t *png, int w, int h)
{
    cairo_surface_t *argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t *cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);

    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    const unsigned char *data = cairo_image_surface_get_data(argb);
    int stride = cairo_image_surface_get_stride(argb);
    for (int y = 0; y < h; y++)
        memcpy(&pixels[static_cast<size_t>(y) * w], data + static_cast<size_t>(y) * stride, w * sizeof(uint32_t));
    cairo_surface_destroy(argb);
    return pixels;
}

}  // namespace

cursor_t *cursor_read_from_file(const char *filename)
{
    cairo_surface_t *png = cairo_image_surface_create_from_png(filename);
    cairo_status_t status = cairo_surface_status(png);
    if (status != CAIRO_STATUS_SUCCESS) {
        logMsg("Cannot read cursor %s: %s", filename, cairo_status_to_string(status));
        cairo_surface_destroy(png);
        return nullptr;
    }
    int w = cairo_image_surface_get_width(png);
    int h = cairo_image_surface_get_height(png);
    std::vector<uint32_t> pixels = argb_pixels(png, w, h);
    cairo_surface_destroy(png);

    void *os_cursor = nullptr;
    os_cursor_hooks os = hooks();
    if (os.create != nullptr) {
        os_cursor = os.create(pixels.data(), w, h, filename);
        if (os_cursor == nullptr) {
            logMsg("Cannot make cursor %s: the desktop refused it", filename);
            return nullptr;
        }
    }
    cursor_t *cur = static_cast<cursor_t *>(lacf_malloc(sizeof(cursor_t)));
    if (cur == nullptr) {
        if (os_cursor != nullptr && os.destroy != nullptr)
            os.destroy(os_cursor);
        logMsg("Cannot make cursor %s: out of memory", filename);
        return nullptr;
    }
    cur->os_cursor = os_cursor;
    return cur;
}

void cursor_make_current(cursor_t *cur)
{
    os_cursor_hooks os = hooks();
    if (cur != nullptr && cur->os_cursor != nullptr && os.show != nullptr)
        os.show(cur->os_cursor);
}

void cursor_free(cursor_t *cur)
{
    if (cur == nullptr)
        return;
    os_cursor_hooks os = hooks();
    if (cur->os_cursor != nullptr && os.destroy != nullptr)
        os.destroy(cur->os_cursor);
    lacf_free(cur);
}
