// A seeded random session: commands, menu items, clicks, drags, right
// clicks, monitors coming and going, panel passes, refused windows, enables
// and disables, checked as it goes against what the preferences say the
// windows must be, what must be alive, and what must be on disk.
// VXR_SOAK_SEED and VXR_SOAK_FRAMES choose the session; a failure names the
// seed and the step, and lists the steps before it.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "Capture/capture_clock.h"
#include "Popups/popupSystem.h"
#include "reliability_util.h"
#include "startup.h"

namespace {

using namespace reliability;
using simhost::MouseButton;
using simhost::Rect;
using simhost::WindowMode;
using simhost::WindowState;

long env_number(const char *name, long fallback)
{
    const char *text = getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    char *end = nullptr;
    long v = strtol(text, &end, 10);
    return *end == '\0' && v > 0 ? v : fallback;
}

// Small monitors keep the frames cheap; 512, 682, 683 and 800 wide are units.
const std::vector<std::vector<Rect>> &layouts()
{
    using simhost::monitor_rect;
    static const std::vector<std::vector<Rect>> all = {
        {monitor_rect(640, 480, 0, 0), monitor_rect(512, 384, 640, 0), monitor_rect(512, 384, 1152, 0)},
        {monitor_rect(640, 480, 0, 0)},
        {monitor_rect(640, 480, 0, 0), monitor_rect(512, 384, 640, 0)},
        {monitor_rect(512, 384, -512, 0), monitor_rect(640, 480, 0, 0), monitor_rect(800, 600, 640, 0)},
        {monitor_rect(512, 384, 0, 0), monitor_rect(640, 480, 512, 0)},
        {monitor_rect(640, 480, 0, 0), monitor_rect(512, 384, 0, 480)},
        {monitor_rect(640, 480, 0, 0), monitor_rect(683, 512, 640, -100), monitor_rect(682, 512, 1323, -100)},
    };
    return all;
}

std::string rect_text(const Rect &r)
{
    std::ostringstream s;
    s << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return s.str();
}

struct PopupView {
    popup *pup;
    const char *title;
    const char *cmd;
    const char *menu_item;
};

class Soak {
public:
    Soak(uint32_t seed, long frame_count) : seed_(seed), frames_target_(frame_count), rng_(seed)
    {
        sim_.load_with_cfg("");
        sim_.host->set_panel_passes(passes_);
        // The check after each frame needs the lit pass in every frame whose
        // passes light the screens; every other unkindness of the host stays.
        simhost::GlHarshness harshness;
        harshness.irregular_passes = false;
        sim_.host->set_gl_harshness(harshness);
        use_stepping_clock();
        // The driver's threads are all there once a frame has been drawn.
        frames(2);
        threads_ = vxr_test::settled_thread_count(sim_);
    }

    ~Soak() { capture_clock_set_source(nullptr); }

    void run()
    {
        while (frames_run_ < frames_target_ && !failed_) {
            step_++;
            act();
            if (!failed_)
                check_always();
        }
        if (failed_)
            return;
        if (sim_.host->enabled())
            disable();
        if (!failed_) {
            sim_.host->unload();
            expect(nothing_left(*sim_.host, threads_), "after the unload");
        }
        printf("soak seed %u: %ld steps, %ld frames, %d enables, %d windows refused\n", seed_, step_, frames_run_,
               enables_, refusals_);
    }

private:
    const PopupView views_[2] = {
        {&MFD_popup, mfd_title, mfd_cmd, "VXR Popups/MFD POPUP"},
        {&PFD_popup, pfd_title, pfd_cmd, "VXR Popups/PFD POPUP"},
    };

    uint32_t seed_;
    long frames_target_;
    std::mt19937 rng_;
    vxr_test::LinkedSim sim_{layouts()[0], false};
    int threads_ = 0;
    long step_ = 0, frames_run_ = 0;
    int enables_ = 1, refusals_ = 0;
    size_t layout_ = 0;
    simhost::PanelPasses passes_;
    std::deque<std::string> recent_;
    bool failed_ = false;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    void note(const std::string &what)
    {
        recent_.push_back("step " + std::to_string(step_) + ": " + what);
        if (recent_.size() > 30)
            recent_.pop_front();
    }

    void fail(const std::string &what)
    {
        std::string history;
        for (const std::string &line : recent_)
            history += "  " + line + "\n";
        ADD_FAILURE() << "soak seed " << seed_ << " step " << step_ << ": " << what << "\nthe steps before:\n"
                      << history << "rerun: VXR_SOAK_SEED=" << seed_ << " VXR_SOAK_FRAMES=" << frames_target_;
        failed_ = true;
    }

