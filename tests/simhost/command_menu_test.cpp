/*
 * Commands (handler order, the return-0 rule, begin/continue/end, once) and
 * menus (sub-menus of the plug-ins menu, items, choosing by path).
 */
#include "host_fixture.h"

#include <XPLMMenus.h>
#include <XPLMUtilities.h>

using namespace simhost_test;
using simhost::Host;

namespace {

struct Handler {
    std::string name;
    int result = 1;
    std::vector<std::string> *journal;
};

int record_phase(XPLMCommandRef, XPLMCommandPhase phase, void *refcon)
{
    auto *h = static_cast<Handler *>(refcon);
    static const char *const phases[] = {"begin", "continue", "end"};
    h->journal->push_back(h->name + ":" + phases[phase]);
    return h->result;
}

std::vector<std::pair<void *, void *>> chosen;
void menu_handler(void *menu_ref, void *item_ref) { chosen.emplace_back(menu_ref, item_ref); }

class CommandTest : public HostTest {
protected:
    void SetUp() override
    {
        start();
        chosen.clear();
    }
};

}  // namespace

TEST_F(CommandTest, CreatedOnceAndFoundByName)
{
    XPLMCommandRef made = XPLMCreateCommand("test/cmd", "a test command");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(XPLMCreateCommand("test/cmd", "another description"), made);
    EXPECT_EQ(XPLMFindCommand("test/cmd"), made);
    EXPECT_EQ(XPLMFindCommand("test/none"), nullptr);
    EXPECT_FALSE(host->command("test/none"));
}

TEST_F(CommandTest, BeforeHandlersThenAfterHandlersAndZeroStopsTheRest)
{
    std::vector<std::string> journal;
    XPLMCommandRef cmd = XPLMCreateCommand("test/order", "");
    Handler after1{"after1", 1, &journal}, before1{"before1", 1, &journal}, before2{"before2", 1, &journal},
        after2{"after2", 1, &journal};
    XPLMRegisterCommandHandler(cmd, record_phase, 0, &after1);
    XPLMRegisterCommandHandler(cmd, record_phase, 1, &before1);
    XPLMRegisterCommandHandler(cmd, record_phase, 0, &after2);
    XPLMRegisterCommandHandler(cmd, record_phase, 1, &before2);
    EXPECT_EQ(host->live().command_handlers, 4);

    EXPECT_TRUE(host->command("test/order", Host::CommandAction::begin));
    EXPECT_EQ(journal, (std::vector<std::string>{"before1:begin", "before2:begin", "after1:begin", "after2:begin"}));

    journal.clear();
    before2.result = 0;
    host->command("test/order", Host::CommandAction::end);
    EXPECT_EQ(journal, (std::vector<std::string>{"before1:end", "before2:end"}));

    journal.clear();
    before2.result = 1;
    after1.result = 0;
    XPLMUnregisterCommandHandler(cmd, record_phase, 1, &before1);
    XPLMUnregisterCommandHandler(cmd, record_phase, 0, &before1);   // not registered that way: no effect
    XPLMCommandOnce(cmd);
    EXPECT_EQ(journal, (std::vector<std::string>{"before2:begin", "after1:begin", "before2:end", "after1:end"}));
    EXPECT_EQ(host->live().command_handlers, 3);
}

TEST_F(CommandTest, HeldCommandsContinueOncePerFrame)
{
    std::vector<std::string> journal;
    Handler h{"h", 1, &journal};
    XPLMCommandRef cmd = XPLMCreateCommand("test/hold", "");
    XPLMRegisterCommandHandler(cmd, record_phase, 0, &h);
    XPLMCommandBegin(cmd);
    host->run_frames(3);
    XPLMCommandEnd(cmd);
    host->run_frames(2);
    EXPECT_EQ(journal, (std::vector<std::string>{"h:begin", "h:continue", "h:continue", "h:continue", "h:end"}));

    journal.clear();
    host->command("test/hold", Host::CommandAction::begin);
    host->run_frames(1);
    host->command("test/hold", Host::CommandAction::end);
    host->command("test/hold", Host::CommandAction::once);
    host->run_frames(1);
    EXPECT_EQ(journal, (std::vector<std::string>{"h:begin", "h:continue", "h:end", "h:begin", "h:end"}));
}

