#include "gateway/GatewayRequests.h"

#include <gtest/gtest.h>

namespace {

// A realistic account: the stored password is the digest of "heslo123".
constexpr std::string_view kLogin = "novak";
constexpr std::string_view kPassword = "6a284155906c26cbca20c53376bc63ac";
constexpr std::string_view kPhone = "+420602123456";
constexpr std::string_view kText = "Ahoj, dorazím v 18:00 na nádraží.\r\nPetr";

// The start of a target of the account ("app_api") or the portal ("rapi") interface.
std::string Target(std::string_view action, std::string_view api = "app_api") {
    return "api/" + std::string(api) +
           ".xp?cust=ieto&hash=7f3c9a1e5b2d48c6a0e4f19d83b7c265&action=" + std::string(action);
}

SendArgs Message(int receiptFlag = 0, std::string_view receiptEmail = "",
                 std::string_view nick = "", std::string_view delay = "", int waitFlag = 1) {
    return {kLogin, kPassword, kText, kPhone, receiptFlag, receiptEmail, nick, delay, waitFlag};
}

const std::string kSendBase =
    Target("send") + "&login=novak&auth=ef94a2ea565a3f70e39044916b6c8263"
                     "&msg=Ahoj%2C%20doraz%EDm%20v%2018%3A00%20na%20n%E1dra%9E%ED%2E%0D%0APetr"
                     "&msisdn=%2B420602123456&waitfordelivery=1";

} // namespace

// That the signature covers the first 31 bytes of msg the gateway server's tests show: they sign
// with ComputeAuth. Values that would break the request line or add parameters go out escaped;
// the signature still covers the raw values.
TEST(GatewayRequests, EveryTargetVerbAndContext) {
    constexpr std::string_view odd = "jan novak&x=1";
    const std::tuple<GatewayRequest, std::string_view, int, std::string> cases[] = {
        {InfoRequest(kLogin, kPassword), "GET", 2,
         Target("info") + "&login=novak&auth=c59e48b79705c4dc373bafc84cd0d551&msg=info_message"},
        {SendRequest(Message()), "POST", 0, kSendBase},
        {SendRequest(Message(1)), "POST", 0, kSendBase}, // no receipt without its address
        {SendRequest(Message(1, "petr@example.cz", "Petr", "2003-06-01 14:30:00")), "POST", 0,
         kSendBase + "&recack=1&recackaddr=mailto%3Apetr%40example%2Ecz&nick=Petr"
                     "&delay=2003%2D06%2D01%2014%3A30%3A00"},
        {SendRequest(Message(0, "petr@example.cz", "", "", 0)), "POST", 0,
         kSendBase.substr(0, kSendBase.size() - 1) + "0"},
        {AddrListRequest(kLogin, kPassword), "GET", 0,
         Target("addr_list") + "&login=novak&auth=c8d2313f533746fe2ce3833a11f348e7"
                               "&msg=autentizacni%5Fzprava%5Fpro%5Fzjisteni%5Fadresare"},
        {AddrAddRequest(kLogin, kPassword, kPhone, "petr.novak@example.cz", "Petr", "Novák"), "GET",
         0,
         Target("addr_add") + "&login=novak&auth=aad1b123d72d6cbf2c2ca1b85a324fca"
                              "&msg=%2B420602123456&email=petr%2Enovak%40example%2Ecz&name=Petr"
                              "&surname=Nov%E1k"},
        {AddrDelRequest(kLogin, kPassword, "17"), "GET", 0,
         Target("addr_del") + "&login=novak&auth=d947b0011cfbc2eb0b5de08b5883a864&msg=17"},
        {AddrEditRequest(kLogin, kPassword, "17", kPhone, "", "Petr", "Novák"), "GET", 0,
         Target("addr_edit") + "&login=novak&auth=fd1b968153dfc9cb27a77b0003a1c823&id=17"
                               "&msg=%2B420602123456&email=&name=Petr&surname=Nov%E1k"},
        {SendRequest({.login = odd, .password = kPassword, .message = "Hi", .nick = "Jan & Co"}),
         "POST", 0,
         Target("send") + "&login=jan%20novak%26x%3D1&auth=7314a276cf146d922121793b51bc44a3"
                          "&msg=Hi&msisdn=&waitfordelivery=0&nick=Jan%20%26%20Co"},
        {PortalInfoRequest("ab cd&e"), "GET", 0, Target("info", "rapi") + "&sid=ab%20cd%26e"},
        {InfoLoginRequest(odd, "a b&c"), "GET", 0,
         Target("info_login", "rapi") + "&login=jan%20novak%26x%3D1&pass=a%20b%26c"},
        {AddrEditRequest(odd, kPassword, "5&x=1", kPhone, "", "", ""), "GET", 0,
         Target("addr_edit") +
             "&login=jan%20novak%26x%3D1&auth=b78fc5806395e35815bf3010382acfd8&id=5%26x%3D1"
             "&msg=%2B420602123456&email=&name=&surname="},
    };
    for (const auto& [request, verb, context, target] : cases) {
        EXPECT_EQ(std::tie(request.verb, request.context, request.target),
                  std::tie(verb, context, target));
    }
}
