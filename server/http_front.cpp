#include "http_front.h"

#include "admin_views.h"
#include "counting_pool.h"
#include "cp1250.h"
#include "wire_text.h"

#include <sys/socket.h>

#include <cctype>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <ctime>

namespace server {

namespace {

constexpr const char* kReplyType = "text/plain; charset=windows-1250";
constexpr const char* kJsonType = "application/json; charset=utf-8";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr const char* kNotFoundPage = "<html><body><h1>404 Nenalezeno</h1></body></html>\n";

// Every keep-alive connection holds a worker while it is open, so the pool is sized for many
// toolbars at once rather than for the two cores.
constexpr std::size_t kWorkers = 64;
constexpr std::size_t kKeepAliveRequests = 10000;
constexpr time_t kKeepAliveSeconds = 60;
// Nothing the toolbar sends comes near it; the library's own cap on a form is 8 KiB.
constexpr std::size_t kMaxBody = 64 * 1024;

std::optional<int> IntegerParam(const httplib::Request& request, const char* name, int low,
                                int high) {
    const std::string text = request.get_param_value(name);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

void JsonError(httplib::Response& response, const std::string& message) {
    response.status = 400;
    response.set_content("{\"error\":\"" + message + "\"}\n", kJsonType);
}

// The body with its "items" line raised by one: a list reply that promises more than it carries.
std::string PromiseOneMore(std::string body) {
    const std::size_t line = body.starts_with("items=") ? 0 : body.find("\nitems=");
    if (line == std::string::npos) {
        return body;
    }
    const std::size_t value = body.find('=', line) + 1;
    const std::size_t end = body.find('\n', value);
    const int items = std::atoi(body.substr(value, end - value).c_str());
    return body.replace(value, end - value, std::to_string(items + 1));
}

// The endless fault's body after its status line: lines a reply might carry, 16 KiB at a time.
const std::string& EndlessLines() {
    static const std::string lines = [] {
        std::string line = "x=" + std::string(61, 'y') + "\n";
        std::string all;
        for (int i = 0; i < 256; ++i) {
            all += line;
        }
        return all;
    }();
    return lines;
}

} // namespace

HttpFront::HttpFront(Gateway& gateway, Storage& storage, FaultInjector& faults)
    : gateway_(gateway), storage_(storage), faults_(faults), portal_(gateway, storage) {
    server_.new_task_queue = [this] { return new CountingPool(kWorkers, accepted_); };
    // The library's default also sets SO_REUSEPORT, which would let a second gateway start on a
    // busy port and silently take half of the requests.
    server_.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_.set_tcp_nodelay(true);
    server_.set_keep_alive_max_count(kKeepAliveRequests);
    server_.set_keep_alive_timeout(kKeepAliveSeconds);
    server_.set_payload_max_length(kMaxBody);
    const auto route = [this](const httplib::Request& request, httplib::Response& response) {
        Route(request, response);
    };
    server_.Get(".*", route);
    server_.Post(".*", route);
    // Requests the library itself turns away (a request line over its 8 KiB limit, a malformed
    // request line, a POST without a length) still get an answer the toolbar can show.
    server_.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&,
                                                                      httplib::Response& response) {
        if (!response.body.empty()) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        if (response.status == 404) {
            response.set_content(kNotFoundPage, kHtmlType);
        } else if (response.status == 414 || response.status == 413) {
            response.set_content(
                Reply::Refused(ErrorCode::BadRequest, "Požadavek je příliš dlouhý").Body(),
                kReplyType);
        } else {
            response.set_content(Reply::Refused(ErrorCode::BadRequest, "Chybný požadavek").Body(),
                                 kReplyType);
        }
        return httplib::Server::HandlerResponse::Handled;
    }));
    server_.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.set_content(
                Reply::Refused(ErrorCode::ServerFault, "Chyba serveru, zkuste to prosím později")
                    .Body(),
                kReplyType);
        });
}

HttpFront::~HttpFront() {
    Stop();
}

std::optional<int> HttpFront::Bind(const std::string& host, int port) {
    if (port == 0) {
        const int bound = server_.bind_to_any_port(host);
        return bound > 0 ? std::optional<int>(bound) : std::nullopt;
    }
    return server_.bind_to_port(host, port) ? std::optional<int>(port) : std::nullopt;
}

