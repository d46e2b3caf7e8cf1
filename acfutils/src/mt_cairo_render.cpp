/*
 * The threaded cairo renderer. A worker thread paints one of two ARGB32
 * surfaces while the other holds the newest finished image; the drawing
 * thread uploads a newly finished image to the renderer's texture and draws
 * it as a quad with premultiplied-alpha blending.
 */
#include <acfutils/mt_cairo_render.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/glew.h>
#include <XPLMGraphics.h>

struct mt_cairo_render {
    unsigned w = 0, h = 0;
    double fps = 0;
    mt_cairo_init_cb_t init_cb = nullptr;
    mt_cairo_render_cb_t render_cb = nullptr;
    mt_cairo_fini_cb_t fini_cb = nullptr;
    void *userinfo = nullptr;

    // Touched only by the worker once it runs, except the finished image's
    // pixels, which the drawing thread reads under the lock.
    cairo_surface_t *surf[2] = {nullptr, nullptr};
    cairo_t *cr[2] = {nullptr, nullptr};
    const unsigned char *pixels[2] = {nullptr, nullptr};

    std::mutex lock;
    std::condition_variable wake;    // the worker waits here for requests and stop
    std::condition_variable done;    // callers wait here for init and for renders
    bool stop = false;
    bool init_done = false;
    bool init_ok = false;
    uint64_t requests = 0;   // renders asked for
    uint64_t served = 0;     // requests covered by a render already started
    uint64_t started = 0;    // renders started; a render's number is its generation
    uint64_t finished = 0;   // generation of the newest finished render
    int ready = -1;          // surface holding that render, -1 before the first

    // The drawing thread's own state.
    GLuint tex = 0;
    uint64_t uploaded = 0;   // generation now in the texture

    std::thread worker;
};

namespace {

void paint(mt_cairo_render_t *mtcr, int idx)
{
    cairo_t *cr = mtcr->cr[idx];
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_save(cr);
    mtcr->render_cb(cr, mtcr->w, mtcr->h, mtcr->userinfo);
    cairo_restore(cr);
    cairo_surface_flush(mtcr->surf[idx]);
}

void worker_main(mt_cairo_render_t *mtcr)
{
    bool ok = mtcr->init_cb == nullptr || mtcr->init_cb(mtcr->cr[0], mtcr->userinfo);
    {
        std::lock_guard<std::mutex> guard(mtcr->lock);
        mtcr->init_done = true;
        mtcr->init_ok = ok;
    }
    mtcr->done.notify_all();
    if (!ok)
        return;

    using clock = std::chrono::steady_clock;
    const bool timed = mtcr->fps > 0;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double>(timed ? 1.0 / mtcr->fps : 0.0));
    auto next_due = clock::now();

    std::unique_lock<std::mutex> lk(mtcr->lock);
    auto asked = [mtcr] { return mtcr->stop || mtcr->requests != mtcr->served; };
    for (;;) {
        if (timed)
            mtcr->wake.wait_until(lk, next_due, asked);
        else
            mtcr->wake.wait(lk, asked);
        if (mtcr->stop)
            break;
        mtcr->served = mtcr->requests;
        uint64_t generation = ++mtcr->started;
        int idx = mtcr->ready == 0 ? 1 : 0;
        lk.unlock();

        if (timed) {
            auto now = clock::now();
            next_due = next_due + period > now ? next_due + period : now + period;
        }
        paint(mtcr, idx);

        lk.lock();
        mtcr->ready = idx;
        mtcr->finished = generation;
        mtcr->done.notify_all();
    }
    lk.unlock();
    if (mtcr->fini_cb != nullptr)
        mtcr->fini_cb(mtcr->cr[0], mtcr->userinfo);
}

void destroy(mt_cairo_render_t *mtcr)
{
    for (int i = 0; i < 2; i++) {
        if (mtcr->cr[i] != nullptr)
            cairo_destroy(mtcr->cr[i]);
        if (mtcr->surf[i] != nullptr)
            cairo_surface_destroy(mtcr->surf[i]);
    }
    delete mtcr;
}

// Called with the lock held, so the worker cannot start painting this surface.
void upload(mt_cairo_render_t *mtcr)
{
    const unsigned char *px = mtcr->pixels[mtcr->ready];
    const GLsizei w = static_cast<GLsizei>(mtcr->w), h = static_cast<GLsizei>(mtcr->h);
    // cairo's ARGB32 is premultiplied, B G R A in memory on little-endian
    // machines, its rows packed (4 * w bytes) and top row first.
    // With a pixel-unpack buffer bound the pixels would be an offset into it.
    GLint unpack = 0;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    if (mtcr->tex == 0) {
        glGenTextures(1, &mtcr->tex);
        XPLMBindTexture2d(static_cast<int>(mtcr->tex), 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, px);
    } else {
        XPLMBindTexture2d(static_cast<int>(mtcr->tex), 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, px);
    }
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpack));
    mtcr->uploaded = mtcr->finished;
}

}  // namespace

