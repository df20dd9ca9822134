#include "admin_views.h"

#include "cp1250.h"

#include <cstdio>
#include <ctime>

namespace server {

namespace {

std::string LocalTime(std::int64_t seconds) {
    const auto when = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&when, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

std::string JsonString(std::string_view cp1250) {
    std::string out = "\"";
    for (char ch : Cp1250ToUtf8(cp1250)) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string JsonOptional(const std::optional<std::string>& text) {
    return text ? JsonString(*text) : "null";
}

std::string JsonOptional(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : "null";
}

} // namespace

// Escapes for HTML but stays in Windows-1250: the page is converted to UTF-8 as a whole.
std::string HtmlText(std::string_view cp1250) {
    std::string out;
    for (char ch : cp1250) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break;
        case '\n':
            out += "<br>";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string_view DeliveryState(const SentMessage& message, std::int64_t now) {
    return message.deliverAt > now ? "scheduled" : "delivered";
}

std::string OutboxJson(const std::vector<SentMessage>& messages, std::int64_t now) {
    std::string out = "[";
    for (const SentMessage& m : messages) {
        if (out.size() > 1) {
            out += ",";
        }
        out += "\n{\"id\":" + std::to_string(m.id);
        out += ",\"login\":" + JsonString(m.login);
        out += ",\"msisdn\":" + JsonString(m.msisdn);
        out += ",\"text\":" + JsonString(m.text);
        out += ",\"nick\":" + JsonOptional(m.nick);
        out += ",\"delay\":" + JsonOptional(m.delay);
        out += ",\"recack\":" + JsonOptional(m.recack);
        out += ",\"recackaddr\":" + JsonOptional(m.recackaddr);
        out += ",\"waitfordelivery\":" + std::to_string(m.waitForDelivery);
        out += ",\"received\":\"" + LocalTime(m.received) + "\"";
        out += ",\"deliver_at\":\"" + LocalTime(m.deliverAt) + "\"";
        out += ",\"parts\":" + std::to_string(m.parts);
        out += ",\"price\":" + FormatMoney(m.price);
        out += ",\"state\":\"" + std::string(DeliveryState(m, now)) + "\"}";
    }
    return out + "\n]\n";
}

std::string AccountsJson(const std::vector<AccountSummary>& accounts) {
    std::string out = "[";
    for (const AccountSummary& a : accounts) {
        if (out.size() > 1) {
            out += ",";
        }
        out += "\n{\"login\":" + JsonString(a.account.login);
        out += ",\"credit\":" + FormatMoney(a.account.credit);
        out += ",\"nick\":" + JsonString(a.account.nick);
        out += std::string(",\"nick_active\":\"") + (a.account.nickActive ? "yes" : "no") + "\"";
        out += ",\"contacts\":" + std::to_string(a.contactCount) + "}";
    }
    return out + "\n]\n";
}

std::string ContactsJson(const std::vector<Contact>& contacts) {
    std::string out = "[";
    for (const Contact& c : contacts) {
        if (out.size() > 1) {
            out += ",";
        }
        out +=
            "\n{\"id\":" + std::to_string(c.id) + ",\"stored\":" + JsonString(StoredForm(c)) + "}";
    }
    return out + "\n]\n";
}

std::string FaultJson(const FaultState& state) {
    return "{\"mode\":\"" + std::string(FaultInjector::NameOf(state.mode)) +
           "\",\"remaining\":" + std::to_string(state.remaining) +
           ",\"ms\":" + std::to_string(state.ms.count()) +
           ",\"latency_ms\":" + std::to_string(state.latency.count()) + "}\n";
}

std::string OutboxTable(const std::vector<SentMessage>& messages, std::int64_t now) {
    std::string out;
    if (messages.empty()) {
        out += "<p>Zatím nebyla odeslána žádná zpráva.</p>\n";
    } else {
        out += "<table>\n<tr><th>#</th><th>Přijato</th><th>Účet</th><th>Příjemce</th>"
               "<th>Přezdívka</th><th>Text</th><th>Části</th><th>Cena</th>"
               "<th>Doručit</th><th>Stav</th></tr>\n";
        for (const SentMessage& m : messages) {
            const std::string state(DeliveryState(m, now));
            out += "<tr><td>" + std::to_string(m.id) + "</td><td>" + LocalTime(m.received) +
                   "</td><td>" + HtmlText(m.login) + "</td><td>" + HtmlText(m.msisdn) +
                   "</td><td>" + HtmlText(m.nick.value_or("")) + "</td><td>" + HtmlText(m.text) +
                   "</td><td>" + std::to_string(m.parts) + "</td><td>" + FormatMoney(m.price) +
                   "</td><td>" + LocalTime(m.deliverAt) + "</td><td class=\"" + state + "\">" +
                   state + "</td></tr>\n";
        }
        out += "</table>\n";
    }
    return out;
}

std::string OutboxPage(const std::vector<SentMessage>& messages, std::int64_t now) {
    std::string out = R"html(<!DOCTYPE html>
<html lang="cs">
<head>
<meta charset="utf-8">
<title>Odeslané zprávy</title>
<style>
body { font-family: sans-serif; margin: 1em; }
table { border-collapse: collapse; }
th, td { border: 1px solid #999; padding: 0.2em 0.5em; vertical-align: top; text-align: left; }
.scheduled { color: #a60; }
.delivered { color: #070; }
</style>
</head>
<body>
<h1>Odeslané zprávy</h1>
)html";
    out += OutboxTable(messages, now);
    out += "</body>\n</html>\n";
    return Cp1250ToUtf8(out);
}

} // namespace server
