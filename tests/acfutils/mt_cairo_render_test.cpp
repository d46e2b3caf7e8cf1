/*
 * The threaded cairo renderer: callbacks on its own worker thread, renders
 * only on request at fps 0, once_wait's promise, the worker joined at fini,
 * and the image drawn right way up with premultiplied blending on real GL.
 */
#include <acfutils/mt_cairo_render.h>

#include <condition_variable>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <sys/syscall.h>
#include <unistd.h>
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "colour.h"
#include "headless_gl.h"
#include "test_util.h"
#include "threads.h"

namespace {

enum class Scene { quadrants, solid };

// What the callbacks saw, shared with the worker under a lock.
struct Recorder {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> events;
    std::vector<std::thread::id> threads;
    int renders = 0;
    bool init_result = true;
    Scene scene = Scene::quadrants;
    double solid[3] = {1, 0, 0};
    // When set, the next render waits in the callback until released.
    bool hold_next = false;
    bool holding = false;

    void record(const char *what)
    {
        std::lock_guard<std::mutex> guard(m);
        events.push_back(what);
        threads.push_back(std::this_thread::get_id());
        cv.notify_all();
    }
    void wait_for_renders(int n)
    {
        std::unique_lock<std::mutex> lk(m);
        cv.wait(lk, [&] { return renders >= n; });
    }
    int render_count()
    {
        std::lock_guard<std::mutex> guard(m);
        return renders;
    }
};

bool init_cb(cairo_t *, void *ui)
{
    auto *rec = static_cast<Recorder *>(ui);
    rec->record("init");
    std::lock_guard<std::mutex> guard(rec->m);
    return rec->init_result;
}

// Quadrants, in the image's own top-down rows: top-left opaque red, top-right
// opaque green, bottom-left half-transparent white, bottom-right clear.
void paint_quadrants(cairo_t *cr, unsigned w, unsigned h)
{
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, 0, w / 2.0, h / 2.0);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_rectangle(cr, w / 2.0, 0, w / 2.0, h / 2.0);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_rectangle(cr, 0, h / 2.0, w / 2.0, h / 2.0);
    cairo_fill(cr);
}

void render_cb(cairo_t *cr, unsigned w, unsigned h, void *ui)
{
    auto *rec = static_cast<Recorder *>(ui);
    rec->record("render");
    std::unique_lock<std::mutex> lk(rec->m);
    if (rec->hold_next) {
        rec->hold_next = false;
        rec->holding = true;
        rec->cv.notify_all();
        rec->cv.wait(lk, [rec] { return !rec->holding; });
    }
    if (rec->scene == Scene::quadrants) {
        paint_quadrants(cr, w, h);
    } else {
        cairo_set_source_rgb(cr, rec->solid[0], rec->solid[1], rec->solid[2]);
        cairo_paint(cr);
    }
    rec->renders++;
    rec->cv.notify_all();
}

void fini_cb(cairo_t *, void *ui)
{
    static_cast<Recorder *>(ui)->record("fini");
}

// Threads of the process, counted from the first call on once what a runtime
// starts with the first thread (a sanitizer's) is there.
int thread_count()
{
    static std::once_flag warm_up;
    std::call_once(warm_up, vxr_test::start_and_reap_one_thread);
    int n = 0;
    DIR *d = opendir("/proc/self/task");
    while (dirent *e = readdir(d)) {
        if (e->d_name[0] != '.')
            n++;
    }
    closedir(d);
    return n;
}

// The count once joined workers are out of /proc/self/task.
int settled_thread_count(int at_most) { return vxr_test::settled_count(thread_count, at_most); }

// The scheduler state of a thread of this process ('R' running, 'S' asleep).
char thread_state(pid_t tid)
{
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close_paren = text.rfind(')');
    return close_paren != std::string::npos && close_paren + 2 < text.size() ? text[close_paren + 2] : '?';
}

constexpr uint32_t rgb(uint32_t argb) { return argb & 0xFFFFFF; }

}  // namespace