mt_cairo_render_t *mt_cairo_render_init_impl(const char *filename, int line,
    unsigned w, unsigned h, double fps, mt_cairo_init_cb_t init_cb,
    mt_cairo_render_cb_t render_cb, mt_cairo_fini_cb_t fini_cb, void *userinfo)
{
    if (w == 0 || h == 0 || render_cb == nullptr) {
        log_impl(filename, line, "Cannot make a cairo renderer of %u x %u%s", w, h,
            render_cb == nullptr ? " without a render callback" : "");
        return nullptr;
    }
    mt_cairo_render_t *mtcr = new mt_cairo_render_t;
    mtcr->w = w;
    mtcr->h = h;
    mtcr->fps = fps;
    mtcr->init_cb = init_cb;
    mtcr->render_cb = render_cb;
    mtcr->fini_cb = fini_cb;
    mtcr->userinfo = userinfo;
    for (int i = 0; i < 2; i++) {
        mtcr->surf[i] = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h));
        mtcr->cr[i] = cairo_create(mtcr->surf[i]);
        if (cairo_status(mtcr->cr[i]) != CAIRO_STATUS_SUCCESS) {
            log_impl(filename, line, "Cannot make a cairo renderer of %u x %u: %s", w, h,
                cairo_status_to_string(cairo_status(mtcr->cr[i])));
            destroy(mtcr);
            return nullptr;
        }
        mtcr->pixels[i] = cairo_image_surface_get_data(mtcr->surf[i]);
    }

    try {
        mtcr->worker = std::thread(worker_main, mtcr);
    } catch (const std::system_error &e) {
        log_impl(filename, line, "Cannot start the cairo renderer's thread: %s", e.what());
        destroy(mtcr);
        return nullptr;
    }
    bool ok;
    {
        std::unique_lock<std::mutex> lk(mtcr->lock);
        mtcr->done.wait(lk, [mtcr] { return mtcr->init_done; });
        ok = mtcr->init_ok;
    }
    if (!ok) {
        mtcr->worker.join();
        log_impl(filename, line, "Cannot make a cairo renderer: its init callback failed");
        destroy(mtcr);
        return nullptr;
    }
    return mtcr;
}

void mt_cairo_render_quad(double l, double b, double r, double t)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2d(l, b);
    glTexCoord2f(1, 1);
    glVertex2d(r, b);
    glTexCoord2f(1, 0);
    glVertex2d(r, t);
    glTexCoord2f(0, 0);
    glVertex2d(l, t);
    glEnd();
}

void mt_cairo_render_fini(mt_cairo_render_t *mtcr)
{
    if (mtcr == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(mtcr->lock);
        mtcr->stop = true;
    }
    mtcr->wake.notify_all();
    mtcr->worker.join();
    if (mtcr->tex != 0) {
        // The simulator's binding cache must not go on believing the name is
        // bound: a texture made later under that name would never be bound.
        GLint unit = GL_TEXTURE0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glActiveTexture(GL_TEXTURE0);
        XPLMBindTexture2d(0, 0);
        glActiveTexture(static_cast<GLenum>(unit));
        glDeleteTextures(1, &mtcr->tex);
    }
    destroy(mtcr);
}

void mt_cairo_render_once(mt_cairo_render_t *mtcr)
{
    if (mtcr == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(mtcr->lock);
        mtcr->requests++;
    }
    mtcr->wake.notify_all();
}

void mt_cairo_render_once_wait(mt_cairo_render_t *mtcr)
{
    if (mtcr == nullptr)
        return;
    std::unique_lock<std::mutex> lk(mtcr->lock);
    // Renders run one after another, so the next one to start is numbered
    // started + 1, and it starts after this call.
    const uint64_t target = mtcr->started + 1;
    mtcr->requests++;
    mtcr->wake.notify_all();
    mtcr->done.wait(lk, [mtcr, target] { return mtcr->finished >= target; });
}

void mt_cairo_render_draw(mt_cairo_render_t *mtcr, vect2_t pos, vect2_t size)
{
    if (mtcr == nullptr)
        return;
    // The simulator's texture cache leaves the active unit alone when it
    // skips a bind: unit 0 is chosen here and the caller's given back.
    GLint unit = GL_TEXTURE0;
    {
        std::lock_guard<std::mutex> guard(mtcr->lock);
        if (mtcr->ready < 0)
            return;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glActiveTexture(GL_TEXTURE0);
        XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 0);
        if (mtcr->uploaded != mtcr->finished)
            upload(mtcr);
    }
    XPLMBindTexture2d(static_cast<int>(mtcr->tex), 0);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    mt_cairo_render_quad(pos.x, pos.y, pos.x + size.x, pos.y + size.y);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glActiveTexture(static_cast<GLenum>(unit));
}
