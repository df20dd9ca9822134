#include "store/ContactRecord.h"

#include <algorithm>
#include <charconv>
#include <limits>

Contact SplitContact(std::string_view stored) {
    Contact contact;
    std::string* fields[] = {&contact.id, &contact.phone, &contact.email, &contact.name};
    for (std::string* field : fields) {
        const std::size_t comma = stored.find(',');
        *field = stored.substr(0, comma);
        if (comma == std::string_view::npos) {
            return contact;
        }
        stored.remove_prefix(comma + 1);
    }
    contact.surname = stored;
    return contact;
}

std::string JoinContact(const Contact& contact) {
    return contact.id + ',' + contact.phone + ',' + contact.email + ',' + contact.name + ',' +
           contact.surname;
}

bool IsStoredContact(std::string_view text) {
    return std::count(text.begin(), text.end(), ',') >= 4 &&
           text.find_first_of("\r\n") == std::string_view::npos;
}

std::vector<ContactKeyChange> PlanContactDelete(const std::vector<std::string>& entries, int k) {
    const int count = static_cast<int>(entries.size());
    std::vector<ContactKeyChange> changes;
    if (k < 0 || k >= count) {
        return changes;
    }
    for (int i = k; i + 1 < count; ++i) {
        const std::string& moved = entries[static_cast<std::size_t>(i) + 1];
        changes.push_back({i, moved.empty() ? std::nullopt : std::optional(moved)});
    }
    changes.push_back({count - 1, std::nullopt});
    return changes;
}

namespace {

// The leading decimal number of a text as atol reads it, a number too large for an int read
// as the largest; 0 without digits.
int LeadingNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return 0;
    }
    text.remove_prefix(start + (text[start] == '+' ? 1 : 0));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc::result_out_of_range ? std::numeric_limits<int>::max() : value;
}

} // namespace

int ContactCountOf(std::string_view storedCount, std::string_view keyNames) {
    int present = 0;
    for (std::size_t begin = 0; begin < keyNames.size();) {
        std::size_t end = std::min(keyNames.find('\0', begin), keyNames.size());
        const std::string_view key = keyNames.substr(begin, end - begin);
        int index = -1;
        const auto [last, error] = std::from_chars(key.data(), key.data() + key.size(), index);
        if (error == std::errc() && last == key.data() + key.size() && index >= 0 &&
            index < MaxContacts) {
            present = std::max(present, index + 1);
        }
        begin = end + 1;
    }
    return std::clamp(LeadingNumber(storedCount), 0, present);
}
