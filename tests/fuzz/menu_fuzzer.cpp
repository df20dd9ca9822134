// The main menu from the menu.ini sections: each web item is an entry of its section split at
// the first "=", in order, within its range of identifiers; and a portal page built from any
// session and any item's plain value (the deployment's action goes as written: one with "&",
// "%" or "#" is its own query text) keeps the session, the version tag and the value as
// parameters the server reads back.
#include "fuzz_check.h"
#include "gateway_query.h"
#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"

#include <algorithm>

namespace {

void RequireSection(const std::vector<MenuItem>& items, const std::string& section, int first,
                    int last) {
    std::size_t begin = 0;
    int id = first;
    while (begin < section.size() && id < last) {
        const std::size_t end = std::min(section.find('\0', begin), section.size());
        const std::string entry = section.substr(begin, end - begin);
        begin = end + 1;
        if (entry.find('=') == std::string::npos) {
            continue;
        }
        const auto item = std::find_if(items.begin(), items.end(),
                                       [&](const MenuItem& i) { return i.id == id + 1; });
        Require(item != items.end() && item->label.find('=') == std::string::npos &&
                    item->label + "=" + item->value == entry,
                "an item is its entry");
        ++id;
    }
    Require(std::none_of(items.begin(), items.end(),
                         [&](const MenuItem& i) { return i.id > id && i.id < last + 1; }),
            "no item beyond the entries");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto ms = input.ConsumeIntegral<std::uint32_t>();
    const auto ls = input.ConsumeIntegral<std::uint32_t>();
    std::string sid = input.ConsumeRandomLengthString();
    std::erase(sid, '\0'); // comes from a reply line, which ends at a NUL
    const std::string myMenu = input.ConsumeRandomLengthString();
    const std::string menu = input.ConsumeRemainingBytesAsString();

    const std::vector<MenuItem> items = MainMenuItems(myMenu, menu);
    RequireSection(items, myMenu, MenuCommand::FirstPortalPage, MenuCommand::ClearTexts - 1);
    RequireSection(items, menu, MenuCommand::FirstLink, MenuCommand::AccountSettings - 1);

    const std::string tag = VersionTag(ms, ls);
    const std::string version = tag.substr(tag.find('=') + 1);
    for (const MenuItem& item : items) {
        if (item.value.find_first_of("&%#") != std::string::npos) {
            continue;
        }
        const std::string link = PortalPageLink("http://h/", sid, item.value) + tag;
        const server::GatewayQuery query(link.substr(std::string("http://h/").size()));
        Require(!query.Malformed() && query.Path() == "index.xp", "the link is well formed");
        Require(query.Find("IETOOLBARVAR") && *query.Find("IETOOLBARVAR") == version,
                "the version tag survives");
        Require(query.Find("action") && *query.Find("action") == item.value, "the action is whole");
        Require(query.Find("sid") && *query.Find("sid") == sid, "the session is whole");
    }
    return 0;
}
