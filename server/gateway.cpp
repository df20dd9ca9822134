#include "gateway.h"

#include "signature.h"
#include "sms_parts.h"

#include <charconv>
#include <ctime>
#include <exception>
#include <utility>

namespace server {

namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::system_clock;

// The stored form of a contact ("%d,%s,%s,%s,%s") must fit the toolbar's 260-byte buffer;
// ten digits are reserved for the identifier.
constexpr std::size_t kContactFieldsMax = 259 - 10 - 4;

std::int64_t NowMs() {
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

const std::string& Required(const GatewayQuery& query, std::string_view name) {
    const std::string* value = query.Find(name);
    if (!value) {
        throw Refusal{ErrorCode::MissingParameter, "Chybí parametr " + std::string(name)};
    }
    return *value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::int64_t RequiredInteger(const GatewayQuery& query, std::string_view name) {
    const auto value = ParseInteger(Required(query, name));
    if (!value) {
        throw Refusal{ErrorCode::BadValue, "Chybná hodnota parametru " + std::string(name)};
    }
    return *value;
}

std::optional<std::int64_t> OptionalInteger(const GatewayQuery& query, std::string_view name) {
    if (!query.Find(name)) {
        return std::nullopt;
    }
    return RequiredInteger(query, name);
}

std::optional<std::string> OptionalText(const GatewayQuery& query, std::string_view name) {
    const std::string* value = query.Find(name);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

// A subscriber number: an optional "+" and 9 to 15 digits, nothing else (the toolbar sends
// each recipient exactly as typed).
bool IsPhoneNumber(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.size() < 9 || text.size() > 15) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Local date and time "%Y-%m-%d %H:%M:%S"; nothing for any other form and for dates that do not
// exist, such as 30 February.
std::optional<std::int64_t> ParseLocalTime(std::string_view text) {
    static constexpr std::string_view kPattern = "dddd-dd-dd dd:dd:dd";
    if (text.size() != kPattern.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) {
            return std::nullopt;
        }
    }
    const auto field = [text](std::size_t pos, std::size_t len) {
        return static_cast<int>(*ParseInteger(text.substr(pos, len)));
    };
    std::tm tm{};
    tm.tm_year = field(0, 4) - 1900;
    tm.tm_mon = field(5, 2) - 1;
    tm.tm_mday = field(8, 2);
    tm.tm_hour = field(11, 2);
    tm.tm_min = field(14, 2);
    tm.tm_sec = field(17, 2);
    tm.tm_isdst = -1;
    const std::tm asked = tm;
    const std::time_t when = std::mktime(&tm);
    if (when == static_cast<std::time_t>(-1) || tm.tm_year != asked.tm_year ||
        tm.tm_mon != asked.tm_mon || tm.tm_mday != asked.tm_mday || tm.tm_hour != asked.tm_hour ||
        tm.tm_min != asked.tm_min || tm.tm_sec != asked.tm_sec) {
        return std::nullopt;
    }
    return when;
}

// A contact's fields travel to the toolbar joined by commas and are kept there on one line of
// an INI file, so a comma or a line break in a field would corrupt its address book.
Contact ContactFrom(const GatewayQuery& query, std::int64_t id) {
    Contact contact{id, Required(query, "msg"), Required(query, "email"), Required(query, "name"),
                    Required(query, "surname")};
    if (contact.phone.empty()) {
        throw Refusal{ErrorCode::BadContact, "Chybí telefonní číslo kontaktu"};
    }
    std::size_t total = 0;
    for (const std::string* field :
         {&contact.phone, &contact.email, &contact.name, &contact.surname}) {
        for (char c : *field) {
            if (c == ',' || static_cast<unsigned char>(c) < 0x20) {
                throw Refusal{ErrorCode::BadContact,
                              "Údaje kontaktu nesmí obsahovat čárku ani konec řádku"};
            }
        }
        total += field->size();
    }
    if (total > kContactFieldsMax) {
        throw Refusal{ErrorCode::BadContact, "Údaje kontaktu jsou příliš dlouhé"};
    }
    return contact;
}

std::int64_t ContactId(std::string_view text) {
    const auto id = ParseInteger(text);
    if (!id || *id <= 0) {
        throw Refusal{ErrorCode::NoSuchContact, "Kontakt nebyl nalezen"};
    }
    return *id;
}

} // namespace

Gateway::Gateway(Storage& storage, GatewaySettings settings)
    : storage_(storage), settings_(std::move(settings)) {}

std::optional<Gateway::Api> Gateway::ApiOf(std::string_view path) {
    if (path == "api/app_api.xp") {
        return Api::Account;
    }
    if (path == "api/rapi.xp") {
        return Api::Portal;
    }
    return std::nullopt;
}

Reply Gateway::Answer(Api api, const GatewayQuery& query) {
    try {
        return Dispatch(api, query);
    } catch (const Refusal& refusal) {
        return Reply::Refused(refusal.code, refusal.text);
    } catch (const std::exception&) {
        return Reply::Refused(ErrorCode::ServerFault, "Chyba serveru, zkuste to prosím později");
    }
}

Reply Gateway::Dispatch(Api api, const GatewayQuery& query) {
    if (query.Malformed()) {
        throw Refusal{ErrorCode::BadEncoding, "Chybně zakódovaný parametr v požadavku"};
    }
    if (Required(query, "cust") != "ieto") {
        throw Refusal{ErrorCode::UnknownCustomer, "Neznámý zákazník"};
    }
    if (!SameSecret(settings_.clientToken, Required(query, "hash"))) {
        throw Refusal{ErrorCode::BadToken, "Neplatný klíč aplikace"};
    }
    const std::string& action = Required(query, "action");
    if (api == Api::Account) {
        if (action == "info") {
            return Info(query);
        }
        if (action == "send") {
            return Send(query);
        }
        if (action == "addr_list") {
            return AddrList(query);
        }
        if (action == "addr_add") {
            return AddrAdd(query);
        }
        if (action == "addr_edit") {
            return AddrEdit(query);
        }
        if (action == "addr_del") {
            return AddrDel(query);
        }
    } else {
        if (action == "info") {
            return PortalInfo(query);
        }
        if (action == "info_login") {
            return InfoLogin(query);
        }
    }
    throw Refusal{ErrorCode::UnknownAction, "Neznámá akce"};
}

Account Gateway::Authenticate(const GatewayQuery& query, std::string_view action) {
    const std::string& login = Required(query, "login");
    const std::string& auth = Required(query, "auth");
    const std::string& msg = Required(query, "msg");
    auto account = storage_.FindAccount(login);
    if (!account || !SameSecret(ComputeAuth(account->passwordDigest, login, action, msg), auth)) {
        throw Refusal{ErrorCode::BadCredentials, "Neplatné přihlašovací údaje"};
    }
    return *account;
}

Reply Gateway::Info(const GatewayQuery& query) {
    const Account account = Authenticate(query, "info");
    Reply reply = Reply::Success();
    reply.Add("credit", FormatMoney(account.credit));
    if (!account.nick.empty()) {
        reply.Add("nick", account.nick);
    }
    reply.Add("nick_active", account.nickActive ? "yes" : "no");
    return reply;
}

Reply Gateway::Send(const GatewayQuery& query) {
    const Account account = Authenticate(query, "send");
    SentMessage message;
    message.login = account.login;
    message.text = Required(query, "msg");
    message.msisdn = Required(query, "msisdn");
    message.waitForDelivery = RequiredInteger(query, "waitfordelivery");
    message.recack = OptionalInteger(query, "recack");
    message.recackaddr = OptionalText(query, "recackaddr");
    message.nick = OptionalText(query, "nick");
    message.delay = OptionalText(query, "delay");
    if (!IsPhoneNumber(message.msisdn)) {
        throw Refusal{ErrorCode::BadNumber, "Neplatné telefonní číslo příjemce"};
    }
    if (message.text.empty()) {
        throw Refusal{ErrorCode::EmptyText, "Prázdný text zprávy"};
    }
    const std::int64_t nowMs = NowMs();
    message.received = nowMs / 1000;
    message.deliverAt = message.received;
    if (message.delay && !message.delay->empty()) {
        const auto when = ParseLocalTime(*message.delay);
        if (!when) {
            throw Refusal{ErrorCode::BadDelay, "Neplatný čas odeslání"};
        }
        message.deliverAt = *when;
    }
    message.parts = SmsParts(message.text.size(), message.nick ? message.nick->size() : 0);
    message.price = message.parts * settings_.pricePerPart;
    const auto credit = storage_.ChargeAndRecord(message);
    if (!credit) {
        throw Refusal{ErrorCode::NoCredit, "Nedostatečný kredit"};
    }
    return Reply::Success()
        .Add("credit", FormatMoney(*credit))
        .Add("price", FormatMoney(message.price))
        .Add("parts", std::to_string(message.parts))
        .Add("id", std::to_string(message.id));
}

Reply Gateway::AddrList(const GatewayQuery& query) {
    const Account account = Authenticate(query, "addr_list");
    const auto contacts = storage_.Contacts(account.login);
    Reply reply = Reply::Success();
    reply.Add("items", std::to_string(contacts.size()));
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        reply.Add("item_" + std::to_string(i), StoredForm(contacts[i]));
    }
    return reply;
}

Reply Gateway::AddrAdd(const GatewayQuery& query) {
    const Account account = Authenticate(query, "addr_add");
    const std::int64_t id = storage_.AddContact(account.login, ContactFrom(query, 0));
    return Reply::Success().Add("id", std::to_string(id));
}

Reply Gateway::AddrEdit(const GatewayQuery& query) {
    const Account account = Authenticate(query, "addr_edit");
    const Contact contact = ContactFrom(query, ContactId(Required(query, "id")));
    if (!storage_.EditContact(account.login, contact)) {
        throw Refusal{ErrorCode::NoSuchContact, "Kontakt nebyl nalezen"};
    }
    return Reply::Success().Add("id", std::to_string(contact.id));
}

Reply Gateway::AddrDel(const GatewayQuery& query) {
    const Account account = Authenticate(query, "addr_del");
    if (!storage_.DeleteContact(account.login, ContactId(Required(query, "msg")))) {
        throw Refusal{ErrorCode::NoSuchContact, "Kontakt nebyl nalezen"};
    }
    return Reply::Success();
}

std::optional<Account> Gateway::Visit(std::string_view sid) {
    const std::int64_t nowMs = NowMs();
    const auto login = storage_.RenewSession(
        sid, nowMs, nowMs + duration_cast<milliseconds>(settings_.sessionTtl).count());
    return login ? storage_.FindAccount(*login) : std::nullopt;
}

Reply Gateway::PortalInfo(const GatewayQuery& query) {
    const auto account = Visit(Required(query, "sid"));
    if (!account) {
        throw Refusal{ErrorCode::SessionExpired, "Platnost přihlášení vypršela"};
    }
    return Reply::Success().Add("credit", FormatMoney(account->credit));
}

Reply Gateway::InfoLogin(const GatewayQuery& query) {
    const std::string& login = Required(query, "login");
    const std::string& pass = Required(query, "pass");
    const auto account = storage_.FindAccount(login);
    if (!account || !SameSecret(account->passwordDigest, pass)) {
        throw Refusal{ErrorCode::BadCredentials, "Neplatné přihlašovací údaje"};
    }
    const std::string sid = NewSessionId();
    const std::int64_t nowMs = NowMs();
    storage_.PutSession(sid, account->login, nowMs,
                        nowMs + duration_cast<milliseconds>(settings_.sessionTtl).count());
    return Reply::Success().Add("sid", sid).Add("credit", FormatMoney(account->credit));
}

} // namespace server
