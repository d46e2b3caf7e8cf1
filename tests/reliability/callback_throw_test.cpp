// An exception inside any of the plug-in's callbacks stays in the plug-in: the
// stand-in makes the next XPLM call inside one kind of callback throw, and the
// real vxr_pop.xpl, loaded as the simulator loads it, logs which callback
// failed and why, once, and goes on: frames draw, the menu works, later clicks
// are taken. Without the guard the stand-in ends the process.
#include <gtest/gtest.h>

#include "reliability_util.h"

namespace {

using namespace reliability;
using simhost::CallbackKind;
using simhost::MouseButton;
using vxr_test::LinkedSim;

const char cockpit_cfg[] =
    "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\n"
    "mfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 2\n";

// The middle of the PFD's display unit (monitor 1), in global boxels.
const int pfd_mid_x = 1920 + 512, pfd_mid_y = 384;

bool load_real_plugin(LinkedSim &sim)
{
    vxr_test::write_file(sim.root.settings_file(), cockpit_cfg);
    return sim.host->load(sim.root.xpl_path());
}

// Loaded, enabled, start-up done, both displays up on their units.
void bring_up(LinkedSim &sim)
{
    ASSERT_TRUE(sim.host->loaded() || load_real_plugin(sim));
    ASSERT_TRUE(sim.host->enabled() || sim.host->enable());
    sim.host->run_frames(60);
}

struct ThrowCase {
    const char *label;
    CallbackKind kind;
    bool before_load;                 // armed before the plug-in is loaded
    void (*trigger)(LinkedSim &sim);  // makes the plug-in run that kind of callback
    const char *callback;             // the name its log line gives
};

void load_it(LinkedSim &sim)
{
    EXPECT_FALSE(load_real_plugin(sim) && sim.host->enabled());
}

void run_start_up(LinkedSim &sim)
{
    ASSERT_TRUE(load_real_plugin(sim));
    sim.host->run_frames(60);
}

void run_frames(LinkedSim &sim) { sim.host->run_frames(3); }

void move_over_pfd(LinkedSim &sim)
{
    sim.host->mouse_move(pfd_mid_x, pfd_mid_y);
    sim.host->run_frames(1);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorDefault);
}

void click_pfd(LinkedSim &sim)
{
    sim.host->mouse_down(pfd_mid_x, pfd_mid_y, MouseButton::left);
    sim.host->mouse_up(pfd_mid_x, pfd_mid_y, MouseButton::left);
}

