#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The parsed reply of the last gateway request. The gateway answers with lines of key=value, each
// %-escaped and ended by LF; ParseReply assigns the keys it knows to the fields below. String
// fields are empty optionals when the reply had no such key.
//
// The record is a self-contained value: copies share nothing with the original.
class GatewayReply {
public:
    std::int32_t status = -1; // 1 = success; -1 = no status received
    double price = 0.0;
    double credit = 0.0; // the account credit in crowns
    std::int32_t parts = 0;
    std::int32_t items = 0; // number of list items, walked with SelectItem
    std::int32_t id = 0;    // identifier assigned by the server
    std::optional<std::string> recackaddr;
    std::optional<std::string> login;
    std::optional<std::string> name;
    std::optional<std::string> surname;
    std::optional<std::string> email;
    std::optional<std::string> msisdn;
    std::optional<std::string> lastincome;
    std::optional<std::string> auth_phone;
    std::optional<std::string> auth_email;
    std::optional<std::string> account_number;
    std::optional<std::string> bank_number;
    std::optional<std::string> itemValue; // the value of ItemKey()
    std::optional<std::string> sid;       // the signed-in portal visit; survives ResetReply
    std::int32_t errcode = 0;
    std::optional<std::string> errtext; // the server's error text for the user
    std::string lastError;              // why the request did not complete; set by the transport
    std::optional<std::string> nick;    // absent when the reply's holds a control character
    std::optional<std::string> nick_active;

    // Clears everything for the next request except sid, which only a reply carrying "sid"
    // replaces.
    void ResetReply();
    // Parses text into the fields without resetting them first: keys the text does not mention
    // keep their values. Parsing stops at a NUL byte; text after the last LF is ignored. A line
    // with an empty key sets itemValue while no item is selected.
    void ParseReply(std::string_view text);
    // Keeps raw as the reply's body and parses it.
    void SetBody(std::string raw);
    // Makes "item_<n>" the item key and parses the body again: itemValue takes the value of the
    // last such line, or keeps its value when the body has none; the other fields come out as
    // the body sets them.
    void SelectItem(int n);

    const std::string& ItemKey() const { return itemKey; }
    // The raw body of the last request; empty optional when no body was read.
    const std::optional<std::string>& Body() const { return body; }

    bool Succeeded() const { return status == 1; }
    // What to tell the user when !Succeeded(): the transport's text when no status arrived,
    // otherwise the server's (empty when it sent none).
    std::string FailureText() const;

private:
    // What a parse of the body assigns, so that walking the items costs a lookup each rather than
    // a parse of the whole body.
    struct BodyIndex {
        std::vector<std::optional<std::string>> fieldText;        // last text of each known key
        std::unordered_map<std::string, std::string> otherValues; // last value of each other key
    };

    std::string itemKey;
    std::optional<std::string> body;
    std::optional<BodyIndex> index; // of body; built on the first SelectItem
};