    void expect(const testing::AssertionResult &result, const std::string &context)
    {
        if (!result)
            fail(context + ": " + result.message());
    }

    void expect(bool ok, const std::string &what)
    {
        if (!ok)
            fail(what);
    }

    const std::vector<Rect> &monitors() const { return sim_.host->monitors(); }
    bool monitor_exists(int m) const { return m >= 0 && m < static_cast<int>(monitors().size()); }
    // The monitor under a point, edges excluded; the last one listed wins.
    // The monitor under the point, or, for a point on none, the nearest.
    const Rect *monitor_for(int x, int y) const
    {
        const Rect *under = nullptr;
        for (const Rect &m : monitors())
            if (m.left < x && x < m.right && m.bottom < y && y < m.top)
                under = &m;
        if (under != nullptr)
            return under;
        double best = 0;
        for (const Rect &m : monitors()) {
            double dx = std::max({double(m.left) - x, 0.0, double(x) - m.right});
            double dy = std::max({double(m.bottom) - y, 0.0, double(y) - m.top});
            if (under == nullptr || dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                under = &m;
            }
        }
        return under;
    }

    bool window(const PopupView &v, WindowState *state) const
    {
        return v.pup->win != nullptr && sim_.host->window(v.title, state);
    }

    bool visible(const PopupView &v) const
    {
        WindowState w;
        return window(v, &w) && w.visible;
    }

    const PopupView &other(const PopupView &v) const { return v.pup == views_[0].pup ? views_[1] : views_[0]; }

    // The other display's window is open full screen on monitor m, which is
    // its own saved monitor too: m is taken for v.
    bool held_by_other(const PopupView &v, int m) const
    {
        const PopupView &o = other(v);
        WindowState w;
        return window(o, &w) && w.visible && w.mode == WindowMode::fullscreen && w.monitor == m &&
               o.pup->prefs->monitor_start->get() == m;
    }

    // ---- the steps ----

    void act()
    {
        static const std::discrete_distribution<int> kinds({
            26, // frames
            12, // show/hide command
            5,  // show/hide menu item
            4,  // swap, by command or menu
            13, // left click somewhere on a window
            8,  // a drag
            6,  // right click on a corner
            5,  // pointer moves
            4,  // monitors change
            3,  // panel passes change
            2,  // the simulator closes a popped-out window
            1,  // the next window creation fails
            2,  // a command held over frames
            2,  // disable, later enable
        });
        std::discrete_distribution<int> dist = kinds;
        if (!sim_.host->enabled()) {
            // Disabled: the user goes on, and the plug-in comes back some time.
            if (chance(0.3)) {
                enable();
                return;
            }
        }
        switch (dist(rng_)) {
        case 0: frames(1 + pick(4)); break;
        case 1: toggle(views_[pick(2)], false); break;
        case 2: toggle(views_[pick(2)], true); break;
        case 3: swap(chance(0.5)); break;
        case 4: left_click(); break;
        case 5: drag(); break;
        case 6: right_click(); break;
        case 7: pointer(); break;
        case 8: change_monitors(); break;
        case 9: change_passes(); break;
        case 10: os_close(); break;
        case 11: refuse_window(); break;
        case 12: held_command(); break;
        case 13: if (sim_.host->enabled()) disable(); break;
        }
    }

    void frames(int n)
    {
        note("frames " + std::to_string(n));
        for (int i = 0; i < n; i++) {
            std::array<bool, 2> was_visible = {visible(views_[0]), visible(views_[1])};
            step_clock();
            sim_.host->run_frames(1);
            frames_run_++;
            // The start-up opens windows at frame 50.
            for (int p = 0; p < 2; p++) {
                if (!was_visible[p] && visible(views_[p]))
                    check_opened(views_[p], "opened by the start-up");
            }
            check_after_frame();
            if (failed_)
                return;
        }
    }

