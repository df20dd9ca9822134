#include "store/ContactRecord.h"

#include <algorithm>

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
