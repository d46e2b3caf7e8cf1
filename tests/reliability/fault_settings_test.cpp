// Faults of the settings: a settings place that cannot be written, and
// popups.cfg empty, binary, huge or holding values that are not whole ints.
// Bad keys get their defaults with a line naming them, good keys are kept,
// the plug-in works on, and what the user saved is never lost.
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "config.h"
#include "reliability_util.h"

namespace fs = std::filesystem;

namespace {

using namespace reliability;
using vxr_test::LinkedSim;

std::map<std::string, int> defaults()
{
    std::map<std::string, int> values;
    for (const std::string &key : popups_cfg_keys())
        values[key] = 0;
    values["pfd_nbzl_w"] = values["mfd_nbzl_w"] = 1024;
    values["pfd_nbzl_h"] = values["mfd_nbzl_h"] = 768;
    values["pfd_nbzl_fill_window"] = values["mfd_nbzl_fill_window"] = 1;
    values["pfd_nbzl_monitor_start"] = values["mfd_nbzl_monitor_start"] = -1;
    return values;
}

// The plug-in still does its job: a command opens the PFD.
void expect_working(LinkedSim &sim)
{
    sim.host->mouse_move(960, 540);
    sim.host->run_frames(51);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

TEST(FaultSettings, BadValuesGetDefaultsAndGoodOnesAreKept)
{
    LinkedSim sim({}, false);
    const std::map<std::string, std::string> bad = {
        {"pfd_nbzl_x", "99999999999"}, {"pfd_nbzl_y", "-"}, {"pfd_nbzl_w", "12abc"},
        {"pfd_nbzl_h", "2147483648"}, {"pfd_nbzl_fill_window", "0x1"}, {"pfd_nbzl_monitor_start", "1.5"},
        {"mfd_nbzl_monitor_start", ""}, {"pfd_nbzl_source", "two"},
    };
    const std::map<std::string, int> good = {
        {"pfd_nbzl_popup_at_start", -1}, {"mfd_nbzl_x", -2147483647 - 1}, {"mfd_nbzl_y", 2147483647},
        {"mfd_nbzl_w", 800}, {"mfd_nbzl_h", 600}, {"mfd_nbzl_fill_window", 0}, {"mfd_nbzl_popup_at_start", -1},
        {"mfd_nbzl_source", 1},
    };
    std::string text;
    for (const auto &[key, value] : bad)
        text += key + " = " + value + "\n";
    for (const auto &[key, value] : good)
        text += key + " = " + std::to_string(value) + "\n";
    sim.mark();
    sim.load_with_cfg(text);

    std::map<std::string, int> expected = defaults();
    for (const auto &[key, value] : good)
        expected[key] = value;
    EXPECT_EQ(prefs_in_memory(), expected);
    for (const auto &[key, value] : bad)
        EXPECT_EQ(sim.count_logged("Configuration key \"" + key + "\": \"" + value + "\""), 1) << key;
    EXPECT_EQ(sim.count_logged("Error Getting Data - added"), static_cast<int>(bad.size()));

    std::map<std::string, int> on_disk;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
    EXPECT_EQ(on_disk, expected);
    expect_working(sim);
}

struct BrokenFile {
    const char *name;
    std::string text;
    const char *logged;   // a line the plug-in must log
    std::map<std::string, int> kept;
};

// Test names and failures show the case by its name.
void PrintTo(const BrokenFile &c, std::ostream *os) { *os << c.name; }

std::string binary_text()
{
    std::mt19937 rng(7);
    std::string text;
    for (int i = 0; i < 4096; i++)
        text += static_cast<char>(rng() & 0xFF);
    // One good line among the noise, on a line of its own.
    return text + "\npfd_nbzl_w = 800\n" + text;
}

std::string huge_text()
{
    std::string text = "pfd_nbzl_w = 800\n";
    std::string comment = "# " + std::string(1000, 'x') + "\n";
    while (text.size() <= 1024 * 1024)
        text += comment;
    return text;
}

class FaultSettingsFile : public testing::TestWithParam<BrokenFile> {};

TEST_P(FaultSettingsFile, TheDefaultsFillInAndTheFileIsWholeAgain)
{
    const BrokenFile &file = GetParam();
    LinkedSim sim({}, false);
    sim.mark();
    sim.load_with_cfg(file.text);
    EXPECT_GE(sim.count_logged(file.logged), 1);
    EXPECT_TRUE(sim.logged_in_order({"Created Configuration", "XPLMEnable Complete"}));

    std::map<std::string, int> expected = defaults();
    for (const auto &[key, value] : file.kept)
        expected[key] = value;
    EXPECT_EQ(prefs_in_memory(), expected);
    std::map<std::string, int> on_disk;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
    EXPECT_EQ(on_disk, expected);
    expect_working(sim);
}

INSTANTIATE_TEST_SUITE_P(Files, FaultSettingsFile, testing::Values(
    BrokenFile{"empty", "", "Error Getting Data - added: mfd_nbzl_monitor_start", {}},
    BrokenFile{"only_blanks_and_comments", "\n\n   \n# pfd_nbzl_w = 800\n\r\n", "Error Getting Data - added: pfd_nbzl_w", {}},
    BrokenFile{"binary", binary_text(), "skipped", {{"pfd_nbzl_w", 800}}},
    // Larger than any settings file: not read at all, the defaults are used.
    BrokenFile{"huge", huge_text(), "is larger than 1048576 bytes", {}}),
    [](const testing::TestParamInfo<BrokenFile> &info) { return std::string(info.param.name); });

// Every way the settings place can be unusable.
struct BrokenPlace {
    const char *name;
    void (*make)(const std::string &settings_dir);
    const char *logged;
};

// Test names and failures show the case by its name.
void PrintTo(const BrokenPlace &c, std::ostream *os) { *os << c.name; }

class FaultSettingsPlace : public testing::TestWithParam<BrokenPlace> {};

TEST_P(FaultSettingsPlace, TheDefaultsAreUsedAndNothingBreaks)
{
    LinkedSim sim({}, false);
    const std::string settings = sim.root.plugin_dir() + "/settings";
    GetParam().make(settings);
    sim.mark();
    ASSERT_TRUE(sim.host->load_linked(vxr_test::linked_plugin(), sim.root.xpl_path()));
    EXPECT_GE(sim.count_logged(GetParam().logged), 1);
    EXPECT_EQ(prefs_in_memory(), defaults());
    expect_working(sim);
    sim.host->unload();
    EXPECT_EQ(sim.count_logged("XPLMStop Complete"), 1);
}

INSTANTIATE_TEST_SUITE_P(Places, FaultSettingsPlace, testing::Values(
    BrokenPlace{"settings_is_a_file",
        [](const std::string &dir) { fs::remove_all(dir); vxr_test::write_file(dir, "a file"); },
        "Unable to create the settings folder"},
    BrokenPlace{"settings_links_below_a_file",
        [](const std::string &dir) {
            fs::remove_all(dir);
            vxr_test::write_file(dir + ".file", "a file");
            fs::create_symlink(dir + ".file/settings", dir);
        },
        "Unable to Initialize Failures"},
    BrokenPlace{"popups_cfg_is_a_folder",
        [](const std::string &dir) { fs::create_directories(dir + "/popups.cfg/inside"); },
        "Unable to Initialize Failures"},
    BrokenPlace{"settings_missing",
        [](const std::string &dir) { fs::remove_all(dir); },
        "Error Reading Config File. Creating New File"}),
    [](const testing::TestParamInfo<BrokenPlace> &info) { return std::string(info.param.name); });

TEST(FaultSettings, WhatTheUserSavedSurvivesAnUnwritableDisableAndIsWrittenLater)
{
    LinkedSim sim({}, false);
    sim.load_with_cfg("");
    const std::string settings = sim.root.plugin_dir() + "/settings";
    sim.host->mouse_move(960, 540);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    simhost::WindowState pfd = window_of(sim, pfd_title);

    // The user saves the pop-out place with a right click in the top-right corner...
    sim.host->mouse_down(pfd.rect.right - 10, pfd.rect.top - 10, simhost::MouseButton::right);
    sim.host->mouse_up(pfd.rect.right - 10, pfd.rect.top - 10, simhost::MouseButton::right);
    ASSERT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 1);
    std::map<std::string, int> saved = prefs_in_memory();

    // ...and the settings folder becomes unusable before the disable writes it.
    fs::rename(settings, settings + ".away");
    vxr_test::write_file(settings, "a file");
    sim.mark();
    sim.host->disable();
    EXPECT_GE(sim.count_logged("stays to be saved"), 1);
    EXPECT_EQ(prefs_in_memory(), saved);

    // Once the folder is back, the next enable writes what was saved.
    fs::remove(settings);
    fs::rename(settings + ".away", settings);
    ASSERT_TRUE(sim.host->enable());
    std::map<std::string, int> on_disk;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
    EXPECT_EQ(on_disk, saved);
    EXPECT_EQ(on_disk["pfd_nbzl_x"], pfd.rect.left);
    EXPECT_EQ(on_disk["pfd_nbzl_y"], pfd.rect.bottom);
    EXPECT_EQ(on_disk["pfd_nbzl_w"], pfd.rect.width());
}

TEST(FaultSettings, AFileDeletedOrBrokenWhileDisabledIsWholeAgainAtTheNextEnable)
{
    LinkedSim sim({}, false);
    sim.load_with_cfg("pfd_nbzl_x = 300\nmfd_nbzl_w = 640\n");
    std::map<std::string, int> saved = prefs_in_memory();
    ASSERT_EQ(saved["pfd_nbzl_x"], 300);

    // Deleted while the plug-in is away: every value comes back.
    sim.host->disable();
    fs::remove(sim.root.settings_file());
    ASSERT_TRUE(sim.host->enable());
    std::map<std::string, int> on_disk;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
    EXPECT_EQ(on_disk, saved);

    // Edited badly: a key gone, a value broken, another changed by hand.
    // The first two come back; the hand edit is the user's and stays.
    sim.host->disable();
    vxr_test::write_file(sim.root.settings_file(), "pfd_nbzl_y = 0\nmfd_nbzl_w = 6x0\npfd_nbzl_h = 700\n");
    ASSERT_TRUE(sim.host->enable());
    on_disk.clear();
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
    EXPECT_EQ(on_disk["pfd_nbzl_x"], 300);
    EXPECT_EQ(on_disk["mfd_nbzl_w"], 640);
    EXPECT_EQ(on_disk["pfd_nbzl_h"], 700);
    EXPECT_EQ(prefs_in_memory(), saved);
}

}  // namespace
