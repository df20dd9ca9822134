#include "menu/PortalLinks.h"

#include "gateway/UrlCoding.h"

std::string VersionTag(std::uint32_t fileVersionMs, std::uint32_t fileVersionLs) {
    return "&IETOOLBARVAR=" + std::to_string(fileVersionMs >> 16) + "." +
           std::to_string(fileVersionMs & 0xFFFF) + "." + std::to_string(fileVersionLs & 0xFFFF);
}

std::string PortalPageLink(std::string_view portalBase, std::string_view sid,
                           std::string_view action) {
    return std::string(portalBase) + "index.xp?sid=" + UrlEscape(sid) +
           "&action=" + std::string(action);
}

std::string PortalHomeLink(std::string_view portalBase) {
    const size_t scheme = portalBase.find("://");
    const size_t hostStart = scheme == std::string_view::npos ? 0 : scheme + 3;
    return std::string(portalBase.substr(0, portalBase.find('/', hostStart))) + "?index.xp";
}
