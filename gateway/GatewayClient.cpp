#include "gateway/GatewayClient.h"

#include <algorithm>

namespace {

constexpr const char* UserAgent = "Korvel toolbar";
constexpr DWORD_PTR ConnectionContext = 1;
// A gateway that accepts and then stalls must not hold the browser for minutes: connecting,
// sending and every wait for reply data give up after this long...
constexpr DWORD TimeoutMs = 15000;
// ...and a whole request after this long, however its data trickles in.
constexpr ULONGLONG DeadlineMs = 20000;
// Far above the largest address book: a reply that goes on past it is no reply of ours.
constexpr size_t MaxBodySize = 4 * 1024 * 1024;

// Sets every wait of the request to what is left until the deadline, at most TimeoutMs; false
// once nothing is left.
bool WaitAtMostUntil(HINTERNET request, ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
        return false;
    }
    DWORD timeout = static_cast<DWORD>(std::min<ULONGLONG>(TimeoutMs, deadline - now));
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(request, option, &timeout, sizeof timeout);
    }
    return true;
}

} // namespace

GatewayClient::GatewayClient(GatewayAddress gateway)
    : requestFlags(INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                   INTERNET_FLAG_KEEP_CONNECTION),
      gateway(std::move(gateway)) {
    reply.ResetReply();
}

GatewayClient::~GatewayClient() {
    std::lock_guard guard(turn);
    connection.reset();
    root.reset();
    reply.ResetReply();
}

