#pragma once

#include "fault_injector.h"
#include "gateway.h"
#include "portal.h"
#include "storage.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace server {

// The HTTP side: gateway requests on both API paths (GET or POST, with or without a leading
// "/"), the outbox page and the JSON admin interface. Keep-alive connections stay open for
// thousands of requests and replies leave without Nagle's delay, as a toolbar reusing one
// connection needs.
class HttpFront {
public:
    HttpFront(Gateway& gateway, Storage& storage, FaultInjector& faults);
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    // Port 0 picks a free port. Gives the port bound, or nothing when binding failed.
    std::optional<int> Bind(const std::string& host, int port);
    // Serves on a thread of its own until Stop; returns once requests are being accepted.
    void Start();
    // Stops accepting and waits for the open connections to end; an idle keep-alive connection
    // ends only when its client closes it or its keep-alive time runs out. Endless and trickled
    // replies are cut short.
    void Stop();

    std::uint64_t AcceptedConnections() const { return accepted_; }

private:
    void Route(const httplib::Request& request, httplib::Response& response);
    void AnswerGateway(Gateway::Api api, const GatewayQuery& query, httplib::Response& response);
    void ConfigureFault(const httplib::Request& request, httplib::Response& response);
    void AnswerPortal(const httplib::Request& request, httplib::Response& response);
    void CountRequest(Gateway::Api api, const GatewayQuery& query);
    // Waits for the given time (0: only looks); false, at once, when the server is stopping.
    bool Pause(std::chrono::milliseconds time);

    Gateway& gateway_;
    Storage& storage_;
    FaultInjector& faults_;
    Portal portal_;
    // Gateway requests by interface and action ("rapi.info_login"), for tests.
    std::mutex countsMutex_;
    std::map<std::string, int> requestCounts_;
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopping_ = false;
    httplib::Server server_;
    std::thread thread_;
    std::atomic<bool> listenReturned_{false};
    std::atomic<std::uint64_t> accepted_{0};
};

} // namespace server
