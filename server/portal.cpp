#include "portal.h"

#include "admin_views.h"
#include "cp1250.h"
#include "money.h"
#include "wire_text.h"

#include <algorithm>
#include <ctime>

namespace server {

namespace {

// Nicknames go in front of every message, so they stay short.
constexpr std::size_t kMaxNick = 20;

// A whole page; title and body are Windows-1250 HTML, the page goes out in UTF-8.
std::string Layout(const std::string& title, const std::string& body, const std::string& version) {
    std::string page = R"html(<!DOCTYPE html>
<html lang="cs">
<head>
<meta charset="utf-8">
<title>)html" + title + R"html( – Textaro.cz</title>
<style>
body { font-family: sans-serif; margin: 0; color: #222; }
header { background: #f0780a; color: white; padding: 0.6em 1em; }
header b { font-style: italic; font-size: 1.4em; }
nav a, header a { color: white; margin-right: 1em; }
main { margin: 1em; }
table { border-collapse: collapse; }
th, td { border: 1px solid #999; padding: 0.2em 0.5em; vertical-align: top; text-align: left; }
.note { background: #eef6e8; border: 1px solid #7a5; padding: 0.4em; }
.scheduled { color: #a60; }
.delivered { color: #070; }
footer { margin: 1em; color: #777; font-size: 0.85em; }
</style>
</head>
<body>
)html";
    page += body;
    if (!version.empty()) {
        page += "<footer>Lišta Textaro, verze " + HtmlText(version) + "</footer>\n";
    }
    page += "</body>\n</html>\n";
    return Cp1250ToUtf8(page);
}

// A link to another page of the same visit.
std::string PageLink(const std::string& sid, const char* action, const char* label) {
    return "<a href=\"index.xp?sid=" + HtmlText(UrlEscape(sid)) + "&amp;action=" + action + "\">" +
           label + "</a>";
}

bool ShowsHistory(const std::string& action) {
    return action == "history" || action == "outbox" || action == "odeslane";
}

} // namespace

std::string Portal::HomePage() const {
    return Layout("Vítejte",
                  "<header><b>Textaro.cz</b></header>\n<main>\n<h1>Vítejte na portálu "
                  "Textaro</h1>\n<p>Posílejte SMS přímo z prohlížeče. Svůj účet, odeslané zprávy "
                  "a přezdívku najdete v hlavní nabídce lišty Textaro.</p>\n</main>\n",
                  "");
}

std::string Portal::Page(const PortalRequest& request) {
    std::optional<Account> account = gateway_.Visit(request.sid);
    if (!account) {
        return Layout("Přihlášení vypršelo",
                      "<header><b>Textaro.cz</b></header>\n<main>\n<h1>Přihlášení vypršelo</h1>\n"
                      "<p>Tato stránka patří k přihlášení, které už neplatí. Otevřete ji znovu "
                      "z hlavní nabídky lišty Textaro.</p>\n<p><a href=\"/?index.xp\">Úvodní "
                      "stránka</a></p>\n</main>\n",
                      request.version);
    }
    if (request.action == "logout") {
        storage_.EndSession(request.sid);
        return Layout("Odhlášení",
                      "<header><b>Textaro.cz</b></header>\n<main>\n<h1>Byli jste odhlášeni"
                      "</h1>\n<p><a href=\"/?index.xp\">Úvodní stránka</a></p>\n</main>\n",
                      request.version);
    }

    std::string note;
    if (request.action == "nick" && request.nickUtf8) {
        const std::optional<std::string> nick = Utf8ToCp1250(*request.nickUtf8);
        if (!nick || nick->size() > kMaxNick) {
            note = "Přezdívku nelze uložit: smí mít nejvýše 20 znaků české abecedy.";
        } else if (std::ranges::any_of(*nick,
                                       [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
            // A line break would end the nickname's line in every reply and in the toolbar's files.
            note = "Přezdívku nelze uložit: nesmí obsahovat řídicí znaky, například konec řádku.";
        } else {
            storage_.SetNick(account->login, *nick, request.nickActive);
            account->nick = *nick;
            account->nickActive = request.nickActive;
            note = "Přezdívka byla uložena.";
        }
    }

    const std::string& sid = request.sid;
    std::string body = "<header><b>Textaro.cz</b> <nav>" + PageLink(sid, "account", "Můj účet") +
                       PageLink(sid, "history", "Odeslané zprávy") +
                       PageLink(sid, "nick", "Přezdívka") + PageLink(sid, "logout", "Odhlásit") +
                       "</nav></header>\n<main>\n";
    if (!note.empty()) {
        body += "<p class=\"note\">" + note + "</p>\n";
    }
    const std::string nick = account->nick.empty() ? "nenastavena" : HtmlText(account->nick);
    const std::string summary = "<p>Účet <b>" + HtmlText(account->login) + "</b>, kredit <b>" +
                                FormatMoney(account->credit) + " Kč</b>, přezdívka " + nick +
                                (account->nickActive ? " (na začátku zpráv)" : " (nepoužívá se)") +
                                "</p>\n";
    std::string title;
    if (ShowsHistory(request.action)) {
        title = "Odeslané zprávy";
        std::vector<SentMessage> own;
        for (SentMessage& message : storage_.Messages()) {
            if (message.login == account->login) {
                own.push_back(std::move(message));
            }
        }
        body += "<h1>" + title + "</h1>\n" + summary + OutboxTable(own, std::time(nullptr));
    } else if (request.action == "nick") {
        title = "Přezdívka";
        body += "<h1>" + title + "</h1>\n" + summary +
                "<form method=\"post\" action=\"index.xp?sid=" + HtmlText(UrlEscape(sid)) +
                "&amp;action=nick\">\n<p><label>Přezdívka: <input name=\"nick\" maxlength=\"20\" "
                "value=\"" +
                HtmlText(account->nick) +
                "\"></label></p>\n<p><label><input type=\"checkbox\" name=\"active\" "
                "value=\"yes\"" +
                (account->nickActive ? " checked" : "") +
                "> Psát přezdívku na začátek zpráv</label></p>\n<p><button>Uložit</button></p>\n"
                "</form>\n";
    } else {
        title = "Můj účet";
        body += "<h1>" + title + "</h1>\n" + summary;
    }
    body += "</main>\n";
    return Layout(title, body, request.version);
}

} // namespace server