bool GatewayClient::Connect() {
    std::lock_guard guard(turn);
    root.reset(InternetOpenA(UserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) {
        LogStatus("Nepodařilo se inicializovat komunikaci", true);
        return false;
    }
    LogStatus("Komunikace inicializovana", false);
    if (InternetSetStatusCallback(root.get(), StatusCallback) == INTERNET_INVALID_STATUS_CALLBACK) {
        MessageBoxA(nullptr, "Error SETINTERNETCALLBACK", nullptr, MB_OK);
    }
    connection.reset(InternetConnectA(root.get(), gateway.host.c_str(),
                                      static_cast<INTERNET_PORT>(gateway.port), nullptr, nullptr,
                                      INTERNET_SERVICE_HTTP, 0, ConnectionContext));
    if (!connection) {
        LogStatus("Nepodařilo se otevřít HTTP spojení", true);
        root.reset();
        return false;
    }
    LogStatus("HTTP spojení otevreno", false);
    InternetSetStatusCallback(connection.get(), StatusCallback);
    return true;
}

std::optional<std::string> GatewayClient::Session() {
    std::lock_guard guard(sessionLock);
    return session;
}

void GatewayClient::ForgetSession() {
    std::lock_guard guard(sessionLock);
    session.reset();
    ++sessionGeneration;
}

template <class Build> GatewayReply GatewayClient::Perform(Build build) {
    std::lock_guard guard(turn);
    unsigned generation = 0;
    {
        std::lock_guard sessionGuard(sessionLock);
        generation = sessionGeneration;
        reply.sid = session;
    }
    reply.ResetReply();
    PerformRequest(build());
    std::lock_guard sessionGuard(sessionLock);
    if (generation == sessionGeneration) {
        session = reply.sid;
    } else {
        reply.sid = session;
    }
    return reply;
}

GatewayReply GatewayClient::Info(std::string_view login, std::string_view password) {
    return Perform([&] { return InfoRequest(login, password); });
}

GatewayReply GatewayClient::Send(const SendArgs& args) {
    return Perform([&] { return SendRequest(args); });
}

GatewayReply GatewayClient::PortalInfo() {
    // The portal visit is the client's own: read it under the lock, after the reset kept it.
    return Perform([&] { return PortalInfoRequest(reply.sid.value_or("")); });
}

GatewayReply GatewayClient::InfoLogin(std::string_view login, std::string_view password) {
    return Perform([&] { return InfoLoginRequest(login, password); });
}

GatewayReply GatewayClient::AddrList(std::string_view login, std::string_view password) {
    return Perform([&] { return AddrListRequest(login, password); });
}

GatewayReply GatewayClient::AddrAdd(std::string_view login, std::string_view password,
                                    std::string_view phone, std::string_view email,
                                    std::string_view name, std::string_view surname) {
    return Perform([&] { return AddrAddRequest(login, password, phone, email, name, surname); });
}

GatewayReply GatewayClient::AddrDel(std::string_view login, std::string_view password,
                                    std::string_view contactId) {
    return Perform([&] { return AddrDelRequest(login, password, contactId); });
}

GatewayReply GatewayClient::AddrEdit(std::string_view login, std::string_view password,
                                     std::string_view contactId, std::string_view phone,
                                     std::string_view email, std::string_view name,
                                     std::string_view surname) {
    return Perform(
        [&] { return AddrEditRequest(login, password, contactId, phone, email, name, surname); });
}

void GatewayClient::PerformRequest(const GatewayRequest& request) {
    const std::string verb(request.verb);
    InternetHandle handle(HttpOpenRequestA(connection.get(), verb.c_str(), request.target.c_str(),
                                           nullptr, nullptr, nullptr, requestFlags,
                                           static_cast<DWORD_PTR>(request.context)));
    if (!handle) {
        LogStatus("Nepodařilo se otevřít požadavek", true);
        return;
    }
    LogStatus("Požadavek otevřen", false);
    const ULONGLONG deadline = GetTickCount64() + DeadlineMs;
    WaitAtMostUntil(handle.get(), deadline);
    if (request.context == 2) {
        InternetSetStatusCallback(handle.get(), StatusCallback);
    }
    if (!HttpSendRequestA(handle.get(), nullptr, 0, nullptr, 0)) {
        LogStatus("Nepodařilo se poslat požadavek", true);
        return;
    }
    LogStatus(request.verb == "POST" ? "Požadavek úspěšně odeslán" : "Požadavek úspěšně odeslan",
              false);
    std::optional<std::string> body = ReadBody(handle.get(), deadline);
    if (!body) {
        LogStatus("Nepodařilo se načíst data", true);
        return;
    }
    LogStatus("Požadavek úspěšně nacten", false);
    reply.SetBody(std::move(*body));
}

std::optional<std::string> GatewayClient::ReadBody(HINTERNET request, ULONGLONG deadline) {
    if (!request) {
        return std::nullopt;
    }
    // Only what has arrived is read, so a trickle of bytes cannot keep one read waiting for a
    // full buffer past the deadline.
    std::string body;
    for (;;) {
        DWORD available = 0;
        if (!WaitAtMostUntil(request, deadline) ||
            !InternetQueryDataAvailable(request, &available, 0, 0)) {
            return std::nullopt;
        }
        if (available == 0) {
            break;
        }
        if (available > MaxBodySize - body.size()) {
            return std::nullopt;
        }
        const size_t had = body.size();
        body.resize(had + available);
        DWORD read = 0;
        if (!InternetReadFile(request, body.data() + had, available, &read)) {
            return std::nullopt;
        }
        body.resize(had + read);
        if (read == 0) {
            break;
        }
    }
    // A reply cut off on the way is not a reply: half an address book or a status without
    // its data must not pass for the whole answer.
    DWORD promised = 0;
    DWORD size = sizeof promised;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &promised,
                       &size, nullptr) &&
        body.size() < promised) {
        return std::nullopt;
    }
    return body;
}

void GatewayClient::LogStatus(const std::string& text, bool error) {
    if (error) {
        reply.lastError = text;
    }
}

void CALLBACK GatewayClient::StatusCallback(HINTERNET, DWORD_PTR, DWORD, LPVOID, DWORD) {
    // Progress notes of the HTTP layer are trace-level, and the status log drops trace texts.
}
