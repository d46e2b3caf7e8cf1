// The preference store against real popups.cfg files: missing files, keys and
// folders, bad and negative values, what counts as a change, and when changes
// reach the file.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config.h"
#include "core_test_util.h"

namespace {

namespace fs = std::filesystem;
using vxr_test::read_cfg;
using vxr_test::LinkedSim;

const std::vector<int> defaults = {0, 0, 1024, 768, 1, 0, -1, 0, 0, 1024, 768, 1, 0, -1, 0, 0};

std::vector<std::string> added_lines_for(const std::vector<std::string> &keys)
{
    std::vector<std::string> lines;
    for (const auto &k : keys)
        lines.push_back("Error Getting Data - added: " + k);
    return lines;
}

TEST(Prefs, NoFileGivesEveryDefaultInOrderAndWritesThemAll)
{
    LinkedSim sim;
    EXPECT_TRUE(sim.logged_in_order({"Created Configuration: popups.cfg with path " + sim.root.settings_file(),
        "Error Reading Config File. Creating New File"}));
    EXPECT_TRUE(sim.logged_in_order(added_lines_for(vxr_test::popups_cfg_keys())));
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: "), 16);
    EXPECT_EQ(sim.count_logged("Unable to Initialize Failures"), 0);

    auto cfg = read_cfg(sim.root.settings_file()).entries;
    ASSERT_EQ(cfg.size(), 16u);
    for (size_t i = 0; i < vxr_test::popups_cfg_keys().size(); i++)
        EXPECT_EQ(cfg[vxr_test::popups_cfg_keys()[i]], std::to_string(defaults[i])) << vxr_test::popups_cfg_keys()[i];
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(mfd_nbzl_prefs.h->get(), 768);
}

TEST(Prefs, AFileWithOneKeyKeepsItAndGetsTheOtherFifteen)
{
    LinkedSim sim({}, false);
    vxr_test::write_file(sim.root.settings_file(), "pfd_nbzl_w = 800\n");
    core_test::load(sim);

    EXPECT_EQ(pfd_nbzl_prefs.w->get(), 800);
    EXPECT_EQ(sim.count_logged("Error Reading Config File"), 0);
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: "), 15);
    EXPECT_EQ(sim.count_logged("added: pfd_nbzl_w"), 0);
    auto cfg = read_cfg(sim.root.settings_file()).entries;
    EXPECT_EQ(cfg.size(), 16u);
    EXPECT_EQ(cfg["pfd_nbzl_w"], "800");
    EXPECT_EQ(cfg["mfd_nbzl_w"], "1024");
}

TEST(Prefs, NegativeValuesAreTakenAsTheyAre)
{
    LinkedSim sim({}, false);
    vxr_test::write_file(sim.root.settings_file(),
        "pfd_nbzl_x = -1200\npfd_nbzl_popup_at_start = -1\nmfd_nbzl_monitor_start = -1\nmfd_nbzl_y = -40\n");
    core_test::load(sim);
    EXPECT_EQ(pfd_nbzl_prefs.x->get(), -1200);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), -1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(mfd_nbzl_prefs.y->get(), -40);
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries["pfd_nbzl_x"], "-1200");
}

TEST(Prefs, ValuesThatAreNotWholeIntsAreReplacedByDefaults)
{
    LinkedSim sim({}, false);
    vxr_test::write_file(sim.root.settings_file(),
        "pfd_nbzl_w = wide\npfd_nbzl_h = 99999999999\nmfd_nbzl_x = 12.5\nmfd_nbzl_y = 7\ngns530_1_nbzl_w = abc\n");
    core_test::load(sim);
    EXPECT_EQ(pfd_nbzl_prefs.w->get(), 1024);
    EXPECT_EQ(pfd_nbzl_prefs.h->get(), 768);
    EXPECT_EQ(mfd_nbzl_prefs.x->get(), 0);
    EXPECT_EQ(mfd_nbzl_prefs.y->get(), 7);
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: pfd_nbzl_w"), 1);
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: pfd_nbzl_h"), 1);
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: mfd_nbzl_x"), 1);
    EXPECT_EQ(sim.count_logged("Error Getting Data - added: mfd_nbzl_y"), 0);
    // A key written only once set, named with a bad value: said once, replaced.
    EXPECT_EQ(sim.count_logged("Configuration key \"gns530_1_nbzl_w\""), 1);

    auto cfg = read_cfg(sim.root.settings_file()).entries;
    EXPECT_EQ(cfg["pfd_nbzl_w"], "1024");
    EXPECT_EQ(cfg["pfd_nbzl_h"], "768");
    EXPECT_EQ(cfg["mfd_nbzl_x"], "0");
    EXPECT_EQ(cfg["mfd_nbzl_y"], "7");
    EXPECT_EQ(cfg["gns530_1_nbzl_w"], "1024");
}

