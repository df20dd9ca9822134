// The server's request decoding and signature: values escaped the toolbar's way come back
// whole and a later repeat cannot replace them; any target decodes or is marked malformed;
// the signature reads only the first 31 bytes of msg and compares like ==.
#include "fuzz_check.h"
#include "gateway_query.h"
#include "signature.h"
#include "wire_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::string login = input.ConsumeRandomLengthString();
    std::string msg = input.ConsumeRandomLengthString();
    std::erase(login, '\0'); // an escaped NUL is refused, by design
    std::erase(msg, '\0');
    const std::string rest = input.ConsumeRandomLengthString();
    const std::string garbage = input.ConsumeRemainingBytesAsString();

    const server::GatewayQuery any(garbage);
    Require(!any.Find("login") || any.Find("login")->find('\0') == std::string::npos,
            "no value holds a NUL");

    const server::GatewayQuery query("/sms.xp?login=" + server::UrlEscape(login) +
                                     "&msg=" + server::UrlEscape(msg) + "&" + garbage);
    Require(query.Path() == "sms.xp", "the path is kept");
    Require(query.Find("login") && *query.Find("login") == login, "login reads back");
    Require(query.Find("msg") && *query.Find("msg") == msg, "msg reads back");
    Require(server::UrlUnescape(server::UrlEscape(rest)).has_value() ==
                (rest.find('\0') == std::string::npos),
            "only a NUL is refused");

    const std::string auth = server::ComputeAuth(rest, login, "send", msg);
    Require(auth.size() == 32, "a signature is 32 hex digits");
    Require(msg.size() < 31 || server::ComputeAuth(rest, login, "send", msg + garbage) == auth,
            "only 31 bytes of msg are signed");
    Require(server::SameSecret(rest, garbage) == (rest == garbage), "compares like ==");
    return 0;
}