TEST_F(CommandTest, ADisabledPluginsHandlersAreNotCalled)
{
    std::vector<std::string> journal;
    Handler h{"h", 1, &journal};
    XPLMRegisterCommandHandler(XPLMCreateCommand("test/off", ""), record_phase, 0, &h);
    host->disable();
    EXPECT_TRUE(host->command("test/off"));
    EXPECT_TRUE(journal.empty());
}

TEST_F(CommandTest, SubMenuWithItemsChosenByPath)
{
    int menu_ref = 0, item_a = 0;
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    ASSERT_NE(plugins, nullptr);
    int hook = XPLMAppendMenuItem(plugins, "Test Popups", nullptr, 0);
    EXPECT_EQ(hook, 0);
    XPLMMenuID sub = XPLMCreateMenu("Test Popups", plugins, hook, menu_handler, &menu_ref);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(XPLMAppendMenuItem(sub, "Item A", &item_a, 0), 0);
    std::vector<std::string> journal;
    Handler h{"cmd", 1, &journal};
    XPLMCommandRef cmd = XPLMCreateCommand("test/menu_cmd", "");
    XPLMRegisterCommandHandler(cmd, record_phase, 0, &h);
    EXPECT_EQ(XPLMAppendMenuItemWithCommand(sub, "Item B", cmd), 1);
    EXPECT_EQ(XPLMAppendMenuItem(sub, "Item C", nullptr, 0), 2);

    EXPECT_EQ(host->count_submenus("Test Popups"), 1);
    EXPECT_EQ(host->menu_items("Test Popups"), (std::vector<std::string>{"Item A", "Item B", "Item C"}));

    EXPECT_TRUE(host->choose_menu("Test Popups/Item A"));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].first, &menu_ref);
    EXPECT_EQ(chosen[0].second, &item_a);
    EXPECT_TRUE(host->choose_menu("Test Popups/Item B"));
    EXPECT_EQ(journal, (std::vector<std::string>{"cmd:begin", "cmd:end"}));
    EXPECT_EQ(chosen.size(), 1u) << "an item bound to a command does not call the handler";

    EXPECT_FALSE(host->choose_menu("Test Popups/Item Z"));
    EXPECT_FALSE(host->choose_menu("Test Popups"));
    EXPECT_FALSE(host->choose_menu("Other/Item A"));
    XPLMEnableMenuItem(sub, 2, 0);
    EXPECT_FALSE(host->choose_menu("Test Popups/Item C"));

    XPLMRemoveMenuItem(sub, 0);
    EXPECT_EQ(host->menu_items("Test Popups"), (std::vector<std::string>{"Item B", "Item C"}));
    EXPECT_EQ(host->live().menus, 1);
    EXPECT_EQ(host->live().menu_items, 3);

    XPLMDestroyMenu(sub);
    XPLMClearAllMenuItems(plugins);
    EXPECT_EQ(host->count_submenus("Test Popups"), 0);
    EXPECT_EQ(host->live().menus, 0);
    EXPECT_EQ(host->live().menu_items, 0);
}

TEST_F(CommandTest, MenuCreationChecksItsParentItem)
{
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    EXPECT_EQ(XPLMCreateMenu("Dangling", plugins, 3, nullptr, nullptr), nullptr);
    EXPECT_EQ(XPLMCreateMenu("", nullptr, 0, nullptr, nullptr), nullptr);
    EXPECT_EQ(XPLMAppendMenuItemWithCommand(plugins, "No command", nullptr), -1);
    // A second sub-menu of the same name is counted, as a user would see it twice.
    for (int i = 0; i < 2; i++) {
        int hook = XPLMAppendMenuItem(plugins, "Twice", nullptr, 0);
        ASSERT_NE(XPLMCreateMenu("Twice", plugins, hook, nullptr, nullptr), nullptr);
    }
    EXPECT_EQ(host->count_submenus("Twice"), 2);
}
