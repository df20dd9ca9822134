#include "dialogs/ContactEditorDialog.h"

#include "res/resource.h"
#include "win/Module.h"
#include "win/Text.h"

#include <array>
#include <utility>

ContactEditorDialog::ContactEditorDialog(std::string& name, std::string& surname,
                                         std::string& phone, std::string& email, HWND parent)
    : Dialog(IDD_CONTACT_EDITOR, parent, 0), name(name), surname(surname), phone(phone),
      email(email) {}

INT_PTR ContactEditorDialog::Run() {
    return RunModal();
}

bool ContactEditorDialog::OnInitDialog() {
    SetWindowTextA(Item(IDC_EDITOR_NAME), name.c_str());
    SetWindowTextA(Item(IDC_EDITOR_SURNAME), surname.c_str());
    SetWindowTextA(Item(IDC_EDITOR_PHONE), phone.c_str());
    SetWindowTextA(Item(IDC_EDITOR_EMAIL), email.c_str());
    return true;
}

bool ContactEditorDialog::OnCommand(int id, int) {
    switch (id) {
    case IDOK:
        Accept();
        return true;
    default:
        return false;
    }
}

void ContactEditorDialog::Accept() {
    const std::array<std::pair<int, std::string*>, 4> fields = {{{IDC_EDITOR_NAME, &name},
                                                                 {IDC_EDITOR_SURNAME, &surname},
                                                                 {IDC_EDITOR_PHONE, &phone},
                                                                 {IDC_EDITOR_EMAIL, &email}}};
    std::array<std::string, 4> typed;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        typed[i] = WindowText(Item(fields[i].first));
        if (typed[i].find(',') != std::string::npos) {
            MessageBoxA(Handle(),
                        "Jméno, příjmení, telefonní číslo ani e-mail nesmí obsahovat čárku.\n"
                        "Čárku prosím odstraňte nebo nahraďte jiným znakem.",
                        Module::Name().c_str(), MB_OK | MB_ICONERROR);
            SetFocus(Item(fields[i].first));
            return;
        }
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        *fields[i].second = std::move(typed[i]);
    }
    End(IDOK);
}
