#pragma once

#include <map>
#include <string>
#include <string_view>

namespace server {

// A request target of the gateway protocol, "path?query", taken apart by our own rules rather
// than the HTTP library's: values are Windows-1250 bytes in %XX escapes and "+" is a plus sign.
class GatewayQuery {
public:
    explicit GatewayQuery(std::string_view target);

    // The path without its leading "/", which the toolbar may or may not send.
    const std::string& Path() const { return path_; }

    // True when some parameter could not be unescaped; such a request is refused as a whole.
    bool Malformed() const { return malformed_; }

    // The unescaped value, or null when the parameter is absent. A parameter given twice keeps
    // its first value.
    const std::string* Find(std::string_view name) const;

private:
    std::string path_;
    std::map<std::string, std::string, std::less<>> params_;
    bool malformed_ = false;
};

} // namespace server
