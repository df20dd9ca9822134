#include "fault_injector.h"

#include <array>
#include <utility>

namespace server {

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 7> kNames = {{
    {FaultMode::None, "off"},
    {FaultMode::Http500, "http500"},
    {FaultMode::Close, "close"},
    {FaultMode::Delay, "delay"},
    {FaultMode::NoStatus, "nostatus"},
    {FaultMode::Empty, "empty"},
    {FaultMode::ShortList, "shortlist"},
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

void FaultInjector::Arm(FaultMode mode, int count, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    state_.mode = count > 0 ? mode : FaultMode::None;
    state_.remaining = state_.mode == FaultMode::None ? 0 : count;
    state_.delay = state_.mode == FaultMode::Delay ? delay : std::chrono::milliseconds{0};
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
    Fault fault{FaultMode::None, state_.latency};
    if (state_.remaining > 0) {
        fault.mode = state_.mode;
        fault.wait += state_.delay;
        if (--state_.remaining == 0) {
            state_.mode = FaultMode::None;
            state_.delay = std::chrono::milliseconds{0};
        }
    }
    return fault;
}

FaultState FaultInjector::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

} // namespace server
