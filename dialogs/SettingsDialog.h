#pragma once

#include "win/Dialog.h"

#include <functional>
#include <string_view>

class GatewayClient;
class Settings;

// "Nastavení": the user name, the e-mail address for delivery receipts and the three options.
// OK with the nickname option ticked asks the gateway whether the account has an active
// nickname; without one the option goes off and the portal's nickname page is offered.
class SettingsDialog : public Dialog {
public:
    // openPortalPage opens a page of the portal, by its action, in the browser.
    SettingsDialog(Settings& settings, GatewayClient& gateway,
                   std::function<void(std::string_view action)> openPortalPage, HWND parent);

    // IDOK with the values saved, IDCANCEL with nothing changed here (a password set
    // meanwhile stays saved).
    INT_PTR Run();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void Accept();
    // Asks the gateway for the account's nickname: the active one, or empty.
    std::string ActiveNick();
    bool Checked(int id) const;

    Settings& settings;
    GatewayClient& gateway;
    std::function<void(std::string_view)> openPortalPage;
    HWND owner;
    bool nickWarningDue = false;
};
