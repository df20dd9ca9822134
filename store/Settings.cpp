#include "store/Settings.h"

#include "store/ContactRecord.h"
#include "store/HistorySection.h"

#include "win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char* Section = "SETTINGS";
// The service's own gateway and portal; a deployment's menu.ini may point elsewhere.
const char* DefaultGateway = "gate.textaro.cz";
const char* DefaultPortal = "http://www.textaro.cz/";
const char* TextHistory = "TextHistory";
const char* RecipientHistory = "RecipientHistory";
const char* Contacts = "CONTACTS";
const char* DraftSection = "Draft";
// The account keys, in the order Load reads them and Save writes them.
constexpr std::array<const char*, 6> AccountKeys = {"UserName", "Nick",       "Pasword",
                                                    "Email",    "AutoRecack", "WaitForDelivery"};
// Every change under the lock is a few reads and writes of one small file: a toolbar that
// waits longer than this waits for a hung one, and goes on without it.
constexpr DWORD LockWaitMs = 10000;

// Reads one key whole: the buffer grows until the value fits, so nothing stored is cut.
std::string ReadKey(const std::string& file, const char* key, const char* fallback = "",
                    const char* section = Section) {
    std::string value(8192, '\0');
    for (;;) {
        DWORD length = GetPrivateProfileStringA(section, key, fallback, value.data(),
                                                static_cast<DWORD>(value.size()), file.c_str());
        if (length + 1 < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 2);
    }
}

// Every value written keeps to its line: a value from the gateway or a typed text cannot
// rewrite the file's other keys.
bool WriteKey(const std::string& file, const char* key, const std::string& value,
              const char* section = Section) {
    return WritePrivateProfileStringA(section, key, OneLine(value).c_str(), file.c_str()) != FALSE;
}

