/*
 * XPLMMenus: the plug-ins menu, sub-menus and items.
 */
#include <XPLMMenus.h>

#include "sim.h"

using simhost::Menu;
using simhost::MenuItem;
using simhost::Sim;

namespace {

Menu *find_menu(Sim **sim_out, XPLMMenuID id)
{
    Sim *sim = Sim::current();
    *sim_out = sim;
    return sim ? sim->menus.find(id) : nullptr;
}

}  // namespace

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void)
{
    Sim *sim = Sim::current();
    return sim ? sim->menus.plugins_menu() : nullptr;
}

XPLM_API XPLMMenuID XPLMFindAircraftMenu(void)
{
    Sim *sim = Sim::current();
    return sim ? sim->menus.aircraft_menu() : nullptr;
}

XPLM_API XPLMMenuID XPLMCreateMenu(const char *inName, XPLMMenuID inParentMenu, int inParentItem, XPLMMenuHandler_f inHandler, void *inMenuRef)
{
    Sim *sim;
    Menu *parent = find_menu(&sim, inParentMenu);
    if (sim == nullptr || inName == nullptr || inName[0] == '\0' || (inParentMenu != nullptr && parent == nullptr))
        return nullptr;
    return sim->menus.create(inName, parent, inParentItem, inHandler, inMenuRef);
}

XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID)
{
    Sim *sim;
    if (Menu *menu = find_menu(&sim, inMenuID))
        sim->menus.destroy(menu);
}

XPLM_API void XPLMClearAllMenuItems(XPLMMenuID inMenuID)
{
    Sim *sim;
    if (Menu *menu = find_menu(&sim, inMenuID))
        sim->menus.clear_items(menu);
}

XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char *inItemName, void *inItemRef, int)
{
    Sim *sim;
    Menu *menu = find_menu(&sim, inMenu);
    if (menu == nullptr || inItemName == nullptr)
        return -1;
    return sim->menus.append(menu, inItemName, inItemRef, nullptr);
}

XPLM_API int XPLMAppendMenuItemWithCommand(XPLMMenuID inMenu, const char *inItemName, XPLMCommandRef inCommandToExecute)
{
    Sim *sim;
    Menu *menu = find_menu(&sim, inMenu);
    if (menu == nullptr || inItemName == nullptr)
        return -1;
    simhost::Command *command = sim->commands.find(inCommandToExecute);
    if (command == nullptr)
        return -1;
    return sim->menus.append(menu, inItemName, nullptr, command);
}

XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex)
{
    Sim *sim;
    if (Menu *menu = find_menu(&sim, inMenu))
        sim->menus.remove_item(menu, inIndex);
}

XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck)
{
    Sim *sim;
    Menu *menu = find_menu(&sim, inMenu);
    if (MenuItem *item = menu ? sim->menus.item(menu, index) : nullptr)
        item->check = inCheck;
}

XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled)
{
    Sim *sim;
    Menu *menu = find_menu(&sim, inMenu);
    if (MenuItem *item = menu ? sim->menus.item(menu, index) : nullptr)
        item->enabled = enabled != 0;
}