TEST(MtCairoRender, CallbacksRunOnOneWorkerThreadInOrder)
{
    Recorder rec;
    mt_cairo_render_t *mtcr = mt_cairo_render_init(64, 32, 0, init_cb, render_cb, fini_cb, &rec);
    ASSERT_NE(mtcr, nullptr);
    mt_cairo_render_once_wait(mtcr);
    mt_cairo_render_once_wait(mtcr);
    mt_cairo_render_fini(mtcr);

    EXPECT_EQ(rec.events, (std::vector<std::string>{"init", "render", "render", "fini"}));
    ASSERT_EQ(rec.threads.size(), 4u);
    for (std::thread::id id : rec.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
        EXPECT_EQ(id, rec.threads[0]);
    }
}

TEST(MtCairoRender, FpsZeroRendersOnlyWhenAsked)
{
    Recorder rec;
    mt_cairo_render_t *mtcr = mt_cairo_render_init(16, 16, 0, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    EXPECT_EQ(rec.render_count(), 0);
    for (int i = 1; i <= 3; i++) {
        mt_cairo_render_once_wait(mtcr);
        EXPECT_EQ(rec.render_count(), i);
    }
    mt_cairo_render_once(mtcr);
    rec.wait_for_renders(4);
    mt_cairo_render_fini(mtcr);
    EXPECT_EQ(rec.render_count(), 4);
}

TEST(MtCairoRender, FpsAboveZeroRendersOnItsOwn)
{
    Recorder rec;
    mt_cairo_render_t *mtcr = mt_cairo_render_init(16, 16, 200, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    rec.wait_for_renders(3);
    mt_cairo_render_fini(mtcr);
}

/*
 * once_wait called while a render is under way must wait for the next one.
 * A helper releases the held render once the main thread sleeps inside
 * once_wait. Should the release come earlier, the call starts after the
 * held render and the expectation still holds, so no ordering can fail a
 * correct renderer.
 */
TEST(MtCairoRender, OnceWaitWaitsForARenderThatStartedAfterTheCall)
{
    Recorder rec;
    mt_cairo_render_t *mtcr = mt_cairo_render_init(16, 16, 0, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    {
        std::unique_lock<std::mutex> lk(rec.m);
        rec.hold_next = true;
    }
    mt_cairo_render_once(mtcr);
    {
        std::unique_lock<std::mutex> lk(rec.m);
        rec.cv.wait(lk, [&] { return rec.holding; });
    }
    const pid_t main_tid = static_cast<pid_t>(syscall(SYS_gettid));
    std::thread releaser([&] {
        while (thread_state(main_tid) != 'S')
            std::this_thread::yield();
        std::lock_guard<std::mutex> guard(rec.m);
        rec.holding = false;
        rec.cv.notify_all();
    });
    mt_cairo_render_once_wait(mtcr);
    EXPECT_EQ(rec.render_count(), 2);
    releaser.join();
    mt_cairo_render_fini(mtcr);
}

TEST(MtCairoRender, FiniJoinsTheWorkerEveryTime)
{
    Recorder rec;
    const int before = thread_count();
    mt_cairo_render_t *mtcr = mt_cairo_render_init(16, 16, 0, init_cb, render_cb, fini_cb, &rec);
    ASSERT_NE(mtcr, nullptr);
    EXPECT_EQ(thread_count(), before + 1);
    mt_cairo_render_fini(mtcr);
    EXPECT_EQ(settled_thread_count(before), before);

    for (int i = 0; i < 100; i++) {
        mt_cairo_render_t *r = mt_cairo_render_init(8, 8, i % 2 == 0 ? 0 : 60, init_cb, render_cb, fini_cb, &rec);
        ASSERT_NE(r, nullptr);
        if (i % 3 == 0)
            mt_cairo_render_once_wait(r);
        mt_cairo_render_fini(r);
    }
    EXPECT_EQ(settled_thread_count(before), before);
    std::lock_guard<std::mutex> guard(rec.m);
    EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "init"), 101);
    EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "fini"), 101);
}

TEST(MtCairoRender, InitFailuresGiveNullAndNameTheCaller)
{
    acf_test::LogCapture log;
    Recorder rec;
    const int before = thread_count();
    const int zero_line = __LINE__ + 1;
    EXPECT_EQ(mt_cairo_render_init(0, 16, 0, nullptr, render_cb, nullptr, &rec), nullptr);
    EXPECT_EQ(mt_cairo_render_init(16, 0, 0, nullptr, render_cb, nullptr, &rec), nullptr);
    EXPECT_EQ(log.count({"[mt_cairo_render_test.cpp:" + std::to_string(zero_line) + "]"}), 1);
    EXPECT_EQ(log.lines().size(), 2u);

    rec.init_result = false;
    const int init_line = __LINE__ + 1;
    EXPECT_EQ(mt_cairo_render_init(16, 16, 0, init_cb, render_cb, fini_cb, &rec), nullptr);
    EXPECT_EQ(log.count({"[mt_cairo_render_test.cpp:" + std::to_string(init_line) + "]", "init"}), 1);
    EXPECT_EQ(settled_thread_count(before), before);
    EXPECT_EQ(rec.events, std::vector<std::string>{"init"});
}

