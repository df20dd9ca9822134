#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One address-book entry. Its stored form, in the CONTACTS section of settings.ini and in the
// gateway's address list, is the five fields joined by single commas: id, phone, e-mail,
// first name, surname. No field may hold a comma, or every later field would shift.
struct Contact {
    std::string id;
    std::string phone;
    std::string email;
    std::string name;
    std::string surname;
};

// The fields of a stored form, split at its first four commas: the surname is the rest of the
// text, and fields an entry lacks commas for come out empty.
Contact SplitContact(std::string_view stored);
std::string JoinContact(const Contact& contact);

// Whether a text can be kept as an entry as it stands: five fields, and on one line of the file.
bool IsStoredContact(std::string_view text);

// The most entries the section is read with, whatever its Count says.
inline constexpr int MaxContacts = 10000;

// How many keys of the section to read: the stored Count, but never past the highest entry
// key present (keyNames: the section's key names, each ended by a NUL) nor MaxContacts, so
// that a damaged Count cannot make a reader loop or allocate for entries that are not there.
int ContactCountOf(std::string_view storedCount, std::string_view keyNames);

// One key of the section to change: written with the text, or removed when there is none.
struct ContactKeyChange {
    int index;
    std::optional<std::string> text;

    bool operator==(const ContactKeyChange&) const = default;
};

// What deleting entry k of the section's entries (empty texts for absent keys) changes: every
// later entry moves down one key, a gap keeping its place as a gap, and the last key goes.
// Nothing when k names no entry.
std::vector<ContactKeyChange> PlanContactDelete(const std::vector<std::string>& entries, int k);