// Reads a section whole, or with no section given its key names: the buffer grows while the
// read fills it, so no entry is cut. The text ends with the last entry's NUL.
std::string ReadSection(const std::string& file, const char* section, bool keyNames = false) {
    std::string text(8192, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(text.size());
        DWORD length =
            keyNames
                ? GetPrivateProfileStringA(section, nullptr, "", text.data(), size, file.c_str())
                : GetPrivateProfileSectionA(section, text.data(), size, file.c_str());
        if (length + 2 < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}

bool WriteSection(const std::string& file, const char* section, const std::string& text) {
    // The section text ends with one more NUL than its last entry has.
    const std::string block = OneLine(text) + '\0';
    return WritePrivateProfileSectionA(section, block.c_str(), file.c_str()) != FALSE;
}

// The six keys as the file holds them, the numbers as their leading digits read.
std::array<std::string, 6> ReadAccount(const std::string& file) {
    std::array<std::string, 6> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = ReadKey(file, AccountKeys[i], i < 4 ? "" : "0");
        if (i >= 4) {
            values[i] = std::to_string(std::atol(values[i].c_str()));
        }
    }
    return values;
}

// One lock per settings.ini, whatever the letter case of its path, in the session's namespace:
// every browser of the user, 32-bit or 64-bit, runs in the user's session. A name holds no
// backslash and has a length limit, so the path's FNV-1a hash stands for it.
std::string LockNameOf(std::string path) {
    CharLowerBuffA(path.data(), static_cast<DWORD>(path.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : path) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Local\\TextaroBar.settings.%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

Settings::Settings(const std::string& modulePath)
    : settingsPath(FolderOf(modulePath) + "\\settings.ini"),
      menuPath(FolderOf(modulePath) + "\\menu.ini"), lockName(LockNameOf(settingsPath)) {}

void Settings::Locked(const std::function<void()>& change) const {
    const NamedMutexLock lock(lockName, LockWaitMs);
    change();
}

Settings::AccountValues Settings::Values() const {
    return {UserName,
            Nick,
            Pasword,
            Email,
            std::to_string(AutoRecack),
            std::to_string(WaitForDelivery)};
}

void Settings::Take(const AccountValues& values) {
    UserName = values[0];
    Nick = values[1];
    Pasword = values[2];
    Email = values[3];
    AutoRecack = static_cast<int>(std::atol(values[4].c_str()));
    WaitForDelivery = static_cast<int>(std::atol(values[5].c_str()));
    stored = Values();
}

void Settings::Load() {
    Locked([this] { Take(ReadAccount(settingsPath)); });
}

void Settings::Save() {
    std::vector<std::size_t> failed;
    Locked([&] {
        AccountValues values = ReadAccount(settingsPath);
        const AccountValues mine = Values();
        for (std::size_t i = 0; i < mine.size(); ++i) {
            if (mine[i] != stored[i]) {
                values[i] = mine[i];
                if (!WriteKey(settingsPath, AccountKeys[i], mine[i])) {
                    failed.push_back(i);
                }
            }
        }
        const AccountValues before = stored;
        Take(values);
        // A key that could not be written counts as changed still: the next Save tries again.
        for (std::size_t i : failed) {
            stored[i] = before[i];
        }
    });
    Written(failed.empty());
}

void Settings::Written(bool written) const {
    if (!written && onWriteFailure) {
        onWriteFailure(settingsPath);
    }
}

void Settings::ReadUninstall(std::string& program, std::string& arguments) const {
    program = ReadKey(menuPath, "UninstalString");
    arguments = ReadKey(menuPath, "UninstalStringArgs");
}

std::string Settings::ReadUpgrade() const {
    return ReadKey(menuPath, "Upgrade");
}

std::string Settings::ReadGateway() const {
    return ReadKey(menuPath, "Gateway", DefaultGateway);
}

std::string Settings::ReadPortal() const {
    return ReadKey(menuPath, "Portal", DefaultPortal);
}

std::string Settings::ReadTextHistory() const {
    return ReadSection(settingsPath, TextHistory);
}

std::string Settings::ReadRecipientHistory() const {
    return ReadSection(settingsPath, RecipientHistory);
}

void Settings::WriteTextHistory(const std::string& section) const {
    Written(WriteSection(settingsPath, TextHistory, section));
}

void Settings::WriteRecipientHistory(const std::string& section) const {
    Written(WriteSection(settingsPath, RecipientHistory, section));
}

void Settings::ClearTextHistory() const {
    Written(WriteSection(settingsPath, TextHistory, ""));
}

void Settings::ClearRecipientHistory() const {
    Written(WriteSection(settingsPath, RecipientHistory, ""));
}

std::string Settings::ReadMenuSection() const {
    return ReadSection(menuPath, "TextaroMenu");
}

std::string Settings::ReadMyMenuSection() const {
    return ReadSection(menuPath, "MojeTextaro");
}

int Settings::GetContactCount() const {
    return ContactCountOf(ReadKey(settingsPath, "Count", "", Contacts),
                          ReadSection(settingsPath, Contacts, true));
}

void Settings::SetContactCount(int count) const {
    Written(WriteKey(settingsPath, "Count", std::to_string(count), Contacts));
}

bool Settings::ReadContact(int index, std::string& text) const {
    text = ReadKey(settingsPath, std::to_string(index).c_str(), "", Contacts);
    return !text.empty();
}

void Settings::WriteContact(int index, const std::string& text) const {
    Written(WriteKey(settingsPath, std::to_string(index).c_str(), text, Contacts));
}

void Settings::DeleteContact(int k) const {
    Locked([&] {
        std::vector<std::string> entries(static_cast<std::size_t>(GetContactCount()));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ReadContact(static_cast<int>(i), entries[i]);
        }
        const std::vector<ContactKeyChange> changes = PlanContactDelete(entries, k);
        if (changes.empty()) {
            return;
        }
        for (const ContactKeyChange& change : changes) {
            const std::string key = std::to_string(change.index);
            Written(change.text ? WriteKey(settingsPath, key.c_str(), *change.text, Contacts)
                                : WritePrivateProfileStringA(Contacts, key.c_str(), nullptr,
                                                             settingsPath.c_str()) != FALSE);
        }
        SetContactCount(static_cast<int>(entries.size()) - 1);
    });
}

void Settings::ClearContacts() const {
    Locked([this] {
        Written(WritePrivateProfileStringA(Contacts, nullptr, nullptr, settingsPath.c_str()) !=
                FALSE);
        SetContactCount(0);
    });
}

int Settings::FindContact(int index, const std::string& id) const {
    std::string text;
    const auto holds = [&](int i) { return ReadContact(i, text) && SplitContact(text).id == id; };
    if (holds(index)) {
        return index;
    }
    for (int i = 0, count = GetContactCount(); i < count; ++i) {
        if (holds(i)) {
            return i;
        }
    }
    return -1;
}

Draft Settings::ReadDraft() const {
    return {DecodeDraftValue(ReadKey(settingsPath, "Text", "", DraftSection)),
            DecodeDraftValue(ReadKey(settingsPath, "Recipients", "", DraftSection))};
}

void Settings::WriteDraft(const Draft& draft) const {
    bool written = true;
    // Its two keys go together: another window's draft is never half replaced by this one.
    Locked([&] {
        written = draft.Empty()
                      ? WritePrivateProfileStringA(DraftSection, nullptr, nullptr,
                                                   settingsPath.c_str()) != FALSE
                      : WriteKey(settingsPath, "Text", EncodeDraftValue(draft.text), DraftSection) &
                            WriteKey(settingsPath, "Recipients", EncodeDraftValue(draft.recipients),
                                     DraftSection);
    });
    // Told outside the lock: a toolbar that is closing tells it with a box it waits on.
    Written(written);
}
