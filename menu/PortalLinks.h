#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The links the main menu opens in the browser window.

// "&IETOOLBARVAR=" and the module's short version: major, minor and build of its file version
// (the two double words of the version resource's fixed record; the third of the four parts is
// not shown). It begins with "&", so it extends the query a link already has.
std::string VersionTag(std::uint32_t fileVersionMs, std::uint32_t fileVersionLs);

// A page of the portal bound to the visit: base "index.xp?sid=" sid "&action=" action. The
// session identifier comes from the network and is %-escaped, so one with "&" or "#" cannot
// rewrite the link; the action is the deployment's own, from menu.ini, and goes as written
// ("history&page=2" reaches the portal as two values). An unknown session goes as "sid=".
std::string PortalPageLink(std::string_view portalBase, std::string_view sid,
                           std::string_view action);

// The portal's home page: scheme and host of the base, then "?index.xp" with no slash before it.
std::string PortalHomeLink(std::string_view portalBase);
