#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace server {

// Misbehaviour armed by tests through the admin interface, applied to gateway requests only.
enum class FaultMode {
    None,
    Http500,   // HTTP 500 with an HTML error page
    Close,     // headers and the first bytes of the body, then the connection is dropped
    Delay,     // the reply comes late but is otherwise normal
    NoStatus,  // HTTP 200 with a body that lacks the status line
    Empty,     // HTTP 200 with an empty body
    ShortList, // the reply's items promises one list item more than it carries
    Endless,   // HTTP 200 whose body of valid-looking lines never ends
    Trickle,   // the normal reply, one byte at a time
    Reply,     // HTTP 200 with a body the test gave, the request not carried out
};

struct Fault {
    FaultMode mode = FaultMode::None;
    // How long to wait before answering: the standing latency plus a Delay fault's own wait.
    std::chrono::milliseconds wait{0};
    // The time between two bytes of a Trickle fault.
    std::chrono::milliseconds pace{0};
    // What a Reply fault answers.
    std::string body;
};

struct FaultState {
    FaultMode mode = FaultMode::None;
    int remaining = 0;
    // A Delay fault's wait, or a Trickle fault's time between bytes.
    std::chrono::milliseconds ms{0};
    std::chrono::milliseconds latency{0};
    std::string body;
};

class FaultInjector {
public:
    static std::optional<FaultMode> ModeNamed(std::string_view name);
    static std::string_view NameOf(FaultMode mode);

    // The next `count` gateway requests get this fault; ms is used by FaultMode::Delay and
    // FaultMode::Trickle, body by FaultMode::Reply.
    void Arm(FaultMode mode, int count, std::chrono::milliseconds ms, std::string body = {});
    // A wait added to every gateway request until changed, for a slow server.
    void SetLatency(std::chrono::milliseconds latency);
    // Disarms the fault and drops the latency.
    void Clear();

    // The fault for the gateway request now arriving; uses up one armed request.
    Fault Take();
    FaultState State() const;

private:
    mutable std::mutex mutex_;
    FaultState state_;
};

} // namespace server
