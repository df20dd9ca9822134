#include "gateway_query.h"

#include "wire_text.h"

namespace server {

GatewayQuery::GatewayQuery(std::string_view target) {
    const auto mark = target.find('?');
    std::string_view path = target.substr(0, mark);
    if (path.starts_with('/')) {
        path.remove_prefix(1);
    }
    path_ = path;
    if (mark == std::string_view::npos) {
        return;
    }
    std::string_view rest = target.substr(mark + 1);
    while (!rest.empty()) {
        const auto amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
        if (pair.empty()) {
            continue;
        }
        const auto eq = pair.find('=');
        const auto name = UrlUnescape(pair.substr(0, eq));
        const auto value =
            UrlUnescape(eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1));
        if (!name || !value) {
            malformed_ = true;
            continue;
        }
        params_.emplace(*name, *value);
    }
}

const std::string* GatewayQuery::Find(std::string_view name) const {
    const auto it = params_.find(name);
    return it == params_.end() ? nullptr : &it->second;
}

} // namespace server
