#include "menu/MainMenu.h"

#include "menu/MainMenuItems.h"
#include "store/Settings.h"

void MainMenu::Build(const Settings& settings) {
    menu.reset(CreatePopupMenu());
    values.clear();
    for (const MenuItem& item :
         MainMenuItems(settings.ReadMyMenuSection(), settings.ReadMenuSection())) {
        std::string label = item.label;
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | (item.id ? MIIM_STRING : 0);
        info.fType = item.id ? MFT_STRING : MFT_SEPARATOR;
        info.wID = static_cast<UINT>(item.id);
        info.dwTypeData = label.data();
        InsertMenuItemA(menu.get(), static_cast<UINT>(GetMenuItemCount(menu.get())), TRUE, &info);
        if (item.id) {
            values.emplace(item.id, item.value);
        }
    }
}

const std::string* MainMenu::StoredValue(int command) const {
    auto found = values.find(command);
    return found == values.end() ? nullptr : &found->second;
}
