#pragma once

#include "win/Handles.h"

#include <map>
#include <string>

class Settings;

// The popup menu of the toolbar's first button: the portal, the web items of menu.ini and the
// toolbar's own commands. Built once per toolbar; menu.ini changes reach the next toolbar.
class MainMenu {
public:
    void Build(const Settings& settings);

    HMENU Handle() const { return menu.get(); }
    // The value an item acts on (a portal action, a link, or empty for the fixed commands);
    // null when the menu has no item of that identifier.
    const std::string* StoredValue(int command) const;

private:
    MenuHandle menu;
    std::map<int, std::string> values;
};
