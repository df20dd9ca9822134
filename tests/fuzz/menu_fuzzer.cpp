// The main menu from the menu.ini sections: each web item is an entry of its section split at
// the first "=", within its range of identifiers (the order the native test tables); and a
// portal page built from any session and any item's plain value (the deployment's action goes as
// written: one with "&", "%" or "#" is its own query text) keeps the session, the version tag and
// the value as parameters the server reads back.
#include "fuzz_check.h"
#include "gateway_query.h"
#include "menu/MainMenuItems.h"
#include "menu/PortalLinks.h"

static void RequireSection(const std::vector<MenuItem>& items, const std::string& section,
                           int first, int last) {
    const std::string entries = '\0' + section + '\0';
    int id = first;
    for (const MenuItem& item : items) {
        if (item.id > first && item.id <= last) {
            Require(item.id == ++id, "identifiers one after another");
            Require(item.label.find('=') == std::string::npos &&
                        entries.find('\0' + item.label + "=" + item.value + '\0') !=
                            std::string::npos,
                    "an item is its entry");
        }
    }
}

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