class MtCairoRenderGL : public testing::Test {
protected:
    static constexpr int fb_w = 200, fb_h = 200;
    static constexpr uint32_t blue = 0x0000FF;
    void SetUp() override
    {
        ASSERT_EQ(gl.error(), "");
        gl.clear(0, 0, 1);
    }
    HeadlessGL gl{fb_w, fb_h};
    Recorder rec;
};

TEST_F(MtCairoRenderGL, DrawPutsTheImageRightWayUpWithPremultipliedBlending)
{
    mt_cairo_render_t *mtcr = mt_cairo_render_init(64, 32, 0, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    mt_cairo_render_once_wait(mtcr);
    // Twice the image's size, left 20, bottom 30: it covers x 20..148, y 30..94.
    mt_cairo_render_draw(mtcr, VECT2(20, 30), VECT2(128, 64));

    EXPECT_EQ(rgb(gl.pixel(52, 78)), 0xFF0000u) << "top-left";
    EXPECT_EQ(rgb(gl.pixel(116, 78)), 0x00FF00u) << "top-right";
    EXPECT_TRUE(vxr_test::color_within(gl.pixel(52, 46), 0x8080FF, 2)) << std::hex << gl.pixel(52, 46) << " bottom-left";
    EXPECT_EQ(rgb(gl.pixel(116, 46)), blue) << "bottom-right";
    EXPECT_EQ(rgb(gl.pixel(21, 93)), 0xFF0000u) << "inside the top-left corner";
    EXPECT_EQ(rgb(gl.pixel(146, 93)), 0x00FF00u) << "inside the top-right corner";
    for (auto [x, y] : {std::pair{10, 60}, {160, 60}, {80, 20}, {80, 100}})
        EXPECT_EQ(rgb(gl.pixel(x, y)), blue) << "outside at " << x << "," << y;

    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    mt_cairo_render_fini(mtcr);
}

TEST_F(MtCairoRenderGL, NothingIsDrawnBeforeTheFirstRender)
{
    mt_cairo_render_t *mtcr = mt_cairo_render_init(64, 32, 0, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    mt_cairo_render_draw(mtcr, VECT2(0, 0), VECT2(fb_w, fb_h));
    EXPECT_EQ(rgb(gl.pixel(50, 150)), blue);
    EXPECT_EQ(rgb(gl.pixel(150, 150)), blue);
    mt_cairo_render_fini(mtcr);
}

TEST_F(MtCairoRenderGL, ANewerRenderReplacesTheDrawnImage)
{
    rec.scene = Scene::solid;
    mt_cairo_render_t *mtcr = mt_cairo_render_init(32, 32, 0, nullptr, render_cb, nullptr, &rec);
    ASSERT_NE(mtcr, nullptr);
    mt_cairo_render_once_wait(mtcr);
    mt_cairo_render_draw(mtcr, VECT2(0, 0), VECT2(fb_w, fb_h));
    EXPECT_EQ(rgb(gl.pixel(100, 100)), 0xFF0000u);

    {
        std::lock_guard<std::mutex> guard(rec.m);
        rec.solid[0] = 0;
        rec.solid[1] = 1;
    }
    mt_cairo_render_once_wait(mtcr);
    gl.clear(0, 0, 1);
    mt_cairo_render_draw(mtcr, VECT2(0, 0), VECT2(fb_w, fb_h));
    EXPECT_EQ(rgb(gl.pixel(100, 100)), 0x00FF00u);

    // No newer render: the texture still holds the green one.
    gl.clear(0, 0, 1);
    mt_cairo_render_draw(mtcr, VECT2(0, 0), VECT2(fb_w, fb_h));
    EXPECT_EQ(rgb(gl.pixel(100, 100)), 0x00FF00u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    mt_cairo_render_fini(mtcr);
}