TEST(Prefs, OnlyAValueOtherThanTheLastLoadedOrSetIsAChange)
{
    LinkedSim sim;
    pref_int *w = pfd_nbzl_prefs.w;
    w->set(1024);   // what was just loaded
    EXPECT_FALSE(w->changed);
    w->set(900);
    EXPECT_TRUE(w->changed);
    EXPECT_EQ(w->get(), 900);

    pref_int *x = mfd_nbzl_prefs.x;
    x->set(5);
    sim.host->disable();   // stores it
    ASSERT_FALSE(x->changed);
    ASSERT_TRUE(sim.host->enable());
    x->set(5);
    EXPECT_FALSE(x->changed);
    x->set(6);
    EXPECT_TRUE(x->changed);
}

TEST(Prefs, AFirstSetToZeroReachesTheFile)
{
    LinkedSim sim({}, false);
    vxr_test::write_file(sim.root.settings_file(), "pfd_nbzl_w = 500\n");
    core_test::load(sim);
    pfd_nbzl_prefs.w->set(0);
    EXPECT_TRUE(pfd_nbzl_prefs.w->changed);
    sim.host->unload();
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries["pfd_nbzl_w"], "0");
}

TEST(Prefs, ChangesReachTheFileAtDisableAndStayThroughTheNextEnable)
{
    LinkedSim sim;
    pfd_nbzl_prefs.x->set(321);
    mfd_nbzl_prefs.monitor_start->set(2);
    // Nothing is written while the plug-in runs.
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries["pfd_nbzl_x"], "0");

    sim.host->disable();
    auto cfg = read_cfg(sim.root.settings_file()).entries;
    EXPECT_EQ(cfg["pfd_nbzl_x"], "321");
    EXPECT_EQ(cfg["mfd_nbzl_monitor_start"], "2");
    EXPECT_FALSE(pfd_nbzl_prefs.x->changed);

    std::string before = vxr_test::read_file(sim.root.settings_file());
    ASSERT_TRUE(sim.host->enable());
    EXPECT_EQ(pfd_nbzl_prefs.x->get(), 321);
    EXPECT_EQ(vxr_test::read_file(sim.root.settings_file()), before);

    // A change in the second period is written at its disable as well.
    pfd_nbzl_prefs.x->set(7);
    sim.host->unload();
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries["pfd_nbzl_x"], "7");
}

TEST(Prefs, AMissingSettingsFolderIsCreated)
{
    LinkedSim sim({}, false);
    fs::remove_all(sim.root.plugin_dir() + "/settings");
    core_test::load(sim);
    EXPECT_TRUE(fs::is_directory(sim.root.plugin_dir() + "/settings"));
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries.size(), 16u);
    EXPECT_EQ(sim.count_logged("Unable to Initialize Failures"), 0);
}

TEST(Prefs, AnUnwritableSettingsPlaceIsLoggedAndSurvived)
{
    // A file where the folder should be: no folder can be made and nothing
    // written below it, whoever runs the test.
    LinkedSim sim({}, false);
    std::string settings = sim.root.plugin_dir() + "/settings";
    fs::remove_all(settings);
    vxr_test::write_file(settings, "not a folder");
    core_test::load(sim);
    EXPECT_TRUE(sim.logged_in_order({"Unable to create the settings folder", "Error Reading Config File. Creating New File",
        "Unable to Initialize Failures", "XPLMEnable Complete"}));
    EXPECT_EQ(pfd_nbzl_prefs.w->get(), 1024);

    // Changes stay in memory across a disable and an enable, and nothing breaks.
    pfd_nbzl_prefs.w->set(640);
    sim.host->disable();
    EXPECT_TRUE(pfd_nbzl_prefs.w->changed);
    sim.mark();
    ASSERT_TRUE(sim.host->enable());
    EXPECT_EQ(sim.count_logged("Unable to Initialize Failures"), 1);
    EXPECT_EQ(pfd_nbzl_prefs.w->get(), 640);
    sim.host->run_frames(51);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
    sim.host->unload();
    EXPECT_EQ(vxr_test::read_file(settings), "not a folder");
}

}  // namespace
