#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the toolbar is called: the label of the main menu's first item and the name the
// browser lists the toolbar under.
inline constexpr const char* PortalLabel = "Textaro.cz";

// Command identifiers of the main menu. The web items of menu.ini take the ranges between the
// fixed commands: "MojeTextaro" from 3 to 19, "TextaroMenu" from 31 to 49.
namespace MenuCommand {
inline constexpr int PortalHome = 1;
inline constexpr int FirstPortalPage = 2;
inline constexpr int ClearTexts = 20;
inline constexpr int ClearRecipients = 21;
inline constexpr int FirstLink = 30;
inline constexpr int AccountSettings = 50;
inline constexpr int Upgrade = 51;
inline constexpr int Uninstall = 52;
} // namespace MenuCommand

// One line of the main menu: a separator (id 0), or a text item with its identifier, its label
// and the value it acts on (a portal action or a link; empty for the fixed commands).
struct MenuItem {
    int id = 0;
    std::string label{};
    std::string value{};

    bool operator==(const MenuItem&) const = default;
};

// The main menu from top to bottom, given the sections "MojeTextaro" and "TextaroMenu" in the
// private-profile form (entries "label=value", each ended by a NUL). An entry is split at its
// first "="; one without "=" has nothing to act on and is left out, and so are the entries
// beyond the 17th of "MojeTextaro" and the 19th of "TextaroMenu", whose identifiers would run
// into the fixed commands.
std::vector<MenuItem> MainMenuItems(std::string_view myMenuSection, std::string_view menuSection);