    void toggle(const PopupView &v, bool by_menu)
    {
        WindowState before;
        bool existed = window(v, &before);
        bool was_visible = existed && before.visible;
        note(std::string(by_menu ? "menu " : "command ") + v.title + (was_visible ? " (open)" : " (closed)"));
        int refused = sim_.count_logged("could not be created");
        bool done = by_menu ? sim_.host->choose_menu(v.menu_item) : sim_.host->command(v.cmd);
        if (!done || !sim_.host->enabled())
            return;
        // The menu's items run the command found at frame 45.
        if (by_menu && startup_frame < 46)
            return;
        WindowState after;
        if (!window(v, &after)) {
            expect(sim_.count_logged("could not be created") == refused + 1, "no window and no line saying why");
            return;
        }
        if (was_visible) {
            expect(!after.visible, std::string(v.title) + " did not close");
            const simhost::LiveObjects live = sim_.host->live();
            if (!visible(other(v)))
                expect(live.draw_callbacks == 0 && live.avionics_callbacks == 0,
                       std::string(v.title) + " closed, the other closed, drawing callbacks still registered");
            expect(after.mode != WindowMode::popout, std::string(v.title) + " closed popped out");
        } else {
            expect(after.visible, std::string(v.title) + " did not open");
            check_opened(v, "opened by its command");
        }
    }

    void swap(bool by_menu)
    {
        note(by_menu ? "menu swap" : "command swap");
        int pfd_m = PFD_popup.prefs->monitor_start->get(), mfd_m = MFD_popup.prefs->monitor_start->get();
        bool both_full = PFD_popup.prefs->popup_at_start->get() == 2 && MFD_popup.prefs->popup_at_start->get() == 2;
        bool active = sim_.host->enabled() && startup_frame >= 51;
        if (by_menu)
            expect(sim_.host->choose_menu("VXR Popups/Swap G1000 Popups") == active, "the menu is there or not");
        else
            sim_.host->command(swap_cmd);
        check_swap(active && both_full, pfd_m, mfd_m);
    }

    // After a swap that acted: the monitors exchanged, each window moved
    // full screen onto its new monitor when that monitor exists.
    void check_swap(bool acted, int pfd_m, int mfd_m)
    {
        int pfd_now = PFD_popup.prefs->monitor_start->get(), mfd_now = MFD_popup.prefs->monitor_start->get();
        if (!acted) {
            expect(pfd_now == pfd_m && mfd_now == mfd_m, "a swap that could not act changed the monitors");
            return;
        }
        expect(pfd_now == mfd_m && mfd_now == pfd_m, "the swap did not exchange the monitors");
        for (const PopupView &v : views_) {
            WindowState w;
            int m = v.pup->prefs->monitor_start->get();
            if (window(v, &w) && monitor_exists(m) && !held_by_other(v, m))
                expect(w.mode == WindowMode::fullscreen && w.monitor == m,
                       std::string(v.title) + " not full screen on monitor " + std::to_string(m) + " after a swap");
        }
    }

    // A point of a window a user aims at: a corner, a strip, the face, an edge.
    bool aim(const PopupView &v, int *x, int *y)
    {
        WindowState w;
        if (!window(v, &w) || !w.visible)
            return false;
        const Rect &r = w.rect;
        int in = chance(0.2) ? pick(3) * 24 + 1 + pick(2) * 24 : 1 + pick(60);   // 1, 25, 48, 49, 50 ... 60
        int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        switch (pick(9)) {
        case 0: *x = r.left + in; *y = r.top - in; break;
        case 1: *x = r.right - in; *y = r.top - in; break;
        case 2: *x = r.left + in; *y = r.bottom + in; break;
        case 3: *x = r.right - in; *y = r.bottom + in; break;
        case 4: *x = cx; *y = r.top - in; break;
        case 5: *x = cx; *y = r.bottom + in; break;
        case 6: *x = r.left; *y = cy; break;
        case 7: *x = r.left + pick(std::max(1, r.width())); *y = r.bottom + pick(std::max(1, r.height())); break;
        default: *x = cx; *y = cy; break;
        }
        return true;
    }

    void random_point(int *x, int *y)
    {
        const PopupView &v = views_[pick(2)];
        if (chance(0.85) && aim(v, x, y))
            return;
        const Rect &m = monitors()[static_cast<size_t>(pick(static_cast<int>(monitors().size())))];
        *x = m.left + pick(m.width());
        *y = m.bottom + pick(m.height());
    }

    void left_click()
    {
        int x, y;
        random_point(&x, &y);
        note("click " + std::to_string(x) + "," + std::to_string(y));
        sim_.host->mouse_down(x, y, MouseButton::left);
        sim_.host->mouse_up(x, y, MouseButton::left);
    }