// The close corner, with the right button: it would save and reopen.
void right_click_pfd(LinkedSim &sim)
{
    sim.host->mouse_down(1920 + 10, 768 - 10, MouseButton::right);
    sim.host->mouse_up(1920 + 10, 768 - 10, MouseButton::right);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

// An aircraft with the stock G1000: the message, then a second later its
// devices' callbacks copy their screens.
void load_stock_aircraft(LinkedSim &sim) { sim.host->load_aircraft(true); }

void fly_stock_aircraft(LinkedSim &sim)
{
    sim.host->load_aircraft(true);
    sim.host->run_frames(70);
}

void key_on_pfd(LinkedSim &sim) { EXPECT_TRUE(sim.host->key_press(pfd_title, 'a')); }

void wheel_on_pfd(LinkedSim &sim) { EXPECT_FALSE(sim.host->mouse_wheel(pfd_mid_x, pfd_mid_y, 1)); }

void toggle_pfd(LinkedSim &sim)
{
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

void swap(LinkedSim &sim)
{
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Swap G1000 Popups"));
    EXPECT_EQ(window_of(sim, pfd_title).monitor, 1);
}

// The process's threads before the plug-in was first loaded.
int threads_without_plugin = 0;

// Whatever failed first, every later step of the disable is taken.
void disable(LinkedSim &sim)
{
    sim.host->disable();
    EXPECT_TRUE(nothing_left(*sim.host, threads_without_plugin));
}

void unload(LinkedSim &sim) { sim.host->unload(); }

const ThrowCase throw_cases[] = {
    {"Start", CallbackKind::start, true, load_it, "XPluginStart"},
    {"Enable", CallbackKind::enable, true, load_it, "XPluginEnable"},
    {"StartUpFlightLoop", CallbackKind::flight_loop, true, run_start_up, "startup_flight_loop"},
    {"Message", CallbackKind::message, false, load_stock_aircraft, "XPluginReceiveMessage"},
    {"DeviceCallback", CallbackKind::avionics, false, fly_stock_aircraft, "device_after_draw_cb"},
    {"Key", CallbackKind::key, false, key_on_pfd, "popup_key"},
    {"Wheel", CallbackKind::wheel, false, wheel_on_pfd, "popup_wheel"},
    {"CaptureDraw", CallbackKind::draw, false, run_frames, "capture_draw_cb"},
    {"WindowDraw", CallbackKind::window_draw, false, run_frames, "popup_draw"},
    {"Cursor", CallbackKind::cursor, false, move_over_pfd, "popup_cursor"},
    {"Click", CallbackKind::click, false, click_pfd, "popup_click"},
    {"RightClick", CallbackKind::right_click, false, right_click_pfd, "save_geometry_click"},
    {"ShowHideCommand", CallbackKind::command, false, toggle_pfd, "toggle_popup"},
    {"SwapCommand", CallbackKind::command, false, swap, "swap_command_handler"},
    {"Disable", CallbackKind::disable, false, disable, "XPluginDisable"},
    {"Stop", CallbackKind::stop, false, unload, "XPluginStop"},
};

void PrintTo(const ThrowCase &c, std::ostream *os) { *os << c.label; }

class CallbackThrow : public testing::TestWithParam<ThrowCase> {};

TEST_P(CallbackThrow, IsLoggedOnceAndTheSimulatorGoesOn)
{
    const ThrowCase &c = GetParam();
    LinkedSim sim(cockpit_monitors(), false);
    threads_without_plugin = vxr_test::settled_thread_count(sim);
    if (!c.before_load)
        bring_up(sim);
    sim.mark();
    sim.host->throw_in_next_call(c.kind);
    c.trigger(sim);

    std::string line = std::string(c.callback) + " failed: thrown by the stand-in in the ";
    EXPECT_EQ(sim.count_logged(line), 1) << "no line \"" << line << "...\"";

    // The simulator goes on: the plug-in (loaded again where it had to go)
    // draws both displays live on their units, and clicks are taken.
    bring_up(sim);
    sim.host->run_frames(2);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(1, 64, 64), 0xFF0000));
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 64, 64), 0xFFFF00));
    sim.mark();
    click_pfd(sim);
    EXPECT_TRUE(sim.logged_in_order({"Click at 512.00 384.00"}));
    EXPECT_EQ(sim.count_logged(line), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, CallbackThrow, testing::ValuesIn(throw_cases),
                         [](const testing::TestParamInfo<ThrowCase> &info) { return info.param.label; });

// A callback failing every frame is logged once per enable period.
TEST(CallbackThrowRepeated, IsLoggedOncePerEnable)
{
    LinkedSim sim(cockpit_monitors(), false);
    bring_up(sim);
    sim.mark();
    for (int i = 0; i < 3; i++) {
        sim.host->throw_in_next_call(CallbackKind::window_draw);
        sim.host->run_frames(1);
    }
    EXPECT_EQ(sim.count_logged("popup_draw failed"), 1);

    sim.host->disable();
    ASSERT_TRUE(sim.host->enable());
    sim.host->run_frames(60);
    sim.host->throw_in_next_call(CallbackKind::window_draw);
    sim.host->run_frames(1);
    EXPECT_EQ(sim.count_logged("popup_draw failed"), 2);
}

}  // namespace
