#pragma once

#include "win/Dialog.h"

#include <string>

// "Upravit záznam kontaktu": the four texts of one contact, edited in place. The editor only
// edits: the caller sends the texts to the gateway and keeps them. A comma is refused here,
// because it would shift every later field of the stored record.
class ContactEditorDialog : public Dialog {
public:
    // The caller's texts, shown when the editor opens and overwritten only by OK.
    ContactEditorDialog(std::string& name, std::string& surname, std::string& phone,
                        std::string& email, HWND parent);

    // IDOK with the texts taken exactly as typed, IDCANCEL with the caller's texts untouched.
    INT_PTR Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void Accept();

    std::string& name;
    std::string& surname;
    std::string& phone;
    std::string& email;
};