    void drag()
    {
        int x, y;
        random_point(&x, &y);
        int moves = 1 + pick(4);
        bool release = chance(0.85);
        note("drag from " + std::to_string(x) + "," + std::to_string(y) + ", " + std::to_string(moves) + " moves" +
             (release ? "" : ", not released"));
        sim_.host->mouse_down(x, y, MouseButton::left);
        for (int i = 0; i < moves && !failed_; i++) {
            x += pick(401) - 200;
            y += pick(301) - 150;
            sim_.host->mouse_drag(x, y, MouseButton::left);
            if (chance(0.2))
                frames(1);
            if (chance(0.05))
                change_monitors();
        }
        if (release)
            sim_.host->mouse_up(x, y, MouseButton::left);
    }

    void right_click()
    {
        const PopupView &v = views_[pick(2)];
        WindowState w;
        if (!window(v, &w) || !w.visible)
            return;
        const Rect r = w.rect;
        int in = 1 + pick(52);
        int corner = pick(4);
        int x = corner % 2 ? r.right - in : r.left + in;
        int y = corner < 2 ? r.top - in : r.bottom + in;
        note(std::string("right click ") + v.title + " at " + std::to_string(x) + "," + std::to_string(y));
        int pfd_m = PFD_popup.prefs->monitor_start->get(), mfd_m = MFD_popup.prefs->monitor_start->get();
        bool both_full = PFD_popup.prefs->popup_at_start->get() == 2 && MFD_popup.prefs->popup_at_start->get() == 2;
        std::map<std::string, int> before = prefs_in_memory();
        // Where the other window covers the point, the click may be its.
        WindowState other;
        const PopupView &o = &v == &views_[0] ? views_[1] : views_[0];
        bool topmost = !window(o, &other) || !other.visible ||
                       !(other.rect.left <= x && x <= other.rect.right && other.rect.bottom <= y && y <= other.rect.top);
        sim_.host->mouse_down(x, y, MouseButton::right);
        sim_.host->mouse_up(x, y, MouseButton::right);
        if (!topmost || !sim_.host->enabled())
            return;

        bool in_band = in <= 49;
        if (in_band && corner == 0) {
            // The monitor under the click is saved, and the window reopens by it.
            expect(v.pup->prefs->popup_at_start->get() == 2, "save full screen did not set popup_at_start 2");
            WindowState now;
            if (window(v, &now) && now.visible)
                check_opened(v, "reopened by a right click");
        } else if (in_band && corner == 1) {
            popup_prefs *p = v.pup->prefs;
            expect(p->x->get() == r.left && p->y->get() == r.bottom && p->w->get() == r.width() &&
                       p->h->get() == r.height() && p->popup_at_start->get() == 1 && p->monitor_start->get() == -1,
                   std::string("the pop-out place saved for ") + v.title + " is not its rectangle " + rect_text(r));
        } else if (in_band && corner == 3) {
            check_swap(both_full, pfd_m, mfd_m);
        } else {
            expect(prefs_in_memory() == before, "a right click outside the corners changed a preference");
        }
    }

    void pointer()
    {
        int x, y;
        random_point(&x, &y);
        note("pointer to " + std::to_string(x) + "," + std::to_string(y));
        sim_.host->mouse_move(x, y);
        // The window under the pointer is asked for its cursor at the frame's end.
        sim_.host->run_frames(1);
        simhost::CursorState c = sim_.host->cursor();
        static const std::set<std::string> ours = {
            "m_point.png", "m_click.png", "a_up.png", "a_dn.png", "r_s_l.png", "r_s_r.png", "r_m_l.png",
            "r_m_r.png", "r_l_l.png", "r_l_r.png", "b_close.png", "b_pop.png", "b_resize_l.png", "b_resize_r.png"};
        // Read back from the desktop, where the pointer is on one (never off every monitor).
        if (c.status == xplm_CursorCustom && c.desktop)
            expect(ours.count(c.custom_name) == 1, "a custom cursor that is not one of the plug-in's: " + c.custom_name);
    }

    void change_monitors()
    {
        layout_ = static_cast<size_t>(pick(static_cast<int>(layouts().size())));
        note("monitors: layout " + std::to_string(layout_));
        sim_.host->set_monitors(layouts()[layout_]);
    }

    void change_passes()
    {
        static const simhost::PanelPasses choices[] = {{true, 2}, {false, 1}, {false, 2}, {false, 0}};
        passes_ = choices[pick(4)];
        note("panel passes " + std::string(passes_.both ? "both" : std::to_string(passes_.value)));
        sim_.host->set_panel_passes(passes_);
    }

