#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The section text of n entries "name<i>=value<i>".
std::string Entries(int n, const std::string& name) {
    std::string section;
    for (int i = 1; i <= n; ++i) {
        section += name + std::to_string(i) + "=value" + std::to_string(i) + '\0';
    }
    return section;
}

// The identifiers of the menu, 0 for separators.
std::vector<int> Ids(const std::vector<MenuItem>& items) {
    std::vector<int> ids;
    for (const MenuItem& item : items) {
        ids.push_back(item.id);
    }
    return ids;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) {
        ids.push_back(id);
    }
    return ids;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(MainMenu, FixedItemsAroundEmptySections) {
    const std::vector<MenuItem> expected = {{1, PortalLabel, ""},
                                            {},
                                            {},
                                            {20, "Vymazat historii textů", ""},
                                            {21, "Vymazat historii příjemců", ""},
                                            {},
                                            {},
                                            {50, "Nastavení", ""},
                                            {51, "Upgrade", ""},
                                            {},
                                            {52, "Odinstalovat", ""}};
    EXPECT_EQ(expected, MainMenuItems("", ""));
    EXPECT_EQ(expected, MainMenuItems("\0"s, "no equals sign\0"s));
}

TEST(MainMenu, SectionEntriesTakeTheirRangesUpToTheLimits) {
    const struct {
        int myEntries;
        int linkEntries;
        std::vector<int> ids;
    } cases[] = {
        {2, 1, Join({{1, 0, 3, 4, 0, 20, 21, 0, 31, 0, 50, 51, 0, 52}})},
        {17, 19, Join({{1, 0}, Range(3, 19), {0, 20, 21, 0}, Range(31, 49), {0, 50, 51, 0, 52}})},
        {18, 25, Join({{1, 0}, Range(3, 19), {0, 20, 21, 0}, Range(31, 49), {0, 50, 51, 0, 52}})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ids,
                  Ids(MainMenuItems(Entries(c.myEntries, "my"), Entries(c.linkEntries, "l"))))
            << c.myEntries << " and " << c.linkEntries << " entries";
    }
}

TEST(MainMenu, EntrySplitsAtItsFirstEqualsAndOneWithoutIsLeftOut) {
    const std::vector<MenuItem> items = MainMenuItems(
        "A=b=c\0bez hodnoty\0=empty label\0Historie=history\0"s, "Nápověda=http://a/?b=c\0"s);
    EXPECT_EQ((MenuItem{3, "A", "b=c"}), items[2]);
    EXPECT_EQ((MenuItem{4, "", "empty label"}), items[3]);
    EXPECT_EQ((MenuItem{5, "Historie", "history"}), items[4]);
    EXPECT_EQ((MenuItem{31, "Nápověda", "http://a/?b=c"}), items[9]);
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
