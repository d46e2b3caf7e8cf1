// Faults of the plug-in's own files: the overlay image missing, empty,
// corrupt or enormous, and cursor images missing or unreadable. One line
// says what could not be read; the windows open with the live picture and
// the simulator's cursor stands in for a missing one.
#include <filesystem>

#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "reliability_util.h"

namespace fs = std::filesystem;

namespace {

using namespace reliability;
using simhost::MouseButton;
using vxr_test::LinkedSim;

const char display_unit_cfg[] =
    "pfd_nbzl_popup_at_start = -1\npfd_nbzl_monitor_start = 1\nmfd_nbzl_popup_at_start = -1\n";

struct BrokenImage {
    const char *name;
    void (*make)(const std::string &path);
    const char *why;   // the reason the line gives
};

// Test names and failures show the case by its name.
void PrintTo(const BrokenImage &c, std::ostream *os) { *os << c.name; }

class FaultOverlayImage : public testing::TestWithParam<BrokenImage> {};

TEST_P(FaultOverlayImage, OneLineEachAndTheWindowsShowTheLivePicture)
{
    LinkedSim sim(cockpit_monitors(), false);
    const std::string image = sim.root.plugin_dir() + "/resources/popup/nobezel.png";
    GetParam().make(image);
    sim.mark();
    sim.load_with_cfg(display_unit_cfg);
    int threads = vxr_test::settled_thread_count(sim);

    // One line for each of the G1000's three screens, which have the overlay.
    EXPECT_EQ(sim.count_logged("Cannot read image file " + image), 3);
    EXPECT_EQ(sim.count_logged(GetParam().why), 3);
    EXPECT_EQ(PFD_popup.image, nullptr);

    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);
    EXPECT_EQ(sim.count_logged("No overlay for VXR G1000 PFD Bezelless"), 1);
    simhost::WindowState pfd = window_of(sim, pfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.monitor, 1);
    EXPECT_EQ(sim.host->live().threads, threads);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(1, 64, 64), 0xFF0000));
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(1, 960, 700), 0xFFFFFF));

    // The close corner, the command, a pop-out and a disable all cope.
    sim.host->mouse_down(pfd.rect.left + 10, pfd.rect.top - 10, MouseButton::left);
    sim.host->mouse_up(pfd.rect.left + 10, pfd.rect.top - 10, MouseButton::left);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    sim.host->mouse_move(960, 540);
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    simhost::WindowState mfd = window_of(sim, mfd_title);
    sim.host->mouse_down(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::left);
    sim.host->mouse_up(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::left);
    EXPECT_EQ(window_of(sim, mfd_title).mode, simhost::WindowMode::popout);
    sim.host->run_frames(2);
    sim.host->disable();
    EXPECT_TRUE(nothing_left(*sim.host, threads));
}

void truncate_to_half(const std::string &path)
{
    std::string bytes = vxr_test::read_file(path);
    vxr_test::write_file(path, bytes.substr(0, bytes.size() / 2));
}

INSTANTIATE_TEST_SUITE_P(Images, FaultOverlayImage, testing::Values(
    BrokenImage{"missing", [](const std::string &p) { fs::remove(p); }, "file not found"},
    BrokenImage{"empty", [](const std::string &p) { vxr_test::write_file(p, ""); }, "error while reading"},
    BrokenImage{"not_a_png", [](const std::string &p) { vxr_test::write_file(p, "\x89PNG\r\n\x1a\ngarbage"); },
                "error while reading"},
    BrokenImage{"cut_in_half", truncate_to_half, "error while reading"},
    // Declared 20000 x 20000: read, it would take gigabytes.
    BrokenImage{"enormous", [](const std::string &p) { vxr_test::write_file(p, png_bytes(20000, 20000, false)); },
                "20000 x 20000"},
    // A whole, valid image, but wider than any overlay may be.
    BrokenImage{"too_wide", [](const std::string &p) { vxr_test::write_file(p, png_bytes(5000, 2, true)); },
                "5000 x 2"}),
    [](const testing::TestParamInfo<BrokenImage> &info) { return std::string(info.param.name); });

// The pointer over a floating PFD centred on (960, 540): 448..1472 x 156..924.
struct FaultCursors : testing::Test {
    LinkedSim sim{{}, false};
    std::string cursors_dir() const { return sim.root.plugin_dir() + "/resources/popup/cursors"; }

    void open_pfd()
    {
        sim.load_with_cfg("");
        sim.host->mouse_move(960, 540);
        ASSERT_TRUE(sim.host->command(pfd_cmd));
        sim.host->run_frames(1);
    }

    simhost::CursorState cursor_at(int x, int y)
    {
        sim.host->mouse_move(x, y);
        sim.host->run_frames(1);
        return sim.host->cursor();
    }
};

TEST_F(FaultCursors, WithoutTheFolderEveryZoneShowsTheSimulatorsCursor)
{
    fs::remove_all(cursors_dir());
    sim.mark();
    open_pfd();
    EXPECT_EQ(sim.count_logged("Cannot read cursor " + cursors_dir()), 5);
    EXPECT_EQ(sim.host->live().os_cursors, 0);
    for (auto [x, y] : {std::pair{458, 914}, {1462, 914}, {960, 914}, {1462, 166}, {458, 166}})
        EXPECT_EQ(cursor_at(x, y).status, xplm_CursorDefault) << x << "," << y;

    // The zones still act: a drag by the top strip moves the window.
    sim.host->mouse_down(960, 914, MouseButton::left);
    sim.host->mouse_drag(1000, 900, MouseButton::left);
    sim.host->mouse_up(1000, 900, MouseButton::left);
    EXPECT_EQ(window_of(sim, pfd_title).rect.left, 488);
    sim.host->mouse_down(498, 900, MouseButton::left);
    sim.host->mouse_up(498, 900, MouseButton::left);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
}

TEST_F(FaultCursors, AMissingOrBrokenCursorIsReplacedOnlyWhereItIsUsed)
{
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    fs::remove(cursors_dir() + "/b_close.png");
    vxr_test::write_file(cursors_dir() + "/b_pop.png", "");
    sim.mark();
    open_pfd();
    EXPECT_EQ(sim.count_logged("Cannot read cursor"), 2);
    EXPECT_EQ(sim.host->live().os_cursors, 3);
    EXPECT_EQ(cursor_at(458, 914).status, xplm_CursorDefault);
    EXPECT_EQ(cursor_at(1462, 914).status, xplm_CursorDefault);
    simhost::CursorState strip = cursor_at(960, 914);
    EXPECT_EQ(strip.status, xplm_CursorCustom);
    EXPECT_EQ(strip.custom_name, "m_click.png");
    EXPECT_EQ(cursor_at(1462, 166).status, xplm_CursorCustom);

    sim.host->disable();
    EXPECT_EQ(sim.host->live().os_cursors, 0);
}

}  // namespace
