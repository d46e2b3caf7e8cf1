/*
 * Menus: the simulator's plug-ins menu (and aircraft menu) as roots,
 * sub-menus hung on items, items plain or bound to a command. Choosing an
 * item is done by its path of names, as a user would click through.
 */
#ifndef SIMHOST_MENUS_H
#define SIMHOST_MENUS_H

#include <memory>
#include <string>
#include <vector>

#include <XPLMMenus.h>

namespace simhost {

struct Command;
struct Menu;

struct MenuItem {
    std::string name;
    void *item_ref = nullptr;
    Command *command = nullptr;
    Menu *submenu = nullptr;
    XPLMMenuCheck check = xplm_Menu_NoCheck;
    bool enabled = true;
};

struct Menu {
    std::string name;
    Menu *parent = nullptr;   // the menu whose item it hangs on
    bool in_menu_bar = false;
    XPLMMenuHandler_f handler = nullptr;
    void *menu_ref = nullptr;
    std::vector<MenuItem> items;
};

// What choosing an item does: run its command once, or call its menu's handler.
struct MenuChoice {
    Command *command = nullptr;
    XPLMMenuHandler_f handler = nullptr;
    void *menu_ref = nullptr;
    void *item_ref = nullptr;
};

class Menus {
public:
    Menus();
    Menu *plugins_menu() { return &plugins_; }
    Menu *aircraft_menu() { return &aircraft_; }
    Menu *find(XPLMMenuID id);

    // parent nullptr: a menu of the menu bar. nullptr when the parent item does not exist.
    Menu *create(const std::string &name, Menu *parent, int parent_item, XPLMMenuHandler_f handler, void *menu_ref);
    void destroy(Menu *menu);
    int append(Menu *menu, const std::string &name, void *item_ref, Command *command);
    MenuItem *item(Menu *menu, int index);
    void remove_item(Menu *menu, int index);
    void clear_items(Menu *menu);

    // "A/B/C": item names from the plug-ins menu (or a menu-bar menu) down.
    // False when the path leads to no enabled, choosable item.
    bool resolve(const std::string &path, MenuChoice *choice);
    // The item at the path, and the menu holding it; nullptr when there is none.
    const MenuItem *item_at(const std::string &path, const Menu **holder) const;
    // A name with a '/' is a path to a sub-menu, otherwise one in the plug-ins menu.
    int count_submenus(const std::string &name) const;
    std::vector<std::string> item_names(const std::string &submenu_name) const;

    int menu_count() const;   // menus made by plug-ins
    int item_count() const;   // items of plug-in menus and of the roots
    void clear();             // everything plug-ins made

private:
    bool is_root(const Menu *menu) const { return menu == &plugins_ || menu == &aircraft_; }
    void detach(Menu *submenu);
    Menu plugins_;
    Menu aircraft_;
    std::vector<std::unique_ptr<Menu>> menus_;
};

}  // namespace simhost

#endif
