#pragma once

#include "cp1250.h"
#include "gateway/GatewayReply.h"
#include "gateway/GatewayRequests.h"
#include "gateway/Md5.h"
#include "gateway/UrlCoding.h"
#include "http_front.h"
#include "menu/PortalLinks.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

// Requests are built, signed and escaped by the toolbar's own code, never by the server's.
namespace server::test {

inline constexpr const char* kToken = "7f3c9a1e5b2d48c6a0e4f19d83b7c265";
// The recipient and the wait flag of an ordinary send.
inline const std::string kTo = "&msisdn=777123456&waitfordelivery=0";

// Whether a page (UTF-8) shows the text (a Windows-1250 literal).
inline bool Shows(const std::string& page, const char* text) {
    return page.find(Cp1250ToUtf8(text)) != std::string::npos;
}

// A signed request target of the account interface, jan's unless another account is given; extra
// parameters are appended as given.
inline std::string AccountTarget(const std::string& action, const std::string& msg,
                                 const std::string& extra = "", const std::string& login = "jan",
                                 const std::string& password = "heslo") {
    return "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken) + "&action=" + action +
           "&login=" + ::UrlEscape(login) +
           "&auth=" + ComputeAuth(Md5Hex(password), login, action, msg) +
           "&msg=" + ::UrlEscape(msg) + extra;
}

// A database file in the temporary folder, removed with its journal files at the end; a test has
// one at a time, so the process id names it.
struct ScratchDb {
    ~ScratchDb() {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path + suffix);
        }
    }

    const std::string path = std::filesystem::temp_directory_path() /
                             ("textaro-gateway-test-" + std::to_string(getpid()) + ".db");
};

// A reply as the toolbar's own parser reads it, with the HTTP status it came with.
struct Answer : GatewayReply {
    explicit Answer(const httplib::Result& result) {
        if (!result) {
            throw std::runtime_error("no HTTP answer: " + httplib::to_string(result.error()));
        }
        http = result->status;
        SetBody(result->body);
    }
    std::string Text() const { return Body().value_or(""); }

    int http = 0;
};

// A gateway server inside the test process on a free loopback port, priced at 1.50 a part.
struct TestGateway {
    explicit TestGateway(const std::string& db,
                         std::chrono::seconds sessionTtl = std::chrono::seconds(1800))
        : storage(db), gateway(storage, GatewaySettings{kToken, 150, sessionTtl}),
          front(gateway, storage, faults), port(front.Bind("127.0.0.1", 0).value_or(0)) {
        if (!port) {
            throw std::runtime_error("no free loopback port to listen on");
        }
        front.Start();
    }

    void AddAccount(const std::string& login, const std::string& password, Hundredths credit,
                    const std::string& nick = "", bool nickActive = false) {
        storage.PutAccount(server::Account{login, Md5Hex(password), credit, nick, nickActive});
    }

    // A client whose targets go out exactly as given: no re-escaping.
    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", port);
        client.set_url_encode(false);
        return client;
    }
    Answer Get(const std::string& target) const { return Answer(Client().Get(target)); }
    // A form by default: the admin interface's changes, the portal's forms.
    Answer Post(const std::string& target, const std::string& body = "",
                const char* type = "application/x-www-form-urlencoded") const {
        return Answer(Client().Post(target, body, type));
    }
    Answer Account(const std::string& action, const std::string& msg, const std::string& extra = "",
                   const std::string& login = "jan", const std::string& password = "heslo") const {
        return Get(AccountTarget(action, msg, extra, login, password));
    }
    Answer Send(const std::string& text, const std::string& extra = "") const {
        return Account("send", text, kTo + extra);
    }
    double Credit() const { return Account("info", "info_message").credit; }
    // A portal page as the toolbar opens it for a visit.
    std::string Visit(const std::string& sid, const std::string& action) const {
        return Get(PortalPageLink("/", sid, action) + "&IETOOLBARVAR=1.0.76").Text();
    }
    // A portal visit signed in as jan.
    std::string SignIn() const {
        return Get(InfoLoginRequest("jan", Md5Hex("heslo")).target).sid.value_or("");
    }

    Storage storage;
    FaultInjector faults;
    Gateway gateway;
    HttpFront front;
    int port = 0;
};

// jan (10.00, nickname Honza) and eva (5.00) on a fresh server whose portal visits last 2 s.
struct GatewayTest : ::testing::Test {
    GatewayTest() {
        gw.AddAccount("jan", "heslo", 1000, "Honza", true);
        gw.AddAccount("eva", "tajne", 500);
    }

    ScratchDb db;
    TestGateway gw{db.path, std::chrono::seconds(2)};
};

} // namespace server::test
