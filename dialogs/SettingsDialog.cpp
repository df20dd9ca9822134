#include "dialogs/SettingsDialog.h"

#include "dialogs/PasswordDialog.h"
#include "gateway/GatewayClient.h"
#include "res/resource.h"
#include "store/Settings.h"
#include "win/Module.h"
#include "win/Text.h"

SettingsDialog::SettingsDialog(Settings& settings, GatewayClient& gateway,
                               std::function<void(std::string_view)> openPortalPage, HWND parent)
    : Dialog(IDD_SETTINGS, parent, ICC_ANIMATE_CLASS), settings(settings), gateway(gateway),
      openPortalPage(std::move(openPortalPage)), owner(parent) {}

INT_PTR SettingsDialog::Run() {
    // Another window may have saved since this toolbar loaded its settings.
    settings.Load();
    const INT_PTR result = RunModal();
    if (result == IDOK && nickWarningDue) {
        MessageBoxA(owner, "Pro přezdívku na začátku zprávy musíte mít aktivovánu přezdívku.",
                    "Přezdívka na začátku", MB_OK | MB_ICONEXCLAMATION);
        if (openPortalPage) {
            openPortalPage("nick");
        }
    }
    return result;
}

bool SettingsDialog::OnInitDialog() {
    SetWindowTextA(Item(IDC_SETTINGS_USERNAME), settings.UserName.c_str());
    SetWindowTextA(Item(IDC_SETTINGS_EMAIL), settings.Email.c_str());
    const std::pair<int, bool> boxes[] = {{IDC_SETTINGS_NICK, !settings.Nick.empty()},
                                          {IDC_SETTINGS_RECEIPT, settings.AutoRecack == 1},
                                          {IDC_SETTINGS_REPLY, settings.WaitForDelivery == 1}};
    for (const auto& [id, ticked] : boxes) {
        CheckDlgButton(Handle(), id, ticked ? BST_CHECKED : BST_UNCHECKED);
    }
    SendMessageA(Item(IDC_SETTINGS_ANIMATION), ACM_OPENA,
                 reinterpret_cast<WPARAM>(Module::Instance()),
                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_PROGRESS_AVI)));
    return true;
}

bool SettingsDialog::OnCommand(int id, int) {
    switch (id) {
    case IDOK:
        Accept();
        return true;
    case IDC_SETTINGS_PASSWORD:
        PasswordDialog(settings, Handle()).Run();
        return true;
    default:
        return false;
    }
}

void SettingsDialog::Accept() {
    settings.UserName = WindowText(Item(IDC_SETTINGS_USERNAME));
    settings.Nick = Checked(IDC_SETTINGS_NICK) ? ActiveNick() : std::string();
    settings.Email = WindowText(Item(IDC_SETTINGS_EMAIL));
    settings.AutoRecack = Checked(IDC_SETTINGS_RECEIPT) ? 1 : 0;
    settings.WaitForDelivery = Checked(IDC_SETTINGS_REPLY) ? 1 : 0;
    settings.Save();
    End(IDOK);
}

std::string SettingsDialog::ActiveNick() {
    // The clip plays on its own while the request holds this thread.
    HWND animation = Item(IDC_SETTINGS_ANIMATION);
    SetWindowTextA(Handle(), "Probíhá zjišťování nastavení...");
    ShowWindow(animation, SW_SHOW);
    SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, -1));
    UpdateWindow(Handle());
    const GatewayReply reply = gateway.Info(settings.UserName, settings.Pasword);
    SetWindowTextA(Handle(), "Nastavení");
    ShowWindow(animation, SW_HIDE);
    SendMessageA(animation, ACM_STOP, 0, 0);

    if (!reply.Succeeded()) {
        const std::string text = "Chyba při komunikace se serverem:\n" + reply.FailureText();
        MessageBoxA(Handle(), text.c_str(), Module::Name().c_str(), MB_OK | MB_ICONERROR);
        return {};
    }
    if (reply.nick_active == "yes") {
        return reply.nick.value_or("");
    }
    nickWarningDue = true;
    return {};
}

bool SettingsDialog::Checked(int id) const {
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}
