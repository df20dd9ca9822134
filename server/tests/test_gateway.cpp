#include "test_gateway.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

namespace server::test {

namespace {

// True once a response with all the body its Content-Length promises has arrived.
bool Complete(const std::string& response) {
    const auto headersEnd = response.find("\r\n\r\n");
    const auto length = response.find("Content-Length: ");
    if (headersEnd == std::string::npos || length == std::string::npos || length > headersEnd) {
        return false;
    }
    return response.size() - headersEnd - 4 >= std::stoul(response.substr(length + 16));
}

Answer Parse(const httplib::Result& result) {
    if (!result) {
        throw std::runtime_error("no HTTP answer: " + httplib::to_string(result.error()));
    }
    Answer answer;
    answer.http = result->status;
    answer.SetBody(result->body);
    return answer;
}

} // namespace

std::string AccountTarget(const std::string& action, const std::string& login,
                          const std::string& digest, const std::string& msg,
                          const std::string& extra) {
    return "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken) + "&action=" + action +
           "&login=" + ::UrlEscape(login) + "&auth=" + ComputeAuth(digest, login, action, msg) +
           "&msg=" + ::UrlEscape(msg) + extra;
}

ScratchDb::ScratchDb() {
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             ("textaro-gateway-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) +
              ".db"))
                .string();
}

ScratchDb::~ScratchDb() {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path_ + suffix);
    }
}

TestGateway::TestGateway(const std::string& db, std::chrono::seconds sessionTtl)
    : storage(db), gateway(storage, GatewaySettings{kToken, 150, sessionTtl}),
      front(gateway, storage, faults) {
    const auto bound = front.Bind("127.0.0.1", 0);
    if (!bound) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    port = *bound;
    front.Start();
}

void TestGateway::AddAccount(const std::string& login, const std::string& password,
                             Hundredths credit, const std::string& nick, bool nickActive) {
    storage.PutAccount(Account{login, Md5Hex(password), credit, nick, nickActive});
}

Answer TestGateway::Get(const std::string& target) const {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    return Parse(client.Get(target.c_str()));
}

std::string TestGateway::Page(const std::string& target) const {
    return Get(target).Text();
}

std::string TestGateway::Raw(const std::string& request) const {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{5, 0};
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string received;
    if (connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        send(sock, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        for (ssize_t n; !Complete(received) && (n = recv(sock, buffer, sizeof buffer, 0)) > 0;) {
            received.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(sock);
    return received;
}

} // namespace server::test