void HttpFront::Start() {
    // A client that hangs up while we write must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    listenReturned_ = false;
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = false;
    }
    thread_ = std::thread([this] {
        server_.listen_after_bind();
        listenReturned_ = true;
    });
    // The library ignores a stop that comes before its accept loop has begun, so we return only
    // once it runs (or has already given up).
    while (!server_.is_running() && !listenReturned_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void HttpFront::Stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopSignal_.notify_all();
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

bool HttpFront::Pause(std::chrono::milliseconds time) {
    std::unique_lock lock(stopMutex_);
    return !stopSignal_.wait_for(lock, time, [this] { return stopping_; });
}

void HttpFront::Route(const httplib::Request& request, httplib::Response& response) {
    const std::int64_t now = std::time(nullptr);
    if (request.path == "/" && request.has_param("index.xp")) {
        response.set_content(portal_.HomePage(), kHtmlType);
    } else if (request.path == "/index.xp") {
        AnswerPortal(request, response);
    } else if (request.path == "/") {
        response.set_content(OutboxPage(storage_.Messages(), now), kHtmlType);
    } else if (request.path == "/admin/outbox") {
        response.set_content(OutboxJson(storage_.Messages(), now), kJsonType);
    } else if (request.path == "/admin/accounts") {
        response.set_content(AccountsJson(storage_.Accounts()), kJsonType);
    } else if (request.path == "/admin/contacts") {
        const auto login = Utf8ToCp1250(request.get_param_value("login"));
        if (!login || login->empty()) {
            return JsonError(response, "login names the account");
        }
        response.set_content(ContactsJson(storage_.Contacts(*login)), kJsonType);
    } else if (request.path == "/admin/connections") {
        response.set_content("{\"accepted\":" + std::to_string(accepted_) + "}\n", kJsonType);
    } else if (request.path == "/admin/requests") {
        std::lock_guard lock(countsMutex_);
        std::string json = "{";
        for (const auto& [name, count] : requestCounts_) {
            json += (json.size() > 1 ? ",\"" : "\"") + name + "\":" + std::to_string(count);
        }
        response.set_content(json + "}\n", kJsonType);
    } else if (request.path == "/admin/fault") {
        // A link followed by a browser or a crawler must not arm anything.
        if (request.method != "POST") {
            response.status = 405;
            response.set_header("Allow", "POST");
            return response.set_content("{\"error\":\"faults are armed by POST\"}\n", kJsonType);
        }
        ConfigureFault(request, response);
    } else {
        const GatewayQuery query(request.target);
        if (const auto api = Gateway::ApiOf(query.Path())) {
            AnswerGateway(*api, query, response);
        } else {
            response.status = 404;
            response.set_content(kNotFoundPage, kHtmlType);
        }
    }
}

void HttpFront::AnswerGateway(Gateway::Api api, const GatewayQuery& query,
                              httplib::Response& response) {
    CountRequest(api, query);
    const Fault fault = faults_.Take();
    Pause(fault.wait);
    switch (fault.mode) {
    case FaultMode::Http500:
        response.status = 500;
        response.set_content("<html><body><h1>500 Internal Server Error</h1>"
                             "<p>Služba je dočasně nedostupná.</p></body></html>\n",
                             "text/html; charset=windows-1250");
        return;
    case FaultMode::Close:
        // Promises more than it sends; refusing to go on makes the server drop the connection.
        response.set_content_provider(64, kReplyType,
                                      [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                          sink.write("stat", 4);
                                          return false;
                                      });
        return;
    case FaultMode::NoStatus:
        response.set_content("errtext=" + UrlEscape("Služba je dočasně nedostupná") + "\n",
                             kReplyType);
        return;
    case FaultMode::Empty:
        response.set_content("", kReplyType);
        return;
    case FaultMode::ShortList:
        response.set_content(PromiseOneMore(gateway_.Answer(api, query).Body()), kReplyType);
        return;
    case FaultMode::Endless:
        // Chunked, a chunk at a time as the client takes it: a write to a client that has gone
        // fails and ends the reply, and one that stops reading holds only this worker. At most
        // 16 MiB a second, as a far server sends: a client then finds its socket empty now and
        // then, which WinINet under Wine needs to close a connection whose body it left unread
        // (it drains the body until a read would wait).
        response.set_chunked_content_provider(
            kReplyType, [this](std::size_t offset, httplib::DataSink& sink) {
                const std::string& lines = EndlessLines();
                return Pause(std::chrono::milliseconds(1)) &&
                       (offset > 0 || sink.write("status=1\n", 9)) &&
                       sink.write(lines.data(), lines.size());
            });
        return;
    case FaultMode::Trickle: {
        const std::string body = gateway_.Answer(api, query).Body();
        response.set_content_provider(
            body.size(), kReplyType,
            [this, body, pace = fault.pace](std::size_t offset, std::size_t,
                                            httplib::DataSink& sink) {
                return (offset == 0 || Pause(pace)) && sink.write(&body[offset], 1);
            });
        return;
    }
    case FaultMode::Reply:
        response.set_content(fault.body, kReplyType);
        return;
    case FaultMode::Delay:
    case FaultMode::None:
        break;
    }
    response.set_content(gateway_.Answer(api, query).Body(), kReplyType);
}

void HttpFront::ConfigureFault(const httplib::Request& request, httplib::Response& response) {
    if (request.has_param("mode")) {
        const std::string modeName = request.get_param_value("mode");
        const auto mode = FaultInjector::ModeNamed(modeName);
        const auto count =
            request.has_param("count") ? IntegerParam(request, "count", 1, 1000000) : 1;
        // A trickle without ms sends a byte a second.
        const auto ms = !request.has_param("ms") && mode == FaultMode::Trickle
                            ? 1000
                            : IntegerParam(request, "ms", 0, 600000);
        if (modeName == "latency") {
            if (!ms) {
                return JsonError(response, "latency needs ms=0..600000");
            }
            faults_.SetLatency(std::chrono::milliseconds(*ms));
        } else if (!mode) {
            return JsonError(response, "mode must be off, http500, close, delay, nostatus, empty, "
                                       "shortlist, endless, trickle, reply or latency");
        } else if (*mode == FaultMode::None) {
            faults_.Clear();
        } else if (!count) {
            return JsonError(response, "count must be 1..1000000");
        } else if ((*mode == FaultMode::Delay || *mode == FaultMode::Trickle) && !ms) {
            return JsonError(response, modeName + " needs ms=0..600000");
        } else if (*mode == FaultMode::Reply && !request.has_param("body")) {
            return JsonError(response, "reply needs body");
        } else {
            faults_.Arm(*mode, *count, std::chrono::milliseconds(ms.value_or(0)),
                        request.get_param_value("body"));
        }
    }
    response.set_content(FaultJson(faults_.State()), kJsonType);
}

void HttpFront::CountRequest(Gateway::Api api, const GatewayQuery& query) {
    std::string name = api == Gateway::Api::Account ? "app_api." : "rapi.";
    if (const std::string* action = query.Find("action")) {
        // The name goes into JSON as it stands: anything but a plain name is counted as "?".
        for (char c : *action) {
            name += std::isalnum(static_cast<unsigned char>(c)) || c == '_' ? c : '?';
        }
    }
    std::lock_guard lock(countsMutex_);
    ++requestCounts_[name];
}

void HttpFront::AnswerPortal(const httplib::Request& request, httplib::Response& response) {
    // The link's values are the toolbar's Windows-1250 escapes; the form comes from the page
    // in UTF-8.
    const GatewayQuery link(request.target);
    PortalRequest page;
    for (auto [name, value] : {std::pair{"sid", &page.sid}, std::pair{"action", &page.action},
                               std::pair{"IETOOLBARVAR", &page.version}}) {
        if (const std::string* found = link.Find(name)) {
            *value = *found;
        }
    }
    if (request.method == "POST" && request.has_param("nick")) {
        page.nickUtf8 = request.get_param_value("nick");
        page.nickActive = request.get_param_value("active") == "yes";
    }
    response.set_content(portal_.Page(page), kHtmlType);
}

} // namespace server