    void os_close()
    {
        const PopupView &v = views_[pick(2)];
        note(std::string("the simulator closes ") + v.title);
        sim_.host->os_close_window(v.title);
    }

    void refuse_window()
    {
        note("the next window creation fails");
        sim_.host->fail_next_window_creations(1);
        refusals_++;
    }

    void held_command()
    {
        const PopupView &v = views_[pick(2)];
        bool was_visible = visible(v);
        int32_t startup_before = startup_frame;
        note(std::string("command held: ") + v.title);
        sim_.host->command(v.cmd, simhost::Host::CommandAction::begin);
        frames(1 + pick(3));
        if (failed_)
            return;
        // Only the start-up, reaching frame 50 meanwhile, may have opened or closed it.
        bool startup_acted = startup_before <= 50 && startup_frame > 50;
        expect(visible(v) == was_visible || startup_acted, "a command acted before its end");
        sim_.host->command(v.cmd, simhost::Host::CommandAction::end);
    }

    void disable()
    {
        note("disable");
        std::map<std::string, int> in_memory = prefs_in_memory();
        sim_.host->disable();
        expect(nothing_left(*sim_.host, threads_), "after a disable");
        std::map<std::string, int> on_disk;
        expect(cfg_is_whole(sim_.root.settings_file(), &on_disk), "after a disable");
        expect(on_disk == in_memory, "popups.cfg after a disable differs from the preferences");
    }

    void enable()
    {
        note("enable");
        std::map<std::string, int> in_memory = prefs_in_memory();
        if (!sim_.host->enable()) {
            fail("the enable failed");
            return;
        }
        enables_++;
        expect(prefs_in_memory() == in_memory, "the enable changed the preferences");
        std::map<std::string, int> on_disk;
        expect(cfg_is_whole(sim_.root.settings_file(), &on_disk), "after an enable");
        expect(on_disk == in_memory, "popups.cfg after an enable differs from the preferences");
    }

    // ---- what must hold ----

    // A window just opened sits where its preferences say: full screen on
    // the saved monitor when it exists, else popped out at the saved
    // rectangle when that is on a monitor, else centred on the pointer.
    void check_opened(const PopupView &v, const std::string &how)
    {
        WindowState w;
        if (!window(v, &w))
            return;
        popup_prefs *p = v.pup->prefs;
        int m = p->monitor_start->get();
        std::string what = std::string(v.title) + " " + how + " at " + rect_text(w.rect) + ", ";
        if (m >= 0 && monitor_exists(m) && !held_by_other(v, m)) {
            expect(w.mode == WindowMode::fullscreen && w.monitor == m, what + "not full screen on monitor " +
                                                                          std::to_string(m));
            return;
        }
        if (m < 0 && p->popup_at_start->get() == 1 && popout_reachable(p)) {
            int width = std::clamp(p->w->get(), 256, 4096), height = std::clamp(p->h->get(), 0, 4096);
            int top = p->y->get() + p->h->get();
            Rect want{p->x->get(), top, p->x->get() + width, top - height};
            // The other display popped out at that very rectangle: this one
            // opens beside it, at its size.
            WindowState o;
            if (window(other(v), &o) && o.visible && o.mode == WindowMode::popout && o.rect.left == want.left &&
                o.rect.top == want.top && o.rect.right == want.right && o.rect.bottom == want.bottom) {
                expect(w.mode == WindowMode::popout && w.rect.width() == want.width() &&
                           w.rect.height() == want.height() && (w.rect.left != want.left || w.rect.top != want.top),
                       what + "not beside the other display popped out at " + rect_text(want));
                return;
            }
            expect(w.mode == WindowMode::popout && w.rect.left == want.left && w.rect.top == want.top &&
                       w.rect.right == want.right && w.rect.bottom == want.bottom,
                   what + "not popped out at " + rect_text(want));
            return;
        }
        int mx = 0, my = 0;
        sim_.host->mouse_position(&mx, &my);
        std::string pointer = std::to_string(mx) + "," + std::to_string(my);
        expect(w.mode == WindowMode::free, what + "not floating, to be centred on the pointer");
        const Rect *m_under = monitor_for(mx, my);
        bool centred_x = (w.rect.left + w.rect.right) / 2 == mx, centred_y = (w.rect.top + w.rect.bottom) / 2 == my;
        if (m_under == nullptr) {
            expect(centred_x && centred_y, what + "not centred on the pointer at " + pointer);
            return;
        }
        // Centred on the pointer, made smaller to fit the monitor under it (or
        // the nearest) unless that takes it below the least width, and moved
        // the least needed to lie wholly on it; where it is still too large,
        // its left or top edge is on the monitor's.
        const Rect &u = *m_under;
        bool fits_x = w.rect.width() <= u.width(), fits_y = w.rect.height() <= u.height();
        expect((fits_x && fits_y) || w.rect.width() == 256, what + "larger than the monitor for the pointer at " + pointer);
        expect(fits_x ? w.rect.left >= u.left && w.rect.right <= u.right : w.rect.left == u.left,
               what + "not across the monitor under the pointer at " + pointer);
        expect(fits_y ? w.rect.bottom >= u.bottom && w.rect.top <= u.top : w.rect.top == u.top,
               what + "not up and down the monitor under the pointer at " + pointer);
        expect((centred_x || w.rect.left == u.left || w.rect.right == u.right) &&
                   (centred_y || w.rect.top == u.top || w.rect.bottom == u.bottom),
               what + "moved further than needed from the pointer at " + pointer);
        expect(std::abs(w.rect.height() - w.rect.width() * 3 / 4) <= 2, what + "not at the image's aspect");
    }

