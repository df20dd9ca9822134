#pragma once

#include <string>
#include <string_view>

namespace server {

// The errcode values of refused requests; each goes out with a Czech errtext for the user.
enum class ErrorCode {
    MissingParameter = 1,
    BadEncoding = 2,
    UnknownCustomer = 3,
    BadToken = 4,
    UnknownAction = 5,
    BadCredentials = 6,
    SessionExpired = 7,
    NoCredit = 8,
    BadNumber = 9,
    EmptyText = 10,
    BadDelay = 11,
    NoSuchContact = 12,
    BadContact = 13,
    BadValue = 14,
    BadRequest = 15,
    ServerFault = 16,
};

// Thrown by the checks of a request and turned into a refusal reply.
struct Refusal {
    ErrorCode code;
    std::string text;
};

// A reply body: key=value lines, each ended by LF, values %XX-escaped.
class Reply {
public:
    static Reply Success();
    static Reply Refused(ErrorCode code, std::string_view text);

    Reply& Add(std::string_view key, std::string_view value);

    const std::string& Body() const { return body_; }

private:
    std::string body_;
};

} // namespace server
