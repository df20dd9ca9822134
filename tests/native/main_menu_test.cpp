#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// A section of n entries "e<i>=v<i>" after the given first ones.
std::string Section(const std::string& first, int n) {
    std::string text = first;
    for (int i = 0; i < n; ++i) {
        text += "e" + std::to_string(i) + "=v" + std::to_string(i) + '\0';
    }
    return text;
}

TEST(MainMenu, SectionsFillTheirRangesBetweenTheFixedItems) {
    const struct {
        std::string my, links;
        size_t count;             // items, separators included
        std::vector<MenuItem> at; // the items at positions 2, 3 and count - 6
    } cases[] = {
        {"", "no equals sign\0"s, 11, {{}, {20, "Vymazat historii textů"}, {}}},
        {"A=b=c\0=v\0bez hodnoty\0"s,
         "Nápověda=a?b=c\0"s,
         14,
         {{3, "A", "b=c"}, {4, "", "v"}, {31, "Nápověda", "a?b=c"}}},
        {Section("", 18),
         Section("", 20),
         11 + 17 + 19,
         {{3, "e0", "v0"}, {4, "e1", "v1"}, {49, "e18", "v18"}}},
    };
    for (const auto& c : cases) {
        const std::vector<MenuItem> items = MainMenuItems(c.my, c.links);
        ASSERT_EQ(c.count, items.size());
        EXPECT_EQ(c.at, (std::vector<MenuItem>{items[2], items[3], items[c.count - 6]}));
        const std::vector<MenuItem> tail = {
            {}, {50, "Nastavení"}, {51, "Upgrade"}, {}, {52, "Odinstalovat"}};
        EXPECT_EQ(tail, std::vector<MenuItem>(items.end() - 5, items.end()));
    }
    const std::vector<MenuItem> full = MainMenuItems(Section("", 18), Section("", 20));
    EXPECT_EQ((MenuItem{19, "e16", "v16"}), full[18]) << "the 18th entry is left out";
}

TEST(PortalLinks, VersionTagPageAndHomeLinks) {
    EXPECT_EQ("&IETOOLBARVAR=1.0.76", VersionTag(0x00010000, 0x0000004C));
    EXPECT_EQ("&IETOOLBARVAR=2.7.65535", VersionTag(0x00020007, 0x0003FFFF));
    const struct {
        const char* sid;
        const char* action;
        const char* link;
    } pages[] = {
        {"s1", "nick", "http://p/index.xp?sid=s1&action=nick"},
        {"", "history", "http://p/index.xp?sid=&action=history"},
        {"a&b#c", "x y&z=1", "http://p/index.xp?sid=a%26b%23c&action=x%20y%26z%3D1"},
    };
    for (const auto& page : pages) {
        EXPECT_EQ(page.link, PortalPageLink("http://p/", page.sid, page.action));
    }
    EXPECT_EQ("http://www.textaro.cz?index.xp", PortalHomeLink("http://www.textaro.cz/"));
    EXPECT_EQ("http://127.0.0.1:8080?index.xp", PortalHomeLink("http://127.0.0.1:8080/portal/"));
}

} // namespace
