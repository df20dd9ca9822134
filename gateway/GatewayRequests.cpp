#include "gateway/GatewayRequests.h"

#include "gateway/Md5.h"
#include "gateway/UrlCoding.h"

namespace {

constexpr std::string_view kInfoMessage = "info_message";
constexpr std::string_view kAddrListMessage = "autentizacni_zprava_pro_zjisteni_adresare";

// Every query starts with the customer, the client token and the action.
std::string StartTarget(std::string_view path, std::string_view action) {
    std::string target(path);
    target += "?cust=";
    target += kCust;
    target += "&hash=";
    target += kClientToken;
    target += "&action=";
    target += action;
    return target;
}

void AddParam(std::string& target, std::string_view name, std::string_view value) {
    target += '&';
    target += name;
    target += '=';
    target += value;
}

// The parameters shared by the signed account requests; the caller adds msg and the rest.
std::string StartSigned(std::string_view action, std::string_view login, std::string_view password,
                        std::string_view signedMsg) {
    std::string target = StartTarget(kAccountApiPath, action);
    AddParam(target, "login", UrlEscape(login));
    AddParam(target, "auth", ComputeAuth(password, login, action, signedMsg));
    return target;
}

} // namespace

std::string ComputeAuth(std::string_view password, std::string_view login, std::string_view action,
                        std::string_view msg) {
    std::string text(password);
    text += login;
    text += action;
    text += msg.substr(0, 31);
    return Md5Hex(text);
}

GatewayRequest InfoRequest(std::string_view login, std::string_view password) {
    std::string target = StartSigned("info", login, password, kInfoMessage);
    AddParam(target, "msg", kInfoMessage);
    return {"GET", std::move(target), 2};
}

GatewayRequest SendRequest(const SendArgs& args) {
    std::string target = StartSigned("send", args.login, args.password, args.message);
    AddParam(target, "msg", UrlEscape(args.message));
    AddParam(target, "msisdn", UrlEscape(args.recipient));
    AddParam(target, "waitfordelivery", std::to_string(args.waitFlag));
    if (args.receiptFlag == 1 && !args.receiptEmail.empty()) {
        AddParam(target, "recack", "1");
        AddParam(target, "recackaddr", UrlEscape("mailto:") + UrlEscape(args.receiptEmail));
    }
    if (!args.nick.empty()) {
        AddParam(target, "nick", UrlEscape(args.nick));
    }
    if (!args.delay.empty()) {
        AddParam(target, "delay", UrlEscape(args.delay));
    }
    return {"POST", std::move(target), 0};
}

GatewayRequest PortalInfoRequest(std::string_view sid) {
    std::string target = StartTarget(kPortalApiPath, "info");
    AddParam(target, "sid", UrlEscape(sid));
    return {"GET", std::move(target), 0};
}

GatewayRequest InfoLoginRequest(std::string_view login, std::string_view password) {
    std::string target = StartTarget(kPortalApiPath, "info_login");
    AddParam(target, "login", UrlEscape(login));
    AddParam(target, "pass", UrlEscape(password));
    return {"GET", std::move(target), 0};
}

GatewayRequest AddrListRequest(std::string_view login, std::string_view password) {
    std::string target = StartSigned("addr_list", login, password, kAddrListMessage);
    AddParam(target, "msg", UrlEscape(kAddrListMessage));
    return {"GET", std::move(target), 0};
}

GatewayRequest AddrAddRequest(std::string_view login, std::string_view password,
                              std::string_view phone, std::string_view email, std::string_view name,
                              std::string_view surname) {
    std::string target = StartSigned("addr_add", login, password, phone);
    AddParam(target, "msg", UrlEscape(phone));
    AddParam(target, "email", UrlEscape(email));
    AddParam(target, "name", UrlEscape(name));
    AddParam(target, "surname", UrlEscape(surname));
    return {"GET", std::move(target), 0};
}

GatewayRequest AddrDelRequest(std::string_view login, std::string_view password,
                              std::string_view contactId) {
    std::string target = StartSigned("addr_del", login, password, contactId);
    AddParam(target, "msg", UrlEscape(contactId));
    return {"GET", std::move(target), 0};
}

GatewayRequest AddrEditRequest(std::string_view login, std::string_view password,
                               std::string_view contactId, std::string_view phone,
                               std::string_view email, std::string_view name,
                               std::string_view surname) {
    std::string target = StartSigned("addr_edit", login, password, phone);
    AddParam(target, "id", UrlEscape(contactId));
    AddParam(target, "msg", UrlEscape(phone));
    AddParam(target, "email", UrlEscape(email));
    AddParam(target, "name", UrlEscape(name));
    AddParam(target, "surname", UrlEscape(surname));
    return {"GET", std::move(target), 0};
}
