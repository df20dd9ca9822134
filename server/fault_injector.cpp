#include "fault_injector.h"

#include <array>
#include <utility>

namespace server {

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 10> kNames = {{
    {FaultMode::None, "off"},
    {FaultMode::Http500, "http500"},
    {FaultMode::Close, "close"},
    {FaultMode::Delay, "delay"},
    {FaultMode::NoStatus, "nostatus"},
    {FaultMode::Empty, "empty"},
    {FaultMode::ShortList, "shortlist"},
    {FaultMode::Endless, "endless"},
    {FaultMode::Trickle, "trickle"},
    {FaultMode::Reply, "reply"},
}};

} // namespace

std::optional<FaultMode> FaultInjector::ModeNamed(std::string_view name) {
    for (const auto& [mode, text] : kNames) {
        if (text == name) {
            return mode;
        }
    }
    return std::nullopt;
}

std::string_view FaultInjector::NameOf(FaultMode mode) {
    for (const auto& [known, text] : kNames) {
        if (known == mode) {
            return text;
        }
    }
    return "off";
}

void FaultInjector::Arm(FaultMode mode, int count, std::chrono::milliseconds ms, std::string body) {
    std::lock_guard lock(mutex_);
    state_.mode = count > 0 ? mode : FaultMode::None;
    state_.remaining = state_.mode == FaultMode::None ? 0 : count;
    const bool timed = state_.mode == FaultMode::Delay || state_.mode == FaultMode::Trickle;
    state_.ms = timed ? ms : std::chrono::milliseconds{0};
    state_.body = state_.mode == FaultMode::Reply ? std::move(body) : std::string();
}

void FaultInjector::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    state_.latency = latency;
}

void FaultInjector::Clear() {
    std::lock_guard lock(mutex_);
    state_ = FaultState{};
}

Fault FaultInjector::Take() {
    std::lock_guard lock(mutex_);
    Fault fault;
    fault.wait = state_.latency;
    if (state_.remaining > 0) {
        fault.mode = state_.mode;
        if (fault.mode == FaultMode::Delay) {
            fault.wait += state_.ms;
        } else {
            fault.pace = state_.ms;
        }
        fault.body = state_.body;
        if (--state_.remaining == 0) {
            const auto latency = state_.latency;
            state_ = FaultState{};
            state_.latency = latency;
        }
    }
    return fault;
}

FaultState FaultInjector::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

} // namespace server
