#include "gateway/GatewayReply.h"

#include "gateway/UrlCoding.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>

namespace {

// The known keys, numbers first, in the order a key is compared with them. The item key is
// compared after them, so a known key always wins.
constexpr std::string_view kFieldKeys[] = {
    "status",      "price",   "credit",      "parts",      "errcode",    "items",
    "id",          "errtext", "recackaddr",  "login",      "name",       "surname",
    "email",       "msisdn",  "lastincome",  "auth_phone", "auth_email", "account_number",
    "bank_number", "nick",    "nick_active", "sid"};
constexpr std::size_t kFieldCount = std::size(kFieldKeys);

enum Field : std::size_t { kStatus, kPrice, kCredit, kParts, kErrcode, kItems, kId, kFirstString };

constexpr std::optional<std::string> GatewayReply::*kStringFields[] = {
    &GatewayReply::errtext,    &GatewayReply::recackaddr,     &GatewayReply::login,
    &GatewayReply::name,       &GatewayReply::surname,        &GatewayReply::email,
    &GatewayReply::msisdn,     &GatewayReply::lastincome,     &GatewayReply::auth_phone,
    &GatewayReply::auth_email, &GatewayReply::account_number, &GatewayReply::bank_number,
    &GatewayReply::nick,       &GatewayReply::nick_active,    &GatewayReply::sid};
static_assert(kFirstString + std::size(kStringFields) == kFieldCount);

std::optional<Field> FieldOf(std::string_view key) {
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        if (kFieldKeys[f] == key) {
            return Field(f);
        }
    }
    return std::nullopt;
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    return i;
}

// Like atol: optional white space, an optional sign, decimal digits; 0 without digits. Values
// beyond 32 bits saturate as strtol's do.
std::int32_t ToLong(std::string_view text) {
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), limit);
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

// Like strtod with '.' as the decimal point whatever the locale; 0 without a number.
double ToDouble(std::string_view text) {
    std::size_t i = SkipSpace(text);
    if (i < text.size() && text[i] == '+') {
        ++i;
        if (i < text.size() && text[i] == '-') {
            return 0.0;
        }
    }
    double value = 0.0;
    std::from_chars(text.data() + i, text.data() + text.size(), value);
    return value;
}

void Assign(GatewayReply& reply, Field field, std::string_view text) {
    switch (field) {
    case kStatus:
        reply.status = ToLong(text);
        break;
    case kPrice:
        reply.price = ToDouble(text);
        break;
    case kCredit:
        reply.credit = ToDouble(text);
        break;
    case kParts:
        reply.parts = ToLong(text);
        break;
    case kErrcode:
        reply.errcode = ToLong(text);
        break;
    case kItems:
        reply.items = ToLong(text);
        break;
    case kId:
        reply.id = ToLong(text);
        break;
    default: {
        std::optional<std::string> GatewayReply::*member = kStringFields[field - kFirstString];
        // The nickname is stored in settings.ini and goes in front of every message: one with
        // a control character (a line break that would start keys of its own) is no nickname.
        if (member == &GatewayReply::nick && std::any_of(text.begin(), text.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
            })) {
            reply.nick.reset();
        } else {
            reply.*member = std::string(text);
        }
        break;
    }
    }
}

// Calls lineFn(key, value) for each unescaped line with '=' and statusFn(line) for each bare
// one-character line, in body order.
template <class LineFn, class StatusFn>
void ForEachLine(std::string_view text, LineFn lineFn, StatusFn statusFn) {
    text = text.substr(0, text.find('\0'));
    for (std::size_t pos = 0, lf; (lf = text.find('\n', pos)) != std::string_view::npos;
         pos = lf + 1) {
        std::string line = UrlUnescape(text.substr(pos, lf - pos));
        std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            lineFn(std::string_view(line).substr(0, eq), std::string_view(line).substr(eq + 1));
        } else if (line.size() == 1) {
            statusFn(std::string_view(line));
        }
    }
}

} // namespace

void GatewayReply::ResetReply() {
    std::optional<std::string> keptSid = std::move(sid);
    *this = GatewayReply();
    sid = std::move(keptSid);
}

void GatewayReply::ParseReply(std::string_view text) {
    ForEachLine(
        text,
        [this](std::string_view key, std::string_view value) {
            if (std::optional<Field> field = FieldOf(key)) {
                Assign(*this, *field, value);
            } else if (key == itemKey) {
                itemValue = std::string(value);
            }
        },
        [this](std::string_view line) { status = ToLong(line); });
}

void GatewayReply::SetBody(std::string raw) {
    body = std::move(raw);
    index.reset();
    ParseReply(*body);
}

void GatewayReply::SelectItem(int n) {
    itemKey = "item_" + std::to_string(n);
    if (!body) {
        return;
    }
    if (!index) {
        BodyIndex built{std::vector<std::optional<std::string>>(kFieldCount), {}};
        ForEachLine(
            *body,
            [&built](std::string_view key, std::string_view value) {
                if (std::optional<Field> field = FieldOf(key)) {
                    built.fieldText[*field] = std::string(value);
                } else {
                    built.otherValues.insert_or_assign(std::string(key), std::string(value));
                }
            },
            [&built](std::string_view line) { built.fieldText[kStatus] = std::string(line); });
        index = std::move(built);
    }
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        if (index->fieldText[f]) {
            Assign(*this, Field(f), *index->fieldText[f]);
        }
    }
    if (auto it = index->otherValues.find(itemKey); it != index->otherValues.end()) {
        itemValue = it->second;
    }
}

std::string GatewayReply::FailureText() const {
    return status == -1 ? lastError : errtext.value_or(std::string());
}
