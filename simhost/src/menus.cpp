/*
 * Menus (see menus.h).
 */
#include "menus.h"

#include <algorithm>

namespace simhost {

Menus::Menus()
{
    plugins_.name = "Plugins";
    aircraft_.name = "Aircraft";
}

Menu *Menus::find(XPLMMenuID id)
{
    if (id == &plugins_ || id == &aircraft_)
        return static_cast<Menu *>(id);
    for (auto &menu : menus_) {
        if (menu.get() == id)
            return menu.get();
    }
    return nullptr;
}

Menu *Menus::create(const std::string &name, Menu *parent, int parent_item, XPLMMenuHandler_f handler, void *menu_ref)
{
    if (parent != nullptr && item(parent, parent_item) == nullptr)
        return nullptr;
    auto menu = std::make_unique<Menu>();
    menu->name = name;
    menu->parent = parent;
    menu->in_menu_bar = parent == nullptr;
    menu->handler = handler;
    menu->menu_ref = menu_ref;
    Menu *made = menu.get();
    menus_.push_back(std::move(menu));
    if (parent != nullptr) {
        MenuItem *hook = item(parent, parent_item);
        if (hook->submenu != nullptr)
            detach(hook->submenu);
        hook->submenu = made;
    }
    return made;
}

void Menus::detach(Menu *submenu)
{
    if (submenu->parent != nullptr) {
        for (auto &entry : submenu->parent->items) {
            if (entry.submenu == submenu)
                entry.submenu = nullptr;
        }
    }
    submenu->parent = nullptr;
}

void Menus::destroy(Menu *menu)
{
    if (is_root(menu))
        return;
    std::vector<Menu *> children;
    for (auto &entry : menu->items) {
        if (entry.submenu != nullptr)
            children.push_back(entry.submenu);
    }
    for (Menu *child : children)
        destroy(child);
    detach(menu);
    menus_.erase(std::remove_if(menus_.begin(), menus_.end(), [menu](const auto &m) { return m.get() == menu; }),
                 menus_.end());
}

int Menus::append(Menu *menu, const std::string &name, void *item_ref, Command *command)
{
    MenuItem entry;
    entry.name = name;
    entry.item_ref = item_ref;
    entry.command = command;
    menu->items.push_back(entry);
    return static_cast<int>(menu->items.size()) - 1;
}

MenuItem *Menus::item(Menu *menu, int index)
{
    if (index < 0 || index >= static_cast<int>(menu->items.size()))
        return nullptr;
    return &menu->items[static_cast<size_t>(index)];
}

void Menus::remove_item(Menu *menu, int index)
{
    MenuItem *entry = item(menu, index);
    if (entry == nullptr)
        return;
    // A sub-menu hung on the item stays alive (its owner destroys it) but is no longer reachable.
    if (entry->submenu != nullptr)
        entry->submenu->parent = nullptr;
    menu->items.erase(menu->items.begin() + index);
}

void Menus::clear_items(Menu *menu)
{
    while (!menu->items.empty())
        remove_item(menu, 0);
}

const MenuItem *Menus::item_at(const std::string &path, const Menu **holder) const
{
    if (path.empty())
        return nullptr;
    const Menu *menu = &plugins_;
    std::string rest = path;
    // A path may also start at a menu of the menu bar, by its name.
    for (auto &bar_menu : menus_) {
        const std::string head = bar_menu->name + "/";
        if (bar_menu->in_menu_bar && rest.compare(0, head.size(), head) == 0) {
            menu = bar_menu.get();
            rest = rest.substr(head.size());
            break;
        }
    }
    // An item's name may hold '/' ("Show/Hide"): each step takes the item
    // whose whole name is the rest of the path, or starts it before a '/'.
    for (;;) {
        const MenuItem *next = nullptr;
        for (const MenuItem &entry : menu->items) {
            if (rest == entry.name) {
                if (holder != nullptr)
                    *holder = menu;
                return &entry;
            }
            if (next == nullptr && rest.size() > entry.name.size() && rest[entry.name.size()] == '/' &&
                rest.compare(0, entry.name.size(), entry.name) == 0)
                next = &entry;
        }
        if (next == nullptr || !next->enabled || next->submenu == nullptr)
            return nullptr;
        rest = rest.substr(next->name.size() + 1);
        menu = next->submenu;
    }
}

bool Menus::resolve(const std::string &path, MenuChoice *choice)
{
    const Menu *menu = nullptr;
    const MenuItem *found = item_at(path, &menu);
    if (found == nullptr || !found->enabled || found->submenu != nullptr)
        return false;
    choice->command = found->command;
    choice->handler = menu->handler;
    choice->menu_ref = menu->menu_ref;
    choice->item_ref = found->item_ref;
    return true;
}

int Menus::count_submenus(const std::string &name) const
{
    if (name.find('/') != std::string::npos) {
        const MenuItem *item = item_at(name, nullptr);
        return item != nullptr && item->submenu != nullptr ? 1 : 0;
    }
    return static_cast<int>(std::count_if(plugins_.items.begin(), plugins_.items.end(), [&](const MenuItem &entry) {
        return entry.submenu != nullptr && entry.submenu->name == name;
    }));
}

std::vector<std::string> Menus::item_names(const std::string &submenu_name) const
{
    std::vector<std::string> names;
    if (submenu_name.find('/') != std::string::npos) {
        const MenuItem *item = item_at(submenu_name, nullptr);
        if (item != nullptr && item->submenu != nullptr)
            for (const auto &sub : item->submenu->items)
                names.push_back(sub.name);
        return names;
    }
    for (const auto &entry : plugins_.items) {
        if (entry.submenu != nullptr && entry.submenu->name == submenu_name) {
            for (const auto &sub : entry.submenu->items)
                names.push_back(sub.name);
            break;
        }
    }
    return names;
}

int Menus::menu_count() const { return static_cast<int>(menus_.size()); }

int Menus::item_count() const
{
    size_t count = plugins_.items.size() + aircraft_.items.size();
    for (const auto &menu : menus_)
        count += menu->items.size();
    return static_cast<int>(count);
}

void Menus::clear()
{
    menus_.clear();
    plugins_.items.clear();
    aircraft_.items.clear();
}

}  // namespace simhost
