#include "test_gateway.h"

#include <httplib.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

namespace server::test {

std::string AccountTarget(const std::string& action, const std::string& msg,
                          const std::string& extra, const std::string& login,
                          const std::string& password) {
    return "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken) + "&action=" + action +
           "&login=" + ::UrlEscape(login) +
           "&auth=" + ComputeAuth(Md5Hex(password), login, action, msg) +
           "&msg=" + ::UrlEscape(msg) + extra;
}

ScratchDb::ScratchDb() {
    static std::atomic<int> counter{0};
    const std::string name = "textaro-gateway-test-" + std::to_string(getpid()) + "-" +
                             std::to_string(counter++) + ".db";
    path = (std::filesystem::temp_directory_path() / name).string();
}

ScratchDb::~ScratchDb() {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path + suffix);
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

static Answer Received(const httplib::Result& result) {
    if (!result) {
        throw std::runtime_error("no HTTP answer: " + httplib::to_string(result.error()));
    }
    Answer answer;
    answer.http = result->status;
    answer.SetBody(result->body);
    return answer;
}

Answer TestGateway::Get(const std::string& target) const {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    return Received(client.Get(target.c_str()));
}

Answer TestGateway::Post(const std::string& target, const std::string& body,
                         const char* type) const {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    return Received(client.Post(target.c_str(), body, type));
}

} // namespace server::test
