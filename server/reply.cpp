#include "reply.h"

#include "wire_text.h"

namespace server {

Reply Reply::Success() {
    Reply reply;
    reply.Add("status", "1");
    return reply;
}

Reply Reply::Refused(ErrorCode code, std::string_view text) {
    Reply reply;
    reply.Add("status", "0");
    reply.Add("errcode", std::to_string(static_cast<int>(code)));
    reply.Add("errtext", text);
    return reply;
}

Reply& Reply::Add(std::string_view key, std::string_view value) {
    body_.append(key).append("=").append(UrlEscape(value)).append("\n");
    return *this;
}

} // namespace server
