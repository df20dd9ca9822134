#pragma once

#include "gateway/GatewayReply.h"

#include <bit>
#include <cstdint>
#include <tuple>

// Every field a caller can read except the body, for comparing two replies in one assertion. The
// doubles are compared as bit patterns, so two NaN values parsed from the same text are equal.
inline auto ReadableFields(const GatewayReply& r) {
    return std::make_tuple(
        r.status, std::bit_cast<std::uint64_t>(r.price), std::bit_cast<std::uint64_t>(r.credit),
        r.parts, r.items, r.id, r.recackaddr, r.login, r.name, r.surname, r.email, r.msisdn,
        r.lastincome, r.auth_phone, r.auth_email, r.account_number, r.bank_number, r.itemValue,
        r.ItemKey(), r.sid, r.errcode, r.errtext, r.lastError, r.nick, r.nick_active);
}
