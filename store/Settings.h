#pragma once

#include "store/DraftText.h"

#include <array>
#include <functional>
#include <string>

// The toolbar's lasting state: account and options in settings.ini beside the module, and
// the read-only deployment keys of menu.ini in the same folder.
class Settings {
public:
    // Works out both file paths from the module's full path; reads nothing yet.
    explicit Settings(const std::string& modulePath);
    virtual ~Settings() = default;

    // Load takes the six account keys as settings.ini holds them now. Save writes only the keys
    // changed here since, so that it never puts back what another window saved meanwhile, and
    // takes the others as that window left them.
    void Load();
    void Save();

    // Runs the change with settings.ini held against every toolbar of the user, in this process
    // or another, 32-bit or 64-bit: what it reads is the file as it stands, and nobody writes
    // before it is done. A change may nest another.
    void Locked(const std::function<void()>& change) const;

    // The uninstaller program and its arguments, from menu.ini.
    void ReadUninstall(std::string& program, std::string& arguments) const;
    std::string ReadUpgrade() const;
    // Where the gateway and the portal are; the service's own addresses unless menu.ini
    // points the toolbar elsewhere.
    std::string ReadGateway() const;
    std::string ReadPortal() const;

    // Whole sections in the private-profile section form: every entry "key=value" ended by a
    // NUL. A missing file or section reads as an empty text; a write replaces the section.
    std::string ReadTextHistory() const;
    std::string ReadRecipientHistory() const;
    void WriteTextHistory(const std::string& section) const;
    void WriteRecipientHistory(const std::string& section) const;
    void ClearTextHistory() const;
    void ClearRecipientHistory() const;
    // The main menu's web items of menu.ini: "TextaroMenu" (label=address) and "MojeTextaro"
    // (label=portal action).
    std::string ReadMenuSection() const;
    std::string ReadMyMenuSection() const;

    // The address book, section "CONTACTS": "Count" entries under the keys "0", "1", ...,
    // each a contact's stored form (store/ContactRecord.h). An index below the count may be a
    // gap (absent or empty); keys at or above it are never read. The count read is never past
    // the highest entry key present (see ContactCountOf), whatever a damaged file says.
    int GetContactCount() const;
    void SetContactCount(int count) const;
    // The whole entry; false, with the text emptied, for a gap.
    bool ReadContact(int index, std::string& text) const;
    // Leaves the count alone.
    void WriteContact(int index, const std::string& text) const;
    // Removes entry k and moves every later entry down by one; gaps keep their places. An
    // index outside the count changes nothing.
    void DeleteContact(int k) const;
    // Removes every entry and sets the count to 0.
    void ClearContacts() const;
    // Where the entry with the id (its text before the first comma) is now: the index given
    // while it still holds it, else the first that does; -1 when none does.
    int FindContact(int index, const std::string& id) const;

    // The unsent message and recipients, section "Draft"; an empty draft removes the section.
    // The last window to write it wins.
    Draft ReadDraft() const;
    void WriteDraft(const Draft& draft) const;

    // Called with settings.ini's path whenever a write of it fails (the file or its folder
    // cannot be written), so that nothing is lost without the user knowing.
    std::function<void(const std::string& file)> onWriteFailure;

    std::string Nick;
    std::string UserName;
    std::string Pasword;
    std::string Email;
    int AutoRecack = 0;
    int WaitForDelivery = 0;
    std::string settingsPath;
    std::string menuPath;

private:
    using AccountValues = std::array<std::string, 6>;
    AccountValues Values() const;
    void Take(const AccountValues& values);
    void Written(bool written) const;

    std::string lockName;
    // The six keys' values as loaded or last saved, as Values gives them.
    AccountValues stored;
};
