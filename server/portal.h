#pragma once

#include "gateway.h"
#include "storage.h"

#include <optional>
#include <string>

namespace server {

// A page request of the portal: "index.xp" with the values the toolbar puts in the link (sid and
// action as Windows-1250 bytes, the toolbar's version), and the nickname form when sent.
struct PortalRequest {
    std::string sid;
    std::string action;
    std::string version;
    std::optional<std::string> nickUtf8;
    bool nickActive = false;
};

// The service's web portal as far as the toolbar links into it: the home page and the pages
// bound to a visit that a toolbar signed in through the gateway (account, sent messages,
// nickname, sign-out). Pages are Czech HTML in UTF-8.
class Portal {
public:
    Portal(Gateway& gateway, Storage& storage) : gateway_(gateway), storage_(storage) {}

    std::string HomePage() const;
    // A page saying so when the visit is unknown or has expired.
    std::string Page(const PortalRequest& request);

private:
    Gateway& gateway_;
    Storage& storage_;
};

} // namespace server
