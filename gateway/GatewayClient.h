#pragma once

#include "gateway/GatewayReply.h"
#include "gateway/GatewayRequests.h"
#include "gateway/GatewayAddress.h"
#include "gateway/FairTurn.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>

// The toolbar's one connection to the gateway: a keep-alive HTTP connection opened once by
// Connect and used by every request. The UI thread and the worker threads share it; each
// request holds the client for its whole run, in the order the callers asked, and hands its
// caller the reply by value, so no caller can ever read the outcome of somebody else's request.
class GatewayClient {
public:
    explicit GatewayClient(GatewayAddress gateway);
    ~GatewayClient();
    GatewayClient(const GatewayClient&) = delete;
    GatewayClient& operator=(const GatewayClient&) = delete;

    bool Connect();
    // The portal visit of the last sign-in, kept until a reply brings another; none at first.
    // Read without waiting for a request in flight.
    std::optional<std::string> Session();
    // Drops the visit, for the account it belongs to is no longer the toolbar's; a sign-in in
    // flight does not bring it back.
    void ForgetSession();

    GatewayReply Info(std::string_view login, std::string_view password);
    GatewayReply Send(const SendArgs& args);
    GatewayReply PortalInfo();
    GatewayReply InfoLogin(std::string_view login, std::string_view password);
    GatewayReply AddrList(std::string_view login, std::string_view password);
    GatewayReply AddrAdd(std::string_view login, std::string_view password, std::string_view phone,
                         std::string_view email, std::string_view name, std::string_view surname);
    GatewayReply AddrDel(std::string_view login, std::string_view password,
                         std::string_view contactId);
    GatewayReply AddrEdit(std::string_view login, std::string_view password,
                          std::string_view contactId, std::string_view phone,
                          std::string_view email, std::string_view name, std::string_view surname);

private:
    struct InternetHandleCloser {
        void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
    };
    using InternetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, InternetHandleCloser>;

    // Runs one request under the client's lock; the reply starts from ResetReply.
    template <class Build> GatewayReply Perform(Build build);
    void PerformRequest(const GatewayRequest& request);
    // The whole body, or none when it breaks off, outgrows the largest reply or is not all
    // there by the deadline (a GetTickCount64 time).
    std::optional<std::string> ReadBody(HINTERNET request, ULONGLONG deadline);
    void LogStatus(const std::string& text, bool error);
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                        LPVOID information, DWORD length);

    FairTurn turn;
    GatewayReply reply;
    std::mutex sessionLock;
    std::optional<std::string> session;
    unsigned sessionGeneration = 0; // counts the visits forgotten
    InternetHandle root;
    InternetHandle connection;
    const DWORD requestFlags;
    GatewayAddress gateway;
};
