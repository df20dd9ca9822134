#include "store/Settings.h"

#include "store/ContactRecord.h"
#include "store/HistorySection.h"

#include <windows.h>

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

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

Settings::Settings(const std::string& modulePath)
    : settingsPath(FolderOf(modulePath) + "\\settings.ini"),
      menuPath(FolderOf(modulePath) + "\\menu.ini") {}

void Settings::Load() {
    UserName = ReadKey(settingsPath, "UserName");
    Nick = ReadKey(settingsPath, "Nick");
    Pasword = ReadKey(settingsPath, "Pasword");
    Email = ReadKey(settingsPath, "Email");
    AutoRecack = static_cast<int>(std::atol(ReadKey(settingsPath, "AutoRecack", "0").c_str()));
    WaitForDelivery =
        static_cast<int>(std::atol(ReadKey(settingsPath, "WaitForDelivery", "0").c_str()));
}

void Settings::Save() const {
    Written(WriteKey(settingsPath, "UserName", UserName) & WriteKey(settingsPath, "Nick", Nick) &
            WriteKey(settingsPath, "Pasword", Pasword) & WriteKey(settingsPath, "Email", Email) &
            WriteKey(settingsPath, "AutoRecack", std::to_string(AutoRecack)) &
            WriteKey(settingsPath, "WaitForDelivery", std::to_string(WaitForDelivery)));
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
}

void Settings::ClearContacts() const {
    Written(WritePrivateProfileStringA(Contacts, nullptr, nullptr, settingsPath.c_str()) != FALSE);
    SetContactCount(0);
}

Draft Settings::ReadDraft() const {
    return {DecodeDraftValue(ReadKey(settingsPath, "Text", "", DraftSection)),
            DecodeDraftValue(ReadKey(settingsPath, "Recipients", "", DraftSection))};
}

void Settings::WriteDraft(const Draft& draft) const {
    if (draft.Empty()) {
        Written(WritePrivateProfileStringA(DraftSection, nullptr, nullptr, settingsPath.c_str()) !=
                FALSE);
        return;
    }
    Written(WriteKey(settingsPath, "Text", EncodeDraftValue(draft.text), DraftSection) &
            WriteKey(settingsPath, "Recipients", EncodeDraftValue(draft.recipients), DraftSection));
}
