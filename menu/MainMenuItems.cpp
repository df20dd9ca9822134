#include "menu/MainMenuItems.h"

namespace {

// Appends the section's entries with identifiers from first + 1 up to last.
void AppendSection(std::vector<MenuItem>& items, std::string_view section, int first, int last) {
    int id = first;
    while (!section.empty() && id < last) {
        const size_t end = section.find('\0');
        const std::string_view entry = section.substr(0, end);
        section = end == std::string_view::npos ? std::string_view() : section.substr(end + 1);
        if (const size_t equals = entry.find('='); equals != std::string_view::npos) {
            items.push_back({++id, std::string(entry.substr(0, equals)),
                             std::string(entry.substr(equals + 1))});
        }
    }
}

} // namespace

std::vector<MenuItem> MainMenuItems(std::string_view myMenuSection, std::string_view menuSection) {
    using namespace MenuCommand;
    std::vector<MenuItem> items{{PortalHome, PortalLabel, {}}, {}};
    AppendSection(items, myMenuSection, FirstPortalPage, ClearTexts - 1);
    items.insert(items.end(), {{},
                               {ClearTexts, "Vymazat historii textů", {}},
                               {ClearRecipients, "Vymazat historii příjemců", {}},
                               {}});
    AppendSection(items, menuSection, FirstLink, AccountSettings - 1);
    items.insert(items.end(), {{},
                               {AccountSettings, "Nastavení", {}},
                               {Upgrade, "Upgrade", {}},
                               {},
                               {Uninstall, "Odinstalovat", {}}});
    return items;
}
