// Buttons on a popup's face: their cursors, and the commands they hold from
// mouse-down to mouse-up, seen through commands and handlers of the test's own.
#include <algorithm>

#include <gtest/gtest.h>

#include <XPLMUtilities.h>

#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using simhost::MouseButton;
using simhost::Rect;
using vxr_test::LinkedSim;

// The phases a test command went through, in order.
struct command_record {
    std::vector<int> phases;
};

int record_phase(XPLMCommandRef, XPLMCommandPhase phase, void *ref)
{
    static_cast<command_record *>(ref)->phases.push_back(phase);
    return 1;
}

// A PFD with three buttons: a single button in the middle, a medium knob on
// the left and a small knob on the right, bound to the test's commands.
struct ButtonsTest : testing::Test {
    LinkedSim sim{{}, false};
    command_record single, knob_left, knob_right, small_left;
    popup_button single_button, medium_knob, small_knob;
    Rect r;

    void SetUp() override
    {
        register_command("test/single", &single);
        register_command("test/knob_left", &knob_left);
        register_command("test/knob_right", &knob_right);
        register_command("test/small_left", &small_left);

        single_button.single = true;
        single_button.cx = 512;
        single_button.cy = 384;
        single_button.width = 100;
        single_button.height = 100;
        single_button.single_cmd_name = "test/single";

        medium_knob.single = false;
        medium_knob.knob_size = 1;
        medium_knob.cx = 200;
        medium_knob.cy = 384;
        medium_knob.width = 100;
        medium_knob.height = 60;
        medium_knob.left_cmd_name = "test/knob_left";
        medium_knob.right_cmd_name = "test/knob_right";

        small_knob = medium_knob;
        small_knob.knob_size = 7;
        small_knob.cx = 800;
        small_knob.left_cmd_name = "test/small_left";
        small_knob.right_cmd_name = "test/no_such_command";

        PFD_popup.buttons = {&single_button, &medium_knob, &small_knob};
        load_with_settings(sim, {});
        sim.host->mouse_move(960, 540);
        ASSERT_TRUE(sim.host->command(pfd_cmd));
        r = rect_of(sim, pfd_title);
        ASSERT_TRUE(same_rect(r, Rect{448, 924, 1472, 156}));
    }

    void TearDown() override { PFD_popup.buttons.clear(); }

    void register_command(const char *name, command_record *record)
    {
        XPLMCommandRef cmd = XPLMCreateCommand(name, name);
        XPLMRegisterCommandHandler(cmd, record_phase, 1, record);
    }

    // A window point at image coordinates (the window is the image's size).
    int wx(double ix) const { return r.left + static_cast<int>(ix); }
    int wy(double iy) const { return r.top - static_cast<int>(iy); }

    std::string cursor_at(int x, int y)
    {
        sim.host->mouse_move(x, y);
        sim.host->run_frames(1);
        simhost::CursorState c = sim.host->cursor();
        if (c.status != xplm_CursorCustom)
            return "status " + std::to_string(c.status);
        return c.custom_name.empty() ? "custom, none of the plug-in's on the desktop" : c.custom_name;
    }
};

TEST_F(ButtonsTest, CommandsAreLookedUpAtEnable)
{
    EXPECT_EQ(single_button.single_cmd, XPLMFindCommand("test/single"));
    EXPECT_NE(single_button.single_cmd, nullptr);
    EXPECT_EQ(medium_knob.left_cmd, XPLMFindCommand("test/knob_left"));
    EXPECT_EQ(medium_knob.right_cmd, XPLMFindCommand("test/knob_right"));
    EXPECT_EQ(small_knob.right_cmd, nullptr);
}

TEST_F(ButtonsTest, EachButtonShowsItsCursor)
{
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    EXPECT_EQ(cursor_at(wx(512), wy(384)), "m_point.png");
    EXPECT_EQ(cursor_at(wx(200), wy(384)), "r_m_r.png");
    EXPECT_EQ(cursor_at(wx(199), wy(384)), "r_m_l.png");
    EXPECT_EQ(cursor_at(wx(820), wy(384)), "r_s_r.png");
    EXPECT_EQ(cursor_at(wx(780), wy(384)), "r_s_l.png");
    // The button's edges are outside it.
    EXPECT_EQ(cursor_at(wx(462), wy(384)), "status 2");
    EXPECT_EQ(cursor_at(wx(512), wy(434)), "status 2");

    single_button.cursor = popup_cursors[CURSOR_A_UP];
    EXPECT_EQ(cursor_at(wx(512), wy(384)), "a_up.png");
}

TEST_F(ButtonsTest, ASingleButtonHoldsItsCommandUntilTheMouseUp)
{
    sim.mark();
    sim.host->mouse_down(wx(512), wy(384), MouseButton::left);
    EXPECT_EQ(sim.count_logged("Click at 512.00 384.00"), 1);
    ASSERT_EQ(single.phases, std::vector<int>{xplm_CommandBegin});
    EXPECT_TRUE(single_button.held);
    sim.host->run_frames(3);
    EXPECT_EQ(single.phases.back(), xplm_CommandContinue);

    // Released elsewhere on the face: the command ends all the same.
    sim.host->mouse_up(wx(300), wy(600), MouseButton::left);
    EXPECT_EQ(single.phases.back(), xplm_CommandEnd);
    EXPECT_FALSE(single_button.held);
    size_t ended = single.phases.size();
    sim.host->run_frames(2);
    EXPECT_EQ(single.phases.size(), ended);
}

TEST_F(ButtonsTest, AKnobClickedAtItsCentreTurnsRight)
{
    sim.host->mouse_down(wx(200), wy(384), MouseButton::left);
    sim.host->mouse_up(wx(200), wy(384), MouseButton::left);
    EXPECT_EQ(knob_right.phases, (std::vector<int>{xplm_CommandBegin, xplm_CommandEnd}));
    EXPECT_TRUE(knob_left.phases.empty());

    sim.host->mouse_down(wx(170), wy(384), MouseButton::left);
    sim.host->mouse_up(wx(170), wy(384), MouseButton::left);
    EXPECT_EQ(knob_left.phases, (std::vector<int>{xplm_CommandBegin, xplm_CommandEnd}));

    // A half whose command does not exist begins nothing.
    sim.host->mouse_down(wx(820), wy(384), MouseButton::left);
    sim.host->mouse_up(wx(820), wy(384), MouseButton::left);
    EXPECT_FALSE(small_knob.held);
    EXPECT_TRUE(small_left.phases.empty());
    EXPECT_EQ(knob_right.phases.size(), 2u);
}

TEST_F(ButtonsTest, AReleaseInABottomCornerLeavesTheCommandHeldUntilTheNextPress)
{
    sim.host->mouse_down(wx(512), wy(384), MouseButton::left);
    sim.host->mouse_up(r.right - 5, r.bottom + 5, MouseButton::left);
    EXPECT_TRUE(single_button.held);
    EXPECT_EQ(single.phases.front(), xplm_CommandBegin);
    EXPECT_NE(single.phases.back(), xplm_CommandEnd);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), r));

    // The next press, anywhere on the face, ends it first.
    sim.host->mouse_down(wx(300), wy(600), MouseButton::left);
    EXPECT_EQ(single.phases.back(), xplm_CommandEnd);
    EXPECT_FALSE(single_button.held);
    sim.host->mouse_up(wx(300), wy(600), MouseButton::left);
    EXPECT_EQ(std::count(single.phases.begin(), single.phases.end(), xplm_CommandEnd), 1);
}

}  // namespace
