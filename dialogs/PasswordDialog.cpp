#include "dialogs/PasswordDialog.h"

#include "gateway/Md5.h"
#include "res/resource.h"
#include "store/Settings.h"
#include "win/Text.h"

PasswordDialog::PasswordDialog(Settings& settings, HWND parent)
    : Dialog(IDD_PASSWORD, parent, 0), settings(settings) {}

INT_PTR PasswordDialog::Run() {
    settings.Load();
    return RunModal();
}

bool PasswordDialog::OnCommand(int id, int) {
    if (id == IDOK) {
        Accept();
        return true;
    }
    if (id == IDCANCEL) {
        WipeEdits();
        End(IDCANCEL);
        return true;
    }
    return false;
}

void PasswordDialog::Accept() {
    std::optional<std::string> password = SecretText(Item(IDC_PASSWORD_NEW));
    std::optional<std::string> confirmation = SecretText(Item(IDC_PASSWORD_CONFIRM));
    const char* refusal = nullptr;
    std::string digest;
    if (!password || !confirmation) {
        refusal = "Heslo obsahuje znak, který lišta neumí uložit (například řecké písmeno nebo "
                  "azbuku). Použijte písmena české abecedy, číslice a běžné znaky.";
    } else if (password->empty() && confirmation->empty()) {
        refusal = "Nelze nastavit prázdné heslo.";
    } else if (digest = Md5Hex(*password); digest != Md5Hex(*confirmation)) {
        refusal = "Potvrzení hesla není správné.";
    }
    for (std::optional<std::string>* secret : {&password, &confirmation}) {
        if (*secret) {
            Wipe(**secret);
        }
    }
    if (refusal) {
        // The user corrects what was typed: the edits keep it.
        MessageBoxA(Handle(), refusal, "Chyba", MB_OK | MB_ICONERROR);
        return;
    }
    WipeEdits();
    settings.Pasword = digest;
    settings.Save();
    End(IDOK);
}

void PasswordDialog::WipeEdits() const {
    for (int edit : {IDC_PASSWORD_NEW, IDC_PASSWORD_CONFIRM}) {
        WipeWindowText(Item(edit));
    }
}
