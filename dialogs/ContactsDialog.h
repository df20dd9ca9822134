#pragma once

#include "win/Dialog.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <string>

class GatewayClient;
class Settings;

// "Kontakty": the address book kept in step with the gateway, whose copy is the master.
// Every change goes to the server first; the local store changes only once the server has
// taken it, and a refused or failed request leaves the store and the list as they were.
class ContactsDialog : public Dialog {
public:
    ContactsDialog(Settings& settings, GatewayClient& gateway, HWND parent);

    void Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(NMHDR* header) override;

private:
    void CreateToolbar();
    // Rebuilds the rows from the store; each row carries the store index of its entry.
    void Fill();
    void Add();
    void Edit();
    void Delete();
    void Download();
    void EnableRowButtons(bool enabled);
    // The selected row, or -1.
    int SelectedRow() const;
    int StoreIndexOf(int row) const;
    int Say(const std::string& text, UINT style, const char* caption = nullptr) const;

    Settings& settings;
    GatewayClient& gateway;
    ImageListHandle images;
    Window toolbar;
};
