#pragma once

#include "fault_injector.h"
#include "records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// What became of a message by the given time (seconds since 1970): "scheduled" while its
// delivery time lies ahead, "delivered" from then on.
std::string_view DeliveryState(const SentMessage& message, std::int64_t now);

// The views for tests and people. Stored texts are Windows-1250 and come out as UTF-8; absent
// optional parameters are JSON null.
std::string OutboxJson(const std::vector<SentMessage>& messages, std::int64_t now);
std::string AccountsJson(const std::vector<AccountSummary>& accounts);
// An account's address book: each contact's id and the stored form the address list carries.
std::string ContactsJson(const std::vector<Contact>& contacts);
std::string FaultJson(const FaultState& state);
// Escapes text for HTML; the bytes stay Windows-1250.
std::string HtmlText(std::string_view cp1250);
// The messages as an HTML table (Windows-1250), or a line saying there are none.
std::string OutboxTable(const std::vector<SentMessage>& messages, std::int64_t now);
std::string OutboxPage(const std::vector<SentMessage>& messages, std::int64_t now);

} // namespace server