    // Its top strip, 50 pixels down (or the whole height) and its whole
    // width, lies on monitors that join up.
    bool popout_reachable(const popup_prefs *p) const
    {
        int64_t left = p->x->get(), bottom = p->y->get();
        int64_t right = left + p->w->get(), top = bottom + p->h->get();
        if (top > INT_MAX || right > INT_MAX || right <= left || top <= bottom)
            return false;
        int64_t strip_bottom = top - std::min<int64_t>(50, top - bottom);
        std::vector<std::pair<int64_t, int64_t>> spans;
        for (const Rect &m : monitors())
            if (m.bottom <= strip_bottom && top <= m.top)
                spans.emplace_back(m.left, m.right);
        std::sort(spans.begin(), spans.end());
        int64_t reached = left;
        for (const auto &span : spans)
            if (span.first <= reached)
                reached = std::max(reached, span.second);
        return reached >= right;
    }

    // After a frame whose passes lit the screens, hidden windows hold no
    // copies or renderers, and shown ones a fresh copy of each region.
    void check_after_frame()
    {
        if (!sim_.host->enabled() || !(passes_.both || passes_.value == 2))
            return;
        for (const PopupView &v : views_) {
            bool shown = visible(v);
            // A hidden display keeps its copy for the next opening.
            for (capture_region *r = v.pup->capture.regions(); !capture_region_is_end(r); r++) {
                if (shown && !r->failed)
                    expect(r->tex != 0 && r->fbo != 0, std::string(v.title) + " shown but not copied");
            }
        }
    }

    void check_always()
    {
        simhost::LiveObjects live = vxr_test::live_with_threads(*sim_.host, threads_);
        int windows = (MFD_popup.win != nullptr) + (PFD_popup.win != nullptr);
        expect(live.windows == windows, "the host holds " + std::to_string(live.windows) + " windows, the plug-in " +
                                            std::to_string(windows));
        expect(live.threads == threads_, std::to_string(live.threads - threads_) +
                                             " threads beyond the host's: the plug-in runs none of its own");
        int fbos = 0;
        for (const PopupView &v : views_) {
            for (capture_region *r = v.pup->capture.regions(); !capture_region_is_end(r); r++)
                fbos += r->fbo != 0;
        }
        expect(live.framebuffers == fbos, std::to_string(live.framebuffers) + " framebuffers alive for " +
                                              std::to_string(fbos) + " regions");
        bool menu = sim_.host->enabled() && startup_frame >= 51;
        expect(sim_.host->count_submenus("VXR Popups") == (menu ? 1 : 0), "the menu is there or not");
        WindowState a, b;
        if (window(views_[0], &a) && window(views_[1], &b) && a.visible && b.visible)
            expect(a.mode != WindowMode::fullscreen || b.mode != WindowMode::fullscreen || a.monitor != b.monitor,
                   "both windows full screen on monitor " + std::to_string(a.monitor));
        if (step_ % 500 == 0)
            expect(cfg_is_whole(sim_.root.settings_file()), "at a check");
    }
};

TEST(Soak, ARandomSessionKeepsEveryPromise)
{
    uint32_t seed = static_cast<uint32_t>(env_number("VXR_SOAK_SEED", 1729));
    long frames = env_number("VXR_SOAK_FRAMES", 3000);
    Soak soak(seed, frames);
    soak.run();
}

}  // namespace
